#include "cli/batch_resume.hpp"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/batch_records.hpp"
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

void cutFile(const std::filesystem::path& path, std::size_t size) {
    std::error_code error;
    std::filesystem::resize_file(path, size, error);
    if (error) {
        throw RunError("cannot cut " + nameOf(path) +
                       " back to its complete lines: " + error.message());
    }
}

void checkRecord(const nlohmann::json& record, const ExpectedRecord& expected, std::size_t number,
                 const std::filesystem::path& output) {
    if (recordMismatch(record, expected)) {
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
                        std::istream& in, const BatchDefaults& defaults, const BatchPart& part) {
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
        if (!part.holds(*number)) {
            throw UsageError(nameOf(output) + " holds a record of line " + std::to_string(*number) +
                             ", which is not in part " + std::to_string(part.index) + "/" +
                             std::to_string(part.count) + ": it is not this part's output");
        }
        while (linesRead < *number) {
            if (!readBatchLine(in, inputLine, linesRead + 1)) {
                throw UsageError(nameOf(output) + " holds a record of line " +
                                 std::to_string(*number) + ", but the input has only " +
                                 std::to_string(linesRead) + " lines");
            }
            ++linesRead;
            if (linesRead < *number && part.holds(linesRead) &&
                !std::holds_alternative<NoTask>(parseBatchLine(inputLine, linesRead, defaults))) {
                throw UsageError(nameOf(output) + " has no record of line " +
                                 std::to_string(linesRead) + ": it is not this batch's output");
            }
        }
        checkRecord(record, expectedRecordOf(inputLine, *number, defaults), *number, output);
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
