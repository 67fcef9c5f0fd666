#include "cli/command_line.hpp"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/batch.hpp"
#include "cli/merge.hpp"
#include "cli/progress_bar.hpp"
#include "cli/tries.hpp"
#include "request/logbook_text.hpp"
#include "request/request_rules.hpp"
#include "request/result_json.hpp"
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

// What solve and batch share: the search's values and the logbook.
struct SearchOptions {
    SearchValues values;
    std::optional<std::string> log;
    std::optional<std::int64_t> logEvery;
    std::string logFormat = "jsonl";
    bool quiet = false;
};

struct SolveOptions {
    std::int64_t jobs = std::max(1U, std::thread::hardware_concurrency());
    std::vector<std::string> moves;
    std::optional<std::string> scramble;
    std::optional<std::int64_t> random;
    bool builtIn = false;
    std::optional<std::string> facelets;
    std::optional<std::int64_t> seed;
    std::string format = "text";
    std::optional<std::string> results;
    SearchOptions search;
};

struct BatchCommandOptions {
    std::string input = "-";
    std::optional<std::int64_t> seed;
    std::int64_t jobs = std::max(1U, std::thread::hardware_concurrency());
    std::optional<std::string> output;
    bool resume = false;
    std::optional<std::string> part;
    SearchOptions search;
};

struct MergeCommandOptions {
    std::string input;
    std::vector<std::string> parts;
    std::optional<std::int64_t> seed;
    std::string output;
    SearchOptions search;
};

// The logbook's settings, checked; none without --log.
std::optional<LogSettings> logSettingsOf(const SearchOptions& options) {
    if (!options.log) {
        if (options.logEvery) {
            throw UsageError("--log-every needs --log FILE");
        }
        return std::nullopt;
    }
    LogSettings settings;
    settings.path = pathOf(*options.log);
    settings.format = options.logFormat == "csv" ? LogFormat::csv : LogFormat::jsonLines;
    if (options.logEvery) {
        settings.every = static_cast<std::int32_t>(
            checkedWholeNumber(kLogEveryRule, *options.logEvery, Spelling::option));
    }
    return settings;
}

SolveTask taskOf(const SolveOptions& options) {
    checkOneScramble((options.moves.empty() ? 0 : 1) + (options.scramble ? 1 : 0) +
                         (options.random ? 1 : 0) + (options.builtIn ? 1 : 0) +
                         (options.facelets ? 1 : 0),
                     Spelling::option);
    SolveTask task;
    setSearchValues(task, options.search.values, Spelling::option);
    if (options.seed) {
        task.seed = static_cast<std::uint32_t>(
            checkedWholeNumber(kSeedRule, *options.seed, Spelling::option));
    }
    if (!options.moves.empty() || options.scramble) {
        std::string text = options.scramble.value_or("");
        for (const std::string& token : options.moves) {
            text += (text.empty() ? "" : " ") + token;
        }
        setScrambleText(task, text);
    } else if (options.random) {
        task.source = SolveTask::Source::random;
        task.randomLength = static_cast<std::int32_t>(
            checkedWholeNumber(kRandomLengthRule, *options.random, Spelling::option));
    } else if (options.builtIn) {
        task.source = SolveTask::Source::builtIn;
    } else {
        task.source = SolveTask::Source::facelets;
        task.facelets = *options.facelets;
        task.faceletCube = checkedFacelets(task.facelets);
    }
    return task;
}

void writeOutput(std::ostream& out, const std::string& text) {
    errno = 0;
    out << text << std::flush;
    if (!out) {
        throw RunError(std::string("cannot write the output: ") +
                       (errno != 0 ? std::strerror(errno) : "the stream failed"));
    }
}

