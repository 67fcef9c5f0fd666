// The command line in-process: its seeded runs against the dialogue's, its errors, its batches.
#include "cli/command_line.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/batch.hpp"
#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "dialogue/driver.hpp"
#include "request/solve_task.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

// The dialogue's run under clocks frozen at (0 ms, seed s): its log's solution and total.
testing::LoggedRun dialogueRun(const std::string& input, std::uint32_t seed) {
    const auto folder = testing::makeTempFolder();
    std::istringstream in(input);
    std::ostringstream out, err;
    FixedClock clock({0, seed});
    RunEnvironment environment{in, out, err, clock, folder / "results.txt"};
    EXPECT_EQ(runSolver(environment), 0) << err.str();
    testing::LoggedRun logged = testing::readResultsLog(folder / "results.txt");
    std::filesystem::remove_all(folder);
    return logged;
}

TEST(LongSolve, ASeededTaskIsTheDialoguesRunUnderClocksFrozenAtItsSeed) {
    struct Case {
        std::string dialogue;
        SolveTask task;
    };
    SolveTask builtIn, random, typed;
    builtIn.source = SolveTask::Source::builtIn;
    random.source = SolveTask::Source::random;
    random.randomLength = 9;
    typed.source = SolveTask::Source::moves;
    typed.moves = testing::movesFromText("R  U' F2 ");
    const Case cases[] = {
        {"3\n30\n0\n", builtIn}, {"1\n30\n9\n0\n", random}, {"2\n30\n3\nR\nU'\nF2\n0\n", typed}};
    for (Case c : cases) {
        c.task.generations = 30;
        c.task.seed = 1765000500;
        const TaskOutcome outcome = runTask(c.task);
        const testing::LoggedRun logged = dialogueRun(c.dialogue, 1765000500);
        EXPECT_EQ(outcome.scramble.moves, logged.scramble);
        EXPECT_EQ(outcome.result.totalMoves, logged.total);
        std::vector<MoveCode> stages = outcome.result.blockMoves;
        for (const auto* more : {&outcome.result.entryMoves, &outcome.result.finishMoves}) {
            stages.insert(stages.end(), more->begin(), more->end());
        }
        EXPECT_EQ(stages, logged.solution);
        EXPECT_TRUE(outcome.result.selfCheckPassed);
        EXPECT_TRUE(isSolved(applySequence(outcome.scramble.cube, outcome.result.solution)));
    }
}

struct CommandRun {
    int status = -1;
    std::string out, err;
};

CommandRun runCommand(std::vector<std::string> arguments, const std::string& input = "",
                      SolveFunction solve = {}) {
    arguments.insert(arguments.begin(), "cube-solver");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    std::istringstream in(input);
    std::ostringstream out, err;
    CommandLineStreams streams{in, out, err, false, std::move(solve)};
    CommandRun run;
    run.status = runCommandLine(static_cast<int>(argv.size()), argv.data(), streams);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(CommandLine, UsageErrorsSayWhatIsWrongAndWriteNoOutput) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"solve", "--frobnicate", "R"}, "cube-solver: The following argument was not expected"},
        {{"solve", "R", "X2"}, "cube-solver: move 2 of the scramble, \"X2\", is not a face turn"},
        {{"solve", "--scramble", "R U", "F"}, "cube-solver: give one scramble only"},
        {{"solve"}, "cube-solver: give a scramble"},
        {{"solve", "R", "-g", "0"},
         "cube-solver: --generations must be a whole number from 1 to 2147483647\n"},
        {{"solve", "--random", "0"},
         "cube-solver: --random must be a whole number from 1 to 10000"},
        {{"solve", "--random", "10001"}, "cube-solver: --random must be a whole number from 1"},
        {{"solve", "R", "--seed", "-1"}, "cube-solver: --seed must be a whole number from 0 to"},
        {{"solve", "R", "--format", "xml"}, "cube-solver: --format: xml not in {text,json}"},
        {{"solve", "--facelets", "UUU"}, "cube-solver: the facelets: the state has 3 letters"},
        {{"batch", "--jobs", "0"}, "cube-solver: --jobs must be a whole number from 1 to 1024"},
        {{}, "cube-solver: A subcommand is required"},
    };
    for (const auto& [arguments, message] : cases) {
        const CommandRun run = runCommand(arguments);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_EQ(run.err.rfind(message, 0), 0u) << run.err;
        EXPECT_EQ(run.out, "") << message;
    }
}

// A solve with a fault planted: its solution does not solve the cube.
SolveResult faultySolve(const SolveRequest&, RandomSource&) {
    SolveResult result;
    result.finishMoves = {0};
    result.totalMoves = 1;
    result.selfCheckPassed = false;
    return result;
}

