#include "cli/merge.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/batch_records.hpp"
#include "cli/batch_resume.hpp"
#include "run/run_error.hpp"
#include "run/text_file.hpp"

namespace cubega {

namespace {

// Past this many, the problems are only counted: parts of another study would otherwise name
// every line of the input.
constexpr std::size_t kProblemsShown = 20;

std::string nameOf(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return {name.begin(), name.end()};
}

std::string contentsOf(const std::filesystem::path& path, const std::string& what = "") {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw RunError("cannot read " + nameOf(path) + what + ": " + std::strerror(errno));
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> inputLinesOf(const std::filesystem::path& path) {
    std::istringstream text(contentsOf(path));
    std::vector<std::string> lines;
    for (std::string line; readBatchLine(text, line, lines.size() + 1);) {
        lines.push_back(std::move(line));
    }
    return lines;
}

// "a", "a and b", "a, b and c".
std::string listOf(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

// Files written whole under other names, which take their own names once all are written: a
// merge that fails on the way leaves neither the records nor the logbook.
class WholeFiles {
  public:
    WholeFiles() = default;
    WholeFiles(const WholeFiles&) = delete;
    WholeFiles& operator=(const WholeFiles&) = delete;
    ~WholeFiles() {
        for (const auto& [partial, path] : written_) {
            std::error_code ignored;
            std::filesystem::remove(partial, ignored);
        }
    }

    void write(const std::filesystem::path& path, const std::string& text) {
        std::filesystem::path partial = path;
        partial += ".merging";
        written_.emplace_back(partial, path);
        TextFile file(partial, TextFile::Mode::create);
        file.write(text);
        file.close();
    }

    void name() {
        for (const auto& [partial, path] : written_) {
            std::error_code error;
            std::filesystem::rename(partial, path, error);
            if (error) {
                throw RunError("cannot name " + nameOf(partial) + " " + nameOf(path) + ": " +
                               error.message());
            }
        }
        written_.clear();
    }

  private:
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> written_;
};

// A part's files, read whole; its records and rows are views into them.
struct Part {
    std::filesystem::path path;
    std::string records;
    std::filesystem::path logbookPath;
    std::string logbook;
};

// What the parts hold of one input line.
struct LineFound {
    std::vector<std::string_view> records;
    std::vector<std::size_t> recordParts;
    std::string rows;
    bool troubled = false;  // a problem is named for it already
};

class Merge {
  public:
    explicit Merge(const MergeOptions& options)
        : options_(options), input_(inputLinesOf(options.input)), parts_(options.parts.size()) {
        for (std::size_t p = 0; p < parts_.size(); ++p) {
            parts_[p].path = options.parts[p];
            parts_[p].records = contentsOf(parts_[p].path);
            if (options.log) {
                parts_[p].logbookPath = logbookBeside(parts_[p].path, options.log->format);
                parts_[p].logbook = contentsOf(parts_[p].logbookPath,
                                               " (the logbook of " + nameOf(parts_[p].path) + ")");
            }
        }
    }

    // Names every line that is missing, repeated or foreign; none when the parts make the
    // whole batch.
    std::vector<std::string> problems() {
        for (std::size_t p = 0; p < parts_.size(); ++p) {
            collectRecords(p);
        }
        checkLines();
        if (options_.log) {
            for (std::size_t p = 0; p < parts_.size(); ++p) {
                collectRows(p);
            }
        }
        return problems_;
    }

    // The records, and the rows, in input order.
    void write() const {
        std::string records;
        std::string rows = options_.log ? logbookHeader(options_.log->format, true) : "";
        for (const auto& [number, found] : lines_) {
            records.append(found.records.front()).append("\n");
            rows += found.rows;
        }
        WholeFiles files;
        if (options_.log) {
            files.write(options_.log->path, rows);
        }
        files.write(options_.output, records);
        files.name();
    }

  private:
    void collectRecords(std::size_t p) {
        const Part& part = parts_[p];
        const std::vector<TextLine> lines = completeLines(part.records);
        checkComplete(part.path, part.records, lines);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::optional<std::size_t> number = lineOfRecord(parsedLine(lines[i].text));
            if (!number || *number == 0) {
                problems_.push_back(nameOf(part.path) + ": line " + std::to_string(i + 1) +
                                    " is not a record of a batch");
                continue;
            }
            lines_[*number].records.push_back(lines[i].text);
            lines_[*number].recordParts.push_back(p);
        }
    }

    void checkComplete(const std::filesystem::path& path, std::string_view text,
                       const std::vector<TextLine>& lines) {
        if (text.size() > (lines.empty() ? 0 : lines.back().end)) {
            problems_.push_back(nameOf(path) +
                                ": its last line is cut short (a run was killed while it wrote "
                                "it: --resume that part)");
        }
    }

    // Every line that holds a task has one record, which answers it; every record is of such a
    // line.
    void checkLines() {
        for (std::size_t number = 1; number <= input_.size(); ++number) {
            const ExpectedRecord expected =
                expectedRecordOf(input_[number - 1], number, options_.defaults);
            const auto found = lines_.find(number);
            const std::size_t count = found == lines_.end() ? 0 : found->second.records.size();
            if (expected.request.is_null() && count == 0) {
                continue;
            }
            std::string problem;
            if (count == 0) {
                problem = "no record";
            } else if (expected.request.is_null()) {
                problem =
                    "a record in " + partNames(found->second) + ", but the line holds no task";
            } else if (count > 1) {
                problem = (count == 2 ? std::string("two") : std::to_string(count)) +
                          " records, in " + partNames(found->second);
            } else if (const auto mismatch =
                           recordMismatch(parsedLine(found->second.records.front()), expected)) {
                problem = *mismatch;
            }
            lineProblem(number, problem);
        }
        for (auto at = lines_.upper_bound(input_.size()); at != lines_.end(); ++at) {
            lineProblem(at->first, "a record in " + partNames(at->second) +
                                       ", but the input has only " + std::to_string(input_.size()) +
                                       " lines");
        }
    }

    // Names a line's problem; an empty text is none.
    void lineProblem(std::size_t number, const std::string& problem) {
        if (!problem.empty()) {
            problems_.push_back("line " + std::to_string(number) + ": " + problem);
            lines_[number].troubled = true;
        }
    }

    std::string partNames(const LineFound& found) const {
        std::vector<std::string> names;
        for (const std::size_t p : found.recordParts) {
            names.push_back(nameOf(parts_[p].path));
        }
        return listOf(names);
    }

    // The rows of each line go with its record: they must stand beside it, in its part.
    void collectRows(std::size_t p) {
        const Part& part = parts_[p];
        const bool csv = options_.log->format == LogFormat::csv;
        const std::vector<TextLine> lines = completeLines(part.logbook);
        checkComplete(part.logbookPath, part.logbook, lines);
        const std::string header = logbookHeader(options_.log->format, true);
        if (csv && (lines.empty() || std::string(lines[0].text) + "\n" != header)) {
            problems_.push_back(nameOf(part.logbookPath) +
                                ": its first line is not the logbook's CSV header");
            return;
        }
        for (std::size_t i = csv ? 1 : 0; i < lines.size(); ++i) {
            const std::optional<std::size_t> number =
                csv ? lineOfCsvRow(lines[i].text) : lineOfRecord(parsedLine(lines[i].text));
            if (!number || *number == 0) {
                problems_.push_back(nameOf(part.logbookPath) + ": line " + std::to_string(i + 1) +
                                    " is not a logbook row of a batch");
                continue;
            }
            LineFound& found = lines_[*number];
            if (found.troubled) {
                continue;
            }
            if (found.records.empty() || found.recordParts.front() != p) {
                lineProblem(*number, "logbook rows in " + nameOf(part.logbookPath) +
                                         ", but its record is not in " + nameOf(part.path));
                continue;
            }
            found.rows.append(lines[i].text).append("\n");
        }
    }

    const MergeOptions& options_;
    std::vector<std::string> input_;
    std::vector<Part> parts_;  // sized once: the views below point into its texts
    std::map<std::size_t, LineFound> lines_;
    std::vector<std::string> problems_;
};

// A file the merge writes must not be one it reads.
void checkNotRead(const std::filesystem::path& written, const MergeOptions& options,
                  const std::string& option) {
    std::vector<std::filesystem::path> read{options.input};
    for (const std::filesystem::path& part : options.parts) {
        read.push_back(part);
        if (options.log) {
            read.push_back(logbookBeside(part, options.log->format));
        }
    }
    std::error_code error;
    for (const std::filesystem::path& path : read) {
        if (std::filesystem::equivalent(written, path, error)) {
            throw UsageError(option + " " + nameOf(written) + " is a file the merge reads (" +
                             nameOf(path) + ")");
        }
    }
}

void merge(const MergeOptions& options, std::ostream& err) {
    checkNotRead(options.output, options, "--output");
    if (options.log) {
        checkNotRead(options.log->path, options, "--log");
    }
    Merge merged(options);
    const std::vector<std::string> problems = merged.problems();
    for (std::size_t i = 0; i < problems.size() && i < kProblemsShown; ++i) {
        err << "cube-solver: " << problems[i] << '\n';
    }
    if (problems.size() > kProblemsShown) {
        err << "cube-solver: ... and " << problems.size() - kProblemsShown << " more\n";
    }
    if (!problems.empty()) {
        throw UsageError("the parts are not the whole batch of " + nameOf(options.input) +
                         ": nothing was written");
    }
    merged.write();
}

}  // namespace

std::filesystem::path logbookBeside(const std::filesystem::path& records, LogFormat format) {
    std::filesystem::path logbook = records;
    logbook.replace_extension(".log");
    logbook += format == LogFormat::csv ? std::filesystem::path(".csv") : records.extension();
    return logbook;
}

int runMerge(const MergeOptions& options, std::ostream& err) {
    return exitStatusOf([&] { merge(options, err); }, err);
}

}  // namespace cubega