int runSolve(const SolveOptions& options, CommandLineStreams& streams) {
    const SolveTask task = taskOf(options);
    const std::optional<LogSettings> logSettings = logSettingsOf(options.search);
    const std::int64_t jobs = checkedWholeNumber(kJobsRule, options.jobs, Spelling::option);
    if (logSettings && task.tries > 1) {
        throw UsageError("--log keeps the logbook of one try: give --tries 1 (or none)");
    }
    std::optional<ResultsLog> log;
    std::optional<TextFile> logbookFile;
    std::optional<ProgressBar> progress;
    return exitStatusOf(
        [&] {
            if (options.results) {
                log.emplace(pathOf(*options.results));
            }
            std::optional<FileLogbook> logbook;
            if (logSettings) {
                logbookFile.emplace(logSettings->path, TextFile::Mode::create);
                logbookFile->write(logbookHeader(logSettings->format, false));
                logbook.emplace(*logbookFile, logSettings->format, logSettings->every);
            }
            if (streams.errIsTerminal && !options.search.quiet && task.tries == 1) {
                progress.emplace(streams.err);
            }
            TaskServices services;
            services.resultsLog = log ? &*log : nullptr;
            services.observer = progress ? &*progress : nullptr;
            services.logbook = logbook ? &*logbook : nullptr;
            services.solve = streams.solve;
            const TaskOutcome outcome =
                task.tries > 1 ? runTriesSideBySide(task, services, static_cast<std::size_t>(jobs))
                               : runTask(task, services);
            progress.reset();
            if (logbookFile) {
                logbookFile->close();
            }
            const std::string text = options.format == "json"
                                         ? resultJson(task, outcome).dump() + "\n"
                                         : resultText(task, outcome);
            writeOutput(streams.out, text);
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
    checkedSearch(options.search.values, Spelling::option);  // each value once, as an option
    batch.defaults.search = options.search.values;
    if (options.seed) {
        batch.defaults.seed = static_cast<std::uint32_t>(
            checkedWholeNumber(kSeedRule, *options.seed, Spelling::option));
    }
    batch.jobs =
        static_cast<std::size_t>(checkedWholeNumber(kJobsRule, options.jobs, Spelling::option));
    batch.solve = streams.solve;
    batch.log = logSettingsOf(options.search);
    if (batch.log && options.search.values.tries.value_or(1) > 1) {
        throw UsageError("--log keeps the logbook of one try: give --tries 1 (or none)");
    }
    if (options.output) {
        batch.output = pathOf(*options.output);
    } else if (options.resume) {
        throw UsageError("--resume needs --output FILE, the records to resume");
    }
    batch.resume = options.resume;
    if (options.part) {
        batch.part = batchPartOf(*options.part);
    }
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
    checkedSearch(options.search.values, Spelling::option);
    merge.defaults.search = options.search.values;
    if (options.seed) {
        merge.defaults.seed = static_cast<std::uint32_t>(
            checkedWholeNumber(kSeedRule, *options.seed, Spelling::option));
    }
    for (const std::string& part : options.parts) {
        merge.parts.push_back(pathOf(part));
    }
    merge.output = pathOf(options.output);
    merge.log = logSettingsOf(options.search);
    return runMerge(merge, streams.err);
}

// A whole number's option; its range is checked after parsing, with the rule's message.
void addNumber(CLI::App& command, const std::string& names, std::optional<std::int64_t>& value,
               const std::string& help, const std::string& type) {
    command.add_option(names, value, help)->type_name(type);
}

void addSearchOptions(CLI::App& command, SearchOptions& options, bool batch) {
    SearchValues& values = options.values;
    const std::string where = batch ? " (where a line names none)" : "";
    addNumber(
        command, "-g,--generations", values.generations,
        "generations of each block search, each of the twelve locations (default 500)" + where,
        "G");
    addNumber(command, "--population", values.population,
              "rows of every population, N (" + std::to_string(kPopulationRule.minimum) + " to " +
                  std::to_string(kPopulationRule.maximum) + ", default 51)",
              "N");
    addNumber(command, "--length", values.length,
              "moves of every sequence, L (" + std::to_string(kLengthRule.minimum) + " to " +
                  std::to_string(kLengthRule.maximum) + ", default 30)",
              "L");
    addNumber(command, "--immigrants", values.immigrants,
              "worst rows replaced by random ones each generation, K (0 to N - 1, default 5)", "K");
    command
        .add_option("--mutation-rate", values.mutationRate,
                    "chance per move of a random reset, pm (0 to 1, default 0.05)")
        ->type_name("P");
    command
        .add_option("--crossover-rate", values.crossoverRate,
                    "chance that a pair of parents is crossed, pc (0 to 1, default 0.8)")
        ->type_name("P");
    command
        .add_option("--selection-pressure", values.selectionPressure,
                    "linear ranking's pressure, sp (1 to 2, default 1.5)")
        ->type_name("SP");
    addNumber(command, "--entry-generations", values.entryGenerations,
              "generations of each run of the entry stage (default 10000)", "G");
    addNumber(command, "--finish-generations", values.finishGenerations,
              "generations of each run of the finish (default 200000)", "G");
    command.add_flag(
        "--stop-at-goal", [&values](std::int64_t) { values.stopAtGoal = true; },
        "end each run at the first generation that meets its stage's goal");
    addNumber(command, "--tries", values.tries,
              "solve the cube K times, seeds S, S + 1, ... (S the seed, or one drawn and "
              "reported), and answer the shortest solution (of equal ones the lowest seed's)" +
                  where,
              "K");
    command.add_flag(
        "--first", [&values](std::int64_t) { values.first = true; },
        "with --tries, answer the first try to finish and stop the others");
    addNumber(command, "--max-generations", values.maxGenerations,
              "end a solve that has not solved its cube after G generations in all (exit "
              "status 4)",
              "G");
    command
        .add_option("--time-limit", values.timeLimit,
                    "end a solve that has not solved its cube after SECONDS of wall time (exit "
                    "status 4)")
        ->type_name("SECONDS");
    command
        .add_option("--log", options.log,
                    batch ? "write the logbook of every search to FILE, each row with its line"
                          : "write the logbook of every search to FILE")
        ->type_name("FILE");
    addNumber(command, "--log-every", options.logEvery,
              "log every K-th generation too (1: every generation)", "K");
    command.add_option("--log-format", options.logFormat, "jsonl (default) or csv")
        ->check(CLI::IsMember({"jsonl", "csv"}))
        ->type_name("FORMAT");
    if (!batch) {
        command.add_flag("--quiet", options.quiet, "no progress on a terminal's error stream");
    }
}

void addSolveOptions(CLI::App& command, SolveOptions& options) {
    command.add_option("moves", options.moves,
                       "the scramble in standard notation, e.g. R U2 F' (blank-separated)");
    command.add_option("--scramble", options.scramble, "the scramble as one text, \"R U2 F'\"")
        ->type_name("MOVES");
    command
        .add_option(
            "--random", options.random,
            "a random scramble of N moves (1 to " + std::to_string(kRandomLengthRule.maximum) + ")")
        ->type_name("N");
    command.add_flag("--default", options.builtIn, "the built-in 37-move scramble");
    command
        .add_option("--facelets", options.facelets,
                    "the cube's 54 facelets, faces U R F D L B, e.g. UUUUUUUUURRR...")
        ->type_name("STATE");
    command
        .add_option("--seed", options.seed,
                    "clocks frozen at (0 ms, S s): the same run every time, on every processor")
        ->type_name("S");
    command.add_option("--format", options.format, "text (default) or json")
        ->check(CLI::IsMember({"text", "json"}))
        ->type_name("FORMAT");
    command.add_option("--results", options.results, "also write the results log to FILE")
        ->type_name("FILE");
    command
        .add_option("--jobs", options.jobs,
                    "tries at once, one thread each (default: the processors available)")
        ->type_name("N");
    addSearchOptions(command, options.search, false);
}

void addBatchOptions(CLI::App& command, BatchCommandOptions& options) {
    command
        .add_option("input", options.input,
                    "a file of scrambles, one a line (standard notation, or a JSON object "
                    "{\"scramble\": ..., \"generations\": ..., \"seed\": ...} with any of "
                    "the options below as keys in camelCase); - or none for standard input")
        ->type_name("FILE");
    command
        .add_option("--seed", options.seed, "line k (from 1) gets seed S + k where it names none")
        ->type_name("S");
    command
        .add_option("--jobs", options.jobs,
                    "solves at once, one thread each (default: the processors available)")
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
    addSearchOptions(command, options.search, true);
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
    command.add_option("--seed", options.seed, "as the parts had it: line k asks seed S + k")
        ->type_name("S");
    addSearchOptions(command, options.search, true);
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
