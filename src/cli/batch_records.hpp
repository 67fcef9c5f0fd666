// A batch's files read back: their complete lines, the input line each record or logbook row
// names, and whether a record answers its input line (the request it echoes, as the line asks
// it now). A batch that resumes and a merge of a batch's parts check their records alike.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "request/request_json.hpp"

namespace cubega {

// A complete line of a text (ended by a line break), without the break, and the offset after
// it.
struct TextLine {
    std::string_view text;
    std::size_t end = 0;
};

// The complete lines of a text; what follows the last line break (a line a kill cut short) is
// left out.
std::vector<TextLine> completeLines(std::string_view text);

// A line parsed as JSON; a discarded value when it is none.
nlohmann::json parsedLine(std::string_view text);

// The input line that a record or a JSON logbook row (parsed) names, if it names one.
std::optional<std::size_t> lineOfRecord(const nlohmann::json& json);

// The input line that a CSV logbook row names in its first field, if it names one.
std::optional<std::size_t> lineOfCsvRow(std::string_view text);

// What the record of an input line must echo of its request, as the line asks it now.
struct ExpectedRecord {
    nlohmann::ordered_json request;  // null for a line that holds no task
    bool comparesScramble = true;    // false for a random scramble of the real clocks
};
ExpectedRecord expectedRecordOf(std::string_view line, std::size_t number,
                                const BatchDefaults& defaults);

// The first way a record differs from what its line asks ("the record's seed is 12, the line
// asks 9"); none when it answers its line. A line that holds no task is answered by no record.
std::optional<std::string> recordMismatch(const nlohmann::json& record,
                                          const ExpectedRecord& expected);

}  // namespace cubega
