#include "cli/command_line.hpp"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch.hpp"
#include "cli/batch_part.hpp"
#include "cli/merge.hpp"
#include "cli/progress_bar.hpp"
#include "request/logbook_text.hpp"
#include "request/request_fields.hpp"
#include "request/request_rules.hpp"
#include "request/result_json.hpp"
#include "request/solve_engine.hpp"
#include "run/results_log.hpp"
#include "run/run_error.hpp"
#include "run/text_file.hpp"

#ifndef CUBEGA_VERSION
#define CUBEGA_VERSION "unknown"
#endif

namespace cubega {

namespace {

// A file name as the command line gives it: UTF-8 (see main), which a path spells on every
// system.
std::filesystem::path pathOf(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

// The options of the request's fields, as CLI11 parses them: what each was given. Its members
// are bound by address, so it stays where it is made.
class FieldOptions {
  public:
    FieldOptions() = default;
    FieldOptions(const FieldOptions&) = delete;
    FieldOptions& operator=(const FieldOptions&) = delete;

    void add(CLI::App& command, const RequestField& field, const std::string& help) {
        const auto i = static_cast<std::size_t>(field.id);
        std::string names(field.option);
        if (!field.shortOption.empty()) {
            names = std::string(field.shortOption) + "," + names;
        }
        switch (field.kind) {
            case FieldKind::wholeNumber:
                command.add_option(names, wholes_[i], help)
                    ->type_name(std::string(field.valueName));
                break;
            case FieldKind::realNumber:
                command.add_option(names, reals_[i], help)->type_name(std::string(field.valueName));
                break;
            case FieldKind::flag:
                command.add_flag(names, flags_[i], help);
                break;
            case FieldKind::text:
                command.add_option(names, texts_[i], help)->type_name(std::string(field.valueName));
                break;
        }
    }

    RequestValues values() const {
        RequestValues values;
        for (const RequestField& field : requestFields()) {
            const auto i = static_cast<std::size_t>(field.id);
            if (wholes_[i]) {
                values.set(field.id, *wholes_[i]);
            } else if (reals_[i]) {
                values.set(field.id, *reals_[i]);
            } else if (flags_[i]) {
                values.set(field.id, true);
            } else if (texts_[i]) {
                values.set(field.id, *texts_[i]);
            }
        }
        return values;
    }

  private:
    std::array<std::optional<std::int64_t>, kFieldCount> wholes_;
    std::array<std::optional<double>, kFieldCount> reals_;
    std::array<bool, kFieldCount> flags_{};
    std::array<std::optional<std::string>, kFieldCount> texts_;
};

// A field's help with its range and default: "rows of every population, N (2 to 4096,
// default 51)".
std::string fieldHelp(const RequestField& field) {
    std::string facts = rangeText(field);
    const FieldValue byDefault = field.defaultValue();
    if (field.kind != FieldKind::flag && !std::holds_alternative<std::monostate>(byDefault)) {
        facts += (facts.empty() ? "default " : ", default ") + valueText(byDefault);
    }
    std::string help(field.help);
    if (field.group == FieldGroup::budget) {
        help += " (exit status 4)";
    }
    if (!facts.empty()) {
        help += " (" + facts + ")";
    }
    return help;
}

// What solve and batch share: the request's fields and the logbook's file.
struct CommonOptions {
    FieldOptions fields;
    std::optional<std::string> log;
    std::string logFormat = "jsonl";
    std::int64_t jobs = static_cast<std::int64_t>(processorsAvailable());

    // The fields' values, the logbook kept when it has a file.
    RequestValues values() const {
        RequestValues values = fields.values();
        if (log) {
            values.set(FieldId::log, true);
        }
        return values;
    }
    std::optional<LogSettings> logSettings() const {
        if (!log) {
            return std::nullopt;
        }
        return LogSettings{pathOf(*log),
                           logFormat == "csv" ? LogFormat::csv : LogFormat::jsonLines};
    }
};

struct SolveOptions {
    std::vector<std::string> moves;
    bool builtIn = false;
    std::string format = "text";
    std::optional<std::string> results;
    bool quiet = false;
    CommonOptions common;
};

struct BatchCommandOptions {
    std::string input = "-";
    std::optional<std::string> output;
    bool resume = false;
    std::optional<std::string> part;
    CommonOptions common;
};

struct MergeCommandOptions {
    std::string input;
    std::vector<std::string> parts;
    std::string output;
    CommonOptions common;
};

// The batch's defaults of the command line's options, each value checked once, as an option:
// the search's values and the logbook's, and the seed S (line k gets S + k).
BatchDefaults batchDefaultsOf(const CommonOptions& options) {
    RequestValues values = options.values();
    SolveTask checked;
    applyValues(checked, values, Spelling::option);
    BatchDefaults defaults;
    defaults.seed = checked.seed;
    values.set(FieldId::seed, std::monostate{});
    defaults.values = values;
    return defaults;
}

SolveTask taskOf(const SolveOptions& options) {
    RequestValues values = options.common.values();
    checkOneScramble(
        values.scrambleSources() + (options.moves.empty() ? 0 : 1) + (options.builtIn ? 1 : 0),
        Spelling::option);
    if (!options.moves.empty()) {
        std::string text;
        for (const std::string& token : options.moves) {
            text += (text.empty() ? "" : " ") + token;
        }
        values.set(FieldId::scramble, text);
    }
    SolveTask task;
    if (options.builtIn) {
        task.source = SolveTask::Source::builtIn;
    }
    applyValues(task, values, Spelling::option);
    return task;
}

// Solves the task: one try here, with a progress bar and the logbook written as it goes;
// several side by side on `jobs` threads.
TaskOutcome solveTask(const SolveTask& task, const SolveOptions& options, std::size_t jobs,
                      CommandLineStreams& streams, ResultsLog* log) {
    if (task.tries > 1) {
        return runTries(task, jobs, log, streams.solve);
    }
    std::optional<LogSettings> logSettings = options.common.logSettings();
    std::optional<TextFile> logbookFile;
    std::optional<FileLogbook> logbook;
    if (logSettings) {
        logbookFile.emplace(logSettings->path, TextFile::Mode::create);
        logbookFile->write(logbookHeader(logSettings->format, false));
        logbook.emplace(*logbookFile, logSettings->format, task.logEvery);
    }
    std::optional<ProgressBar> progress;
    if (streams.errIsTerminal && !options.quiet) {
        progress.emplace(streams.err);
    }
    SolveListeners listeners{progress ? &*progress : nullptr, logbook ? &*logbook : nullptr};
    TaskServices services;
    services.resultsLog = log;
    services.listener = &listeners;
    services.solve = streams.solve;
    TaskOutcome outcome = runTask(task, services);
    progress.reset();
    if (logbookFile) {
        logbookFile->close();
    }
    return outcome;
}

int runSolve(const SolveOptions& options, CommandLineStreams& streams) {
    const SolveTask task = taskOf(options);
    const auto jobs =
        static_cast<std::size_t>(checkedWholeNumber(kJobsOption, options.common.jobs));
    return exitStatusOf(
        [&] {
            std::optional<ResultsLog> log;
            if (options.results) {
                log.emplace(pathOf(*options.results));
            }
            const TaskOutcome outcome =
                solveTask(task, options, jobs, streams, log ? &*log : nullptr);
            writeOutput(streams.out, options.format == "json"
                                         ? resultJson(task, outcome).dump() + "\n"
                                         : resultText(task, outcome));
            if (!outcome.result.solved()) {
                throw NotSolved("the budget ended the search in " +
                                stopPointText(*outcome.result.stoppedAt));
            }
            if (!outcome.result.selfCheckPassed) {
                throw InternalFault("the solution does not solve the scrambled cube");
            }
        },
        streams.err);
}

int runBatchCommand(const BatchCommandOptions& options, CommandLineStreams& streams) {
    BatchOptions batch;
    batch.defaults = batchDefaultsOf(options.common);
    if (options.part) {
        batch.part = batchPartOf(*options.part);
    }
    batch.jobs = static_cast<std::size_t>(checkedWholeNumber(kJobsOption, options.common.jobs));
    batch.solve = streams.solve;
    batch.log = options.common.logSettings();
    if (options.output) {
        batch.output = pathOf(*options.output);
    } else if (options.resume) {
        throw UsageError("--resume needs --output FILE, the records to resume");
    }
    batch.resume = options.resume;
    if (options.input == "-") {
        return runBatch(streams.in, streams.out, streams.err, batch);
    }
    std::ifstream file(pathOf(options.input), std::ios::binary);
    if (!file) {
        streams.err << "cube-solver: cannot open " << options.input << ": " << std::strerror(errno)
                    << '\n';
        return kStatusStopped;
    }
    return runBatch(file, streams.out, streams.err, batch);
}

int runMergeCommand(const MergeCommandOptions& options, CommandLineStreams& streams) {
    MergeOptions merge;
    merge.input = pathOf(options.input);
    merge.defaults = batchDefaultsOf(options.common);
    for (const std::string& part : options.parts) {
        merge.parts.push_back(pathOf(part));
    }
    merge.output = pathOf(options.output);
    merge.log = options.common.logSettings();
    return runMerge(merge, streams.err);
}

// The search's fields (its values, what may end a solve, the tries) and the logbook's.
void addSearchOptions(CLI::App& command, CommonOptions& options, bool batch) {
    for (const RequestField& field : requestFields()) {
        if (field.group == FieldGroup::search || field.group == FieldGroup::budget ||
            field.group == FieldGroup::tries) {
            options.fields.add(command, field, fieldHelp(field));
        }
    }
    command
        .add_option(std::string(requestField(FieldId::log).option), options.log,
                    batch ? "write the logbook of every search to FILE, each row with its line"
                          : "write the logbook of every search to FILE")
        ->type_name("FILE");
    options.fields.add(command, requestField(FieldId::logEvery),
                       fieldHelp(requestField(FieldId::logEvery)));
    command.add_option("--log-format", options.logFormat, "jsonl (default) or csv")
        ->check(CLI::IsMember({"jsonl", "csv"}))
        ->type_name("FORMAT");
}

void addSolveOptions(CLI::App& command, SolveOptions& options) {
    command.add_option("moves", options.moves,
                       "the scramble in standard notation, e.g. R U2 F' (blank-separated)");
    for (const FieldId id : {FieldId::scramble, FieldId::random}) {
        options.common.fields.add(command, requestField(id), fieldHelp(requestField(id)));
    }
    command.add_flag("--default", options.builtIn, "the built-in 37-move scramble");
    for (const FieldId id : {FieldId::facelets, FieldId::seed}) {
        options.common.fields.add(command, requestField(id), fieldHelp(requestField(id)));
    }
    command.add_option("--format", options.format, "text (default) or json")
        ->check(CLI::IsMember({"text", "json"}))
        ->type_name("FORMAT");
    command.add_option("--results", options.results, "also write the results log to FILE")
        ->type_name("FILE");
    command
        .add_option("--jobs", options.common.jobs,
                    "tries at once, one thread each (default: the processors available)")
        ->type_name("N");
    addSearchOptions(command, options.common, false);
    command.add_flag("--quiet", options.quiet, "no progress on a terminal's error stream");
}

void addBatchOptions(CLI::App& command, BatchCommandOptions& options) {
    command
        .add_option("input", options.input,
                    "a file of scrambles, one a line (standard notation, or a JSON object "
                    "{\"scramble\": ..., \"generations\": ..., \"seed\": ...} with any of "
                    "the options below as keys in camelCase); - or none for standard input")
        ->type_name("FILE");
    options.common.fields.add(command, requestField(FieldId::seed),
                              "line k (from 1) gets seed S + k where it names none");
    command
        .add_option("--jobs", options.common.jobs,
                    "solves at once, one thread each, a line's tries side by side too (default: "
                    "the processors available)")
        ->type_name("N");
    command
        .add_option("--output", options.output,
                    "write the records to FILE, each flushed as it is written")
        ->type_name("FILE");
    command.add_flag("--resume", options.resume,
                     "keep the complete records already in the --output FILE (and the --log "
                     "FILE), and solve only the lines after them");
    command
        .add_option("--part", options.part,
                    "solve part K of N of the input: lines K, K + N, K + 2N, ... (every line "
                    "counted), each keeping its line number and seed; cube-solver merge joins "
                    "the parts")
        ->type_name("K/N");
    addSearchOptions(command, options.common, true);
    command.footer(
        "The search's options give their values to every line that names none: a JSON line's "
        "keys are the options' names in camelCase (--mutation-rate: \"mutationRate\").");
}

void addMergeOptions(CLI::App& command, MergeCommandOptions& options) {
    command.add_option("parts", options.parts, "the parts' records (batch --part K/N --output)")
        ->type_name("PART")
        ->required();
    command.add_option("--input", options.input, "the batch's input, which the parts split")
        ->type_name("FILE")
        ->required();
    command.add_option("--output", options.output, "write the merged records to FILE")
        ->type_name("FILE")
        ->required();
    options.common.fields.add(command, requestField(FieldId::seed),
                              "as the parts had it: line k asks seed S + k");
    addSearchOptions(command, options.common, true);
    command.get_option("--log")->description(
        "merge the parts' logbooks into FILE: each part's is the file beside it with .log "
        "before the extension (part-1.jsonl: part-1.log.jsonl; .log.csv with --log-format csv)");
    command.get_option("--log-every")->description("as the parts had it (no effect here)");
    command.footer(
        "The merged records are those one batch over the whole input writes, in input order, "
        "and so are the logbook's rows. Each record is checked against its input line first, "
        "as --resume checks it: the search's options and --seed, as the parts had them, say "
        "what each line asks. A line with no record, with two, or with a record of another "
        "scramble, seed or parameters is named on the error stream (\"line 7: no record\"), "
        "as is a part whose last line a kill cut short; then nothing is written.\n\nExit "
        "status: 0 merged, 1 a file could not be read or written, 2 usage error, or parts that "
        "are not the whole batch.");
}

}  // namespace

int runCommandLine(int argc, const char* const* argv, CommandLineStreams& streams) {
    CLI::App app{
        "Solves a scrambled 3x3x3 cube with a genetic search. Without arguments it "
        "asks for a scramble at the console.",
        "cube-solver"};
    app.set_version_flag("--version", std::string("cube-solver ") + CUBEGA_VERSION);
    app.require_subcommand(1, 1);
    app.footer(
        "Exit status: 0 done, 1 orderly stop (input or output failed, a batch line failed), "
        "2 usage error, 3 a solution failed its own check, 4 a budget ended a solve before "
        "its cube was solved.");
    SolveOptions solveOptions;
    CLI::App* solveCommand = app.add_subcommand("solve", "solve one scramble");
    addSolveOptions(*solveCommand, solveOptions);
    BatchCommandOptions batchOptions;
    CLI::App* batchCommand =
        app.add_subcommand("batch", "solve one scramble a line, writing a JSON record each");
    addBatchOptions(*batchCommand, batchOptions);
    MergeCommandOptions mergeOptions;
    CLI::App* mergeCommand = app.add_subcommand(
        "merge", "join the records of a batch's parts (batch --part K/N), checked, in input order");
    addMergeOptions(*mergeCommand, mergeOptions);
    try {
        app.parse(argc, argv);
        if (mergeCommand->parsed()) {
            return runMergeCommand(mergeOptions, streams);
        }
        return solveCommand->parsed() ? runSolve(solveOptions, streams)
                                      : runBatchCommand(batchOptions, streams);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0) {  // --help, --version
            return app.exit(error, streams.out, streams.err);
        }
        streams.err << "cube-solver: " << error.what() << "\n"
                    << "Run cube-solver --help for the commands and their options.\n";
        return kStatusUsage;
    } catch (const UsageError& error) {
        streams.err << "cube-solver: " << error.what() << '\n';
        return kStatusUsage;
    }
}

}  // namespace cubega
