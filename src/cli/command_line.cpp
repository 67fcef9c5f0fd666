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
#include "cli/progress_bar.hpp"
#include "request/request_rules.hpp"
#include "request/result_json.hpp"
#include "run/results_log.hpp"
#include "run/run_error.hpp"

#ifndef CUBEGA_VERSION
#define CUBEGA_VERSION "unknown"
#endif

namespace cubega {

namespace {

struct SolveOptions {
    std::vector<std::string> moves;
    std::optional<std::string> scramble;
    std::optional<std::int64_t> random;
    bool builtIn = false;
    std::optional<std::string> facelets;
    std::int64_t generations = kDefaultGenerations;
    std::optional<std::int64_t> seed;
    std::string format = "text";
    std::optional<std::string> results;
    bool quiet = false;
};

struct BatchCommandOptions {
    std::string input = "-";
    std::int64_t generations = kDefaultGenerations;
    std::optional<std::int64_t> seed;
    std::int64_t jobs = std::max(1U, std::thread::hardware_concurrency());
};

SolveTask taskOf(const SolveOptions& options) {
    checkOneScramble((options.moves.empty() ? 0 : 1) + (options.scramble ? 1 : 0) +
                         (options.random ? 1 : 0) + (options.builtIn ? 1 : 0) +
                         (options.facelets ? 1 : 0),
                     Spelling::option);
    SolveTask task;
    task.generations = static_cast<std::int32_t>(
        checkedWholeNumber(kGenerationsRule, options.generations, Spelling::option));
    if (options.seed) {
        task.seed = static_cast<std::uint32_t>(
            checkedWholeNumber(kSeedRule, *options.seed, Spelling::option));
    }
    if (!options.moves.empty() || options.scramble) {
        std::string text = options.scramble.value_or("");
        for (const std::string& token : options.moves) {
            text += " " + token;
        }
        task.source = SolveTask::Source::moves;
        task.moves = checkedScramble(text);
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

// A file name as the command line gives it: UTF-8 (see main), which a path spells on every
// system.
std::filesystem::path pathOf(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
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
    std::optional<ResultsLog> log;
    std::optional<ProgressBar> progress;
    return exitStatusOf(
        [&] {
            if (options.results) {
                log.emplace(pathOf(*options.results));
            }
            if (streams.errIsTerminal && !options.quiet) {
                progress.emplace(streams.err);
            }
            TaskServices services;
            services.resultsLog = log ? &*log : nullptr;
            services.observer = progress ? &*progress : nullptr;
            services.solve = streams.solve;
            const TaskOutcome outcome = runTask(task, services);
            progress.reset();
            const std::string text = options.format == "json"
                                         ? resultJson(task, outcome).dump() + "\n"
                                         : resultText(task, outcome);
            writeOutput(streams.out, text);
            if (!outcome.result.selfCheckPassed) {
                throw InternalFault("the solution does not solve the scrambled cube");
            }
        },
        streams.err);
}

int runBatchCommand(const BatchCommandOptions& options, CommandLineStreams& streams) {
    BatchOptions batch;
    batch.defaults.generations = static_cast<std::int32_t>(
        checkedWholeNumber(kGenerationsRule, options.generations, Spelling::option));
    if (options.seed) {
        batch.defaults.seed = static_cast<std::uint32_t>(
            checkedWholeNumber(kSeedRule, *options.seed, Spelling::option));
    }
    batch.jobs =
        static_cast<std::size_t>(checkedWholeNumber(kJobsRule, options.jobs, Spelling::option));
    batch.solve = streams.solve;
    if (options.input == "-") {
        return runBatch(streams.in, streams.out, streams.err, batch);
    }
    std::ifstream file(pathOf(options.input));
    if (!file) {
        streams.err << "cube-solver: cannot open " << options.input << ": " << std::strerror(errno)
                    << '\n';
        return kStatusStopped;
    }
    return runBatch(file, streams.out, streams.err, batch);
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
        .add_option("-g,--generations", options.generations,
                    "generations of each block search (default 500)")
        ->type_name("G");
    command
        .add_option("--seed", options.seed,
                    "clocks frozen at (0 ms, S s): the same run every time, on every processor")
        ->type_name("S");
    command.add_option("--format", options.format, "text (default) or json")
        ->check(CLI::IsMember({"text", "json"}))
        ->type_name("FORMAT");
    command.add_option("--results", options.results, "also write the results log to FILE")
        ->type_name("FILE");
    command.add_flag("--quiet", options.quiet, "no progress on a terminal's error stream");
}

void addBatchOptions(CLI::App& command, BatchCommandOptions& options) {
    command
        .add_option("input", options.input,
                    "a file of scrambles, one a line (standard notation, or a JSON object "
                    "{\"scramble\": ..., \"generations\": ..., \"seed\": ...}); - or none for "
                    "standard input")
        ->type_name("FILE");
    command
        .add_option("-g,--generations", options.generations,
                    "generations of each block search where a line names none (default 500)")
        ->type_name("G");
    command
        .add_option("--seed", options.seed, "line k (from 1) gets seed S + k where it names none")
        ->type_name("S");
    command
        .add_option("--jobs", options.jobs,
                    "solves at once, one thread each (default: the processors available)")
        ->type_name("N");
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
        "2 usage error, 3 a solution failed its own check.");
    SolveOptions solveOptions;
    CLI::App* solveCommand = app.add_subcommand("solve", "solve one scramble");
    addSolveOptions(*solveCommand, solveOptions);
    BatchCommandOptions batchOptions;
    CLI::App* batchCommand =
        app.add_subcommand("batch", "solve one scramble a line, writing a JSON record each");
    addBatchOptions(*batchCommand, batchOptions);
    try {
        app.parse(argc, argv);
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
