#include "cli/batch_resume.hpp"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "request/result_json.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

std::string nameOf(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw RunError("cannot open " + nameOf(path) + " to resume");
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The complete lines of a text (each ended by a line break) with the offset after each.
struct TextLine {
    std::string_view text;
    std::size_t end = 0;
};

std::vector<TextLine> completeLines(std::string_view text) {
    std::vector<TextLine> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', start)) {
        lines.push_back({text.substr(start, at - start), at + 1});
        start = at + 1;
    }
    return lines;
}

void cutFile(const std::filesystem::path& path, std::size_t size) {
    std::error_code error;
    std::filesystem::resize_file(path, size, error);
    if (error) {
        throw RunError("cannot cut " + nameOf(path) +
                       " back to its complete lines: " + error.message());
    }
}

// The line number a record or a logbook row (parsed, a discarded value when it was no JSON)
// names, if it is one that was written whole.
std::optional<std::size_t> lineOfRecord(const nlohmann::json& json) {
    if (json.is_discarded() || !json.is_object() || !json.contains("line") ||
        !json["line"].is_number_unsigned()) {
        return std::nullopt;
    }
    return json["line"].get<std::size_t>();
}

nlohmann::json parsedLine(std::string_view text) {
    return nlohmann::json::parse(text, nullptr, false);
}

std::optional<std::size_t> lineOfCsvRow(std::string_view text) {
    const std::string field(text.substr(0, text.find(',')));
    if (field.empty() || field.find_first_not_of("0123456789") != std::string::npos ||
        field.size() > 18) {
        return std::nullopt;
    }
    return std::stoull(field);
}

// What a record of input line `number` must say of its request, as the line asks it now.
nlohmann::ordered_json expectedRequest(std::string_view line, std::size_t number,
                                       const BatchDefaults& defaults, bool& comparesScramble) {
    const BatchLine parsed = parseBatchLine(line, number, defaults);
    if (const auto* error = std::get_if<LineError>(&parsed)) {
        return errorJson(error->message, number);
    }
    if (std::holds_alternative<NoTask>(parsed)) {
        return nullptr;
    }
    const SolveTask& task = std::get<SolveTask>(parsed);
    const std::optional<TaskScramble> scramble = reproducibleScrambleOf(task);
    comparesScramble = scramble.has_value();
    return requestJson(task, scramble.value_or(TaskScramble{}), number);
}

void checkRecord(const nlohmann::json& record, const nlohmann::ordered_json& expected,
                 bool comparesScramble, std::size_t number, const std::filesystem::path& output) {
    bool belongs = !expected.is_null();
    if (belongs) {
        for (const auto& [key, value] : expected.items()) {
            if (key == "scramble" && !comparesScramble) {
                continue;
            }
            belongs = belongs && record.contains(key) && record[key] == nlohmann::json(value);
        }
    }
    if (!belongs) {
        throw UsageError(nameOf(output) + " holds a record of line " + std::to_string(number) +
                         " that this input does not ask for (another scramble, seed or "
                         "parameters): it is not this batch's output");
    }
}

void cutLogbook(const LogSettings& log, std::size_t linesDone) {
    if (!std::filesystem::exists(log.path)) {
        return;
    }
    const std::string text = contentsOf(log.path);
    const std::vector<TextLine> lines = completeLines(text);
    std::size_t keep = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (log.format == LogFormat::csv && i == 0) {
            keep = lines[i].end;  // the header
            continue;
        }
        const auto line = log.format == LogFormat::csv ? lineOfCsvRow(lines[i].text)
                                                       : lineOfRecord(parsedLine(lines[i].text));
        if (!line || *line > linesDone) {
            break;
        }
        keep = lines[i].end;
    }
    cutFile(log.path, keep);
}

// The status a record gives its batch.
int statusOfRecord(const nlohmann::json& record) {
    if (record.contains("error")) {
        return kStatusStopped;
    }
    if (record.value("solved", true) == false) {
        return kStatusNotSolved;
    }
    return record.value("selfCheck", true) ? kStatusDone : kStatusInternalFault;
}

}  // namespace

bool readBatchLine(std::istream& in, std::string& line, std::size_t lineNumber) {
    if (!std::getline(in, line)) {
        return false;
    }
    if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) {
        line.erase(0, 3);
    }
    return true;
}

int worseBatchStatus(int a, int b) {
    for (const int status : {kStatusInternalFault, kStatusStopped, kStatusNotSolved}) {
        if (a == status || b == status) {
            return status;
        }
    }
    return kStatusDone;
}

ResumePoint resumeBatch(const std::filesystem::path& output, const std::optional<LogSettings>& log,
                        std::istream& in, const BatchDefaults& defaults) {
    ResumePoint point;
    if (!std::filesystem::exists(output)) {
        return point;
    }
    const std::string text = contentsOf(output);
    const std::vector<TextLine> lines = completeLines(text);
    std::size_t keep = 0;
    std::size_t linesRead = 0;
    std::string inputLine;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const nlohmann::json record = parsedLine(lines[i].text);
        const std::optional<std::size_t> number = lineOfRecord(record);
        if (!number) {
            if (i + 1 == lines.size()) {
                break;  // a last record that the kill cut short: solved again
            }
            throw UsageError(nameOf(output) + ": line " + std::to_string(i + 1) +
                             " is not a record of a batch");
        }
        if (*number <= linesRead) {
            throw UsageError(nameOf(output) + ": its records are not in input order");
        }
        while (linesRead < *number) {
            if (!readBatchLine(in, inputLine, linesRead + 1)) {
                throw UsageError(nameOf(output) + " holds a record of line " +
                                 std::to_string(*number) + ", but the input has only " +
                                 std::to_string(linesRead) + " lines");
            }
            ++linesRead;
            if (linesRead < *number &&
                !std::holds_alternative<NoTask>(parseBatchLine(inputLine, linesRead, defaults))) {
                throw UsageError(nameOf(output) + " has no record of line " +
                                 std::to_string(linesRead) + ": it is not this batch's output");
            }
        }
        bool comparesScramble = true;
        const nlohmann::ordered_json expected =
            expectedRequest(inputLine, *number, defaults, comparesScramble);
        checkRecord(record, expected, comparesScramble, *number, output);
        keep = lines[i].end;
        point.status = worseBatchStatus(point.status, statusOfRecord(record));
    }
    cutFile(output, keep);
    if (log) {
        cutLogbook(*log, linesRead);
    }
    point.linesDone = linesRead;
    return point;
}

}  // namespace cubega