TEST(CommandLine, ASolutionThatFailsItsOwnCheckIsStatusThree) {
    const CommandRun solve = runCommand({"solve", "R", "--format", "json"}, "", faultySolve);
    EXPECT_EQ(solve.status, 3);
    EXPECT_EQ(solve.err,
              "cube-solver: internal fault: the solution does not solve the scrambled cube\n");
    EXPECT_EQ(nlohmann::json::parse(solve.out)["selfCheck"], false) << "the record says so";

    const auto folder = testing::makeTempFolder();
    const std::string log = (folder / "log.txt").string();
    const CommandRun logged = runCommand({"solve", "R", "--results", log}, "", faultySolve);
    EXPECT_EQ(logged.status, 3);
    EXPECT_EQ(logged.out, "");
    EXPECT_NE(testing::readFile(log).find("does not solve the scrambled cube"), std::string::npos);
    std::filesystem::remove_all(folder);

    const CommandRun batch = runCommand({"batch", "--jobs", "2"}, "R\nU\n", faultySolve);
    EXPECT_EQ(batch.status, 3);
    EXPECT_EQ(batch.err, "cube-solver: internal fault: a solution does not solve its cube\n");
}

TEST(CommandLine, FilesThatCannotBeOpenedAreAnOrderlyStop) {
    const auto folder = testing::makeTempFolder();
    const std::string missing = (folder / "no such file").string();
    const CommandRun batch = runCommand({"batch", missing});
    EXPECT_EQ(batch.status, 1);
    EXPECT_EQ(batch.err, "cube-solver: cannot open " + missing + ": No such file or directory\n");
    const std::string inFolder = (folder / "no folder" / "log.txt").string();
    const CommandRun solve = runCommand({"solve", "R", "--results", inFolder});
    EXPECT_EQ(solve.status, 1);
    EXPECT_EQ(solve.err,
              "cube-solver: cannot create " + inFolder + ": No such file or directory\n");
    EXPECT_EQ(solve.out, "");
    std::filesystem::remove_all(folder);
}

TEST(LongCommandLine, FaceletsOfAScrambledCubeSolveAsTheScrambleDoes) {
    const std::string scramble = "R U2 F' L D2 B";
    const std::string facelets =
        faceletText(applySequence(solvedCube(), parseStandardMoves(scramble).moves));
    const CommandRun byMoves = runCommand(
        {"solve", "--scramble", scramble, "-g", "20", "--seed", "11", "--format", "json"});
    const CommandRun byFacelets = runCommand(
        {"solve", "--facelets", facelets, "-g", "20", "--seed", "11", "--format", "json"});
    ASSERT_EQ(byMoves.status, 0) << byMoves.err;
    ASSERT_EQ(byFacelets.status, 0) << byFacelets.err;
    nlohmann::json moves = nlohmann::json::parse(byMoves.out);
    nlohmann::json fromFacelets = nlohmann::json::parse(byFacelets.out);
    EXPECT_EQ(fromFacelets["facelets"], facelets);
    for (const char* key : {"scramble", "facelets", "seconds"}) {
        moves.erase(key);
        fromFacelets.erase(key);
    }
    EXPECT_EQ(moves, fromFacelets);
    EXPECT_EQ(moves["selfCheck"], true);
}

// The records of a batch, each without its wall time (which no two runs share).
std::vector<nlohmann::json> recordsOf(const std::string& lines) {
    std::vector<nlohmann::json> records;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        records.push_back(nlohmann::json::parse(line));
        records.back().erase("seconds");
    }
    return records;
}

TEST(LongBatch, TwoJobsWriteWhatOneWritesAndABadLineOnlyItsError) {
    const std::string input =
        "# two cubes and one mistake\n"
        "R U2 F'\n"
        "\n"
        "{\"facelets\": \"LRUBUUDRRBLBDRLFULFDDFFFUBRBDUBDBLLDULRULRBRRLUFFBFFDD\", "
        "\"generations\": 12, \"seed\": 9}\n"
        "R X\n";
    BatchOptions options;
    options.defaults.generations = 15;
    options.defaults.seed = 100;
    std::string outputs[2];
    for (std::size_t jobs : {1u, 2u}) {
        options.jobs = jobs;
        std::istringstream in(input);
        std::ostringstream out, err;
        EXPECT_EQ(runBatch(in, out, err, options), 1) << "a line failed";
        EXPECT_EQ(err.str(), "");
        outputs[jobs - 1] = out.str();
    }
    const std::vector<nlohmann::json> records = recordsOf(outputs[0]);
    EXPECT_EQ(records, recordsOf(outputs[1]));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0]["seed"], 102) << "line 2: the seed plus its line number";
    EXPECT_EQ(records[0]["generations"], 15);
    EXPECT_EQ(records[1]["seed"], 9) << "a line's own seed";
    EXPECT_EQ(records[1]["generations"], 12);
    EXPECT_EQ(records[2]["line"], 5);
    EXPECT_EQ(records[2]["error"],
              "move 2 of the scramble, \"X\", is not a face turn (F U R B D L, then nothing, 2 "
              "or ')");
    for (const std::size_t solved : {0u, 1u}) {
        EXPECT_EQ(records[solved]["selfCheck"], true);
    }
}

TEST(Batch, AnOutputThatCannotBeWrittenStopsWithStatusOne) {
#ifdef _WIN32
    GTEST_SKIP() << "no /dev/full";
#endif
    std::ofstream full("/dev/full");
    std::istringstream in("R X\nR U\nU2\n");  // the first record, an error, fails at once
    std::ostringstream err;
    BatchOptions options;
    options.defaults.generations = 5;
    options.jobs = 2;
    EXPECT_EQ(runBatch(in, full, err, options), 1);
    EXPECT_EQ(err.str(), "cube-solver: cannot write the output: No space left on device\n");
}

}  // namespace
}  // namespace cubega
