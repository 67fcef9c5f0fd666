// The merge command: the records of a batch's parts (batch --part K/N, each run on its own,
// wherever) and their logbooks joined into one file in input order, as one batch over the
// whole input writes them, each record checked against its input line first.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/batch.hpp"
#include "request/request_json.hpp"

namespace cubega {

struct MergeOptions {
    std::filesystem::path input;               // the batch's whole input
    BatchDefaults defaults;                    // what the parts' command lines gave every line
    std::vector<std::filesystem::path> parts;  // the parts' records, in any order
    std::filesystem::path output;
    std::optional<LogSettings> log;  // the merged logbook; each part's stands beside the part
};

// The logbook beside a part's records, as cube-solver-report looks for it: the name with .log
// before its extension (part-1.jsonl: part-1.log.jsonl), or .log.csv for a CSV logbook.
std::filesystem::path logbookBeside(const std::filesystem::path& records, LogFormat format);

// Returns the exit status: 0 when merged; 2 when the parts are not the whole batch (each line
// with no record, two, or a record that its line does not ask for is named on `err`), and
// then nothing is written; 1 when a file cannot be read or written.
int runMerge(const MergeOptions& options, std::ostream& err);

}  // namespace cubega
