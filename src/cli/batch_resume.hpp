// A batch that resumes: what a killed run left in its output and its logbook, checked against
// the input, and cut back to the records and rows that are complete.
#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>

#include "cli/batch.hpp"

namespace cubega {

// Reads the complete records of `output` (a last line that a kill cut short is dropped, and the
// file is cut after the last complete record), checks each against its line of the input,
// read here from `in` (another scramble, seed or parameters on a line: UsageError), and cuts
// the logbook, if any, after the rows of those lines. Says how many input lines the records
// cover (`in` stands after them) and what status they give the batch. A missing output file
// resumes nothing. Of a part of the batch, the records are those of the part's lines.
struct ResumePoint {
    std::size_t linesDone = 0;
    int status = 0;  // the worst of the records kept, as the batch's exit status says it
};
ResumePoint resumeBatch(const std::filesystem::path& output, const std::optional<LogSettings>& log,
                        std::istream& in, const BatchDefaults& defaults,
                        const BatchPart& part = {});

// Of two statuses of a batch's records, the one the batch ends with: a fault of the program,
// then a line that failed, then a solve that its budget ended.
int worseBatchStatus(int a, int b);

// The next line of a batch's input, without its line end; a UTF-8 byte-order mark at the start
// of the input is skipped.
bool readBatchLine(std::istream& in, std::string& line, std::size_t lineNumber);

}  // namespace cubega
