// The real cube-solver binary with a scripted console, in a folder of its own.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <fstream>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "cube/move_sequences.hpp"
#include "cube/notation.hpp"
#include "request/solve_task.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

using testing::BinaryRun;
using testing::runSolverBinary;

struct TempFolder {
    std::filesystem::path path = testing::makeTempFolder();
    ~TempFolder() {
        std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove_all(path);
    }
};

TEST(Binary, EndOfInputBeforeTheFirstAnswer) {
    TempFolder folder;
    const BinaryRun run = runSolverBinary(folder.path, "");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "cube-solver: the console input ended before the scramble type was given\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path / "results.txt"));
}

TEST(Binary, AResultsFolderInTheWayIsReportedWithItsReason) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path / "results.txt");
    const BinaryRun run = runSolverBinary(folder.path, "3\n100\n0\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "cube-solver: cannot create results.txt: " + testing::kFolderInTheWay + "\n");
    EXPECT_EQ(run.out, testing::kGreetingAndQuestions);
}

TEST(Binary, AReadOnlyFolderIsReportedWithItsReason) {
#ifdef _WIN32
    GTEST_SKIP() << "folder permissions and users are POSIX ones";
#else
    TempFolder folder;
    namespace fs = std::filesystem;
    fs::permissions(folder.path, fs::perms::owner_read | fs::perms::owner_exec |
                                     fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    // Root writes anywhere: as root, run the solver as the unprivileged user "nobody".
    const std::string asUser =
        geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "";
    const BinaryRun run = runSolverBinary(folder.path, "3\n100\n0\n", asUser);
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "cube-solver: cannot create results.txt: Permission denied\n");
    EXPECT_EQ(run.out, testing::kGreetingAndQuestions);
#endif
}

TEST(Binary, AResultsFileThatCannotBeWrittenStopsTheRunBeforeAnySearch) {
#ifdef _WIN32
    GTEST_SKIP() << "no /dev/full";
#else
    TempFolder folder;
    std::filesystem::create_symlink("/dev/full", folder.path / "results.txt");
    const BinaryRun run = runSolverBinary(folder.path, "3\n100\n0\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "cube-solver: cannot write results.txt: No space left on device\n");
    EXPECT_EQ(run.out.find("position is"), std::string::npos) << "no search, no report";
    EXPECT_EQ(run.out.find("solved in"), std::string::npos);
#endif
}

// F and U turns only: the block is kept at location 0 and the entry adds nothing, so this
// run is short whatever the clock.
// The answers end with CR LF, as a Windows console sends them; the log's lines end with LF.
TEST(Binary, TypedScrambleLogsItsExactRecords) {
    TempFolder folder;
    const BinaryRun run =
        runSolverBinary(folder.path, "2\r\n50\r\n5\r\nF\r\n U2\r\nF' and more\r\nU\r\nF2\r\n0\r\n");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string log = testing::readFile(folder.path / "results.txt");
    EXPECT_EQ(log.find('\r'), std::string::npos);
    const testing::LoggedRun logged = testing::readResultsLog(folder.path / "results.txt");
    EXPECT_TRUE(isSolved(testing::replayLoggedRun(logged))) << log;
    EXPECT_EQ(static_cast<std::size_t>(logged.total), logged.solution.size());

    std::istringstream lines(log);
    std::vector<std::string> records;
    for (std::string line; std::getline(lines, line);)
        records.push_back(line);
    ASSERT_EQ(records.size(), 7u) << log;
    EXPECT_EQ(records[0], " Scramble : ");
    EXPECT_EQ(records[1], " F  U2 F' U  F2 ");
    EXPECT_EQ(records[2], " Solution : ");
    EXPECT_EQ(records[3].size(), 4u) << "one block move: " << records[3];
    EXPECT_EQ(records[4], " ") << "the entry adds nothing: a blank line";
    EXPECT_EQ(records[6],
              " total moves # : " + std::string(12 - std::to_string(logged.total).size(), ' ') +
                  std::to_string(logged.total));
    EXPECT_NE(run.out.find(" Whole cube was solved in " +
                           std::string(12 - std::to_string(logged.total).size(), ' ') +
                           std::to_string(logged.total) + "  moves :)\n"),
              std::string::npos)
        << "console and log agree";
}

// Runs whose length depends on the real clock: seconds usually, minutes now and then.
TEST(LongBinary, DefaultScrambleRunsToAReplayableSolution) {
    TempFolder folder;
    std::ofstream(folder.path / "results.txt") << "an older run\n";
    const BinaryRun run = runSolverBinary(folder.path, "3\n100\n0\n");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind(testing::kGreetingAndQuestions, 0), 0u);
    const std::string scrambleLines =
        " R  D  R  B  L2 D  B' L  F  D  B' L  F  D  B' L  F  R2 D  F' U2 B  R  D' U2 B  R\n"
        "   D' U2 B  R  D' L2 R  D  U2 F2 \n";
    EXPECT_EQ(run.out.find(scrambleLines), std::string(testing::kGreetingAndQuestions).size());
    EXPECT_TRUE(run.out.ends_with(" moves :)\n\n End of the program.\n")) << run.out;

    const std::string log = testing::readFile(folder.path / "results.txt");
    EXPECT_EQ(log.rfind(" Scramble : \n" + scrambleLines, 0), 0u) << "replaced, not appended";
    const testing::LoggedRun logged = testing::readResultsLog(folder.path / "results.txt");
    EXPECT_EQ(logged.scramble.size(), 37u);
    EXPECT_TRUE(isSolved(testing::replayLoggedRun(logged))) << log;
    EXPECT_EQ(static_cast<std::size_t>(logged.total), logged.solution.size());
    const std::string totalLine = " Whole cube was solved in " +
                                  std::string(12 - std::to_string(logged.total).size(), ' ') +
                                  std::to_string(logged.total) + "  moves :)\n";
    EXPECT_NE(run.out.find(totalLine), std::string::npos) << "console and log agree";
}

TEST(LongBinary, RandomScrambleRunsToAReplayableSolution) {
    TempFolder folder;
    const BinaryRun run = runSolverBinary(folder.path, "1\n100\n25\n0\n");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(run.out.ends_with(" moves :)\n\n End of the program.\n"));
    const testing::LoggedRun logged = testing::readResultsLog(folder.path / "results.txt");
    EXPECT_EQ(logged.scramble.size(), 25u);
    EXPECT_TRUE(isSolved(testing::replayLoggedRun(logged)));
    EXPECT_EQ(static_cast<std::size_t>(logged.total), logged.solution.size());
}

TEST(Binary, TheCommandLineSolvesASeededScrambleAsTheInProcessRunDoes) {
    TempFolder folder;
    const BinaryRun run =
        runSolverBinary(folder.path, "", "", "solve R \"U'\" F2 -g 20 --seed 5 --results log.txt");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    SolveTask task;
    task.moves = testing::movesFromText("R  U' F2 ");
    task.settings.blockGenerations = 20;
    task.seed = 5;
    const TaskOutcome outcome = runTask(task);
    EXPECT_EQ(
        run.out.substr(0, run.out.find("seconds: ")),
        "scramble: R U' F2\nsolution: " + standardNotation(outcome.result.solution) +
            "\nmoves: " + std::to_string(outcome.result.solution.size()) + " face turns, " +
            std::to_string(quarterTurnCount(outcome.result.solution)) + " quarter turns" +
            (outcome.result.solution.size() == static_cast<std::size_t>(outcome.result.totalMoves)
                 ? ""
                 : " (" + std::to_string(outcome.result.totalMoves) +
                       " as the stages found them)") +
            "\n");
    EXPECT_EQ(run.err, "") << "no progress where the error stream is not a terminal";
    const testing::LoggedRun logged = testing::readResultsLog(folder.path / "log.txt");
    EXPECT_TRUE(isSolved(testing::replayLoggedRun(logged)));
    EXPECT_EQ(logged.total, outcome.result.totalMoves);
}

TEST(Binary, AFolderNamedInAnyScriptHoldsTheResults) {
    TempFolder folder;
    const auto named = folder.path / std::filesystem::path(u8"cubes \u00e9t\u00e9 \u65e5\u672c");
    std::filesystem::create_directory(named);
    const BinaryRun dialogue = runSolverBinary(named, "2\n30\n2\nF\nU\n0\n");
    ASSERT_EQ(dialogue.exitStatus, 0) << dialogue.err;
    EXPECT_TRUE(isSolved(testing::replayLoggedRun(testing::readResultsLog(named / "results.txt"))));
    const auto log = named / std::filesystem::path(u8"r\u00e9sultats.txt");
    const std::u8string logName = log.u8string();
    const BinaryRun command =
        runSolverBinary(folder.path, "", "",
                        "solve F U -g 20 --seed 1 --results \"" +
                            std::string(logName.begin(), logName.end()) + "\"");
    ASSERT_EQ(command.exitStatus, 0) << command.err;
    EXPECT_TRUE(isSolved(testing::replayLoggedRun(testing::readResultsLog(log))));
}

// The records or logbook rows of a file, each without its wall time.
std::vector<nlohmann::json> withoutSeconds(const std::filesystem::path& path) {
    std::vector<nlohmann::json> lines;
    std::istringstream text(testing::readFile(path));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(nlohmann::json::parse(line));
        lines.back().erase("seconds");
    }
    return lines;
}

TEST(Binary, ABatchKilledAnywhereAndResumedGivesTheRecordsAndRowsOfOneRun) {
#ifdef _WIN32
    GTEST_SKIP() << "no SIGKILL";
#endif
    TempFolder folder;
    std::ofstream(folder.path / "in.txt")
        << "R U2 F\n# a comment\n{\"scramble\": \"L D\", \"seed\": 3}\nR X\n{\"random\": 8}\nF2 B\n"
           "U R2\n";
    // Runs the batch until its output holds `records` records, then kills it.
    std::ofstream(folder.path / "kill-after")
        << "records=$1; shift\n"
           "\"$@\" & pid=$!\n"
           "while kill -0 $pid 2>/dev/null &&\n"
           "      [ \"$(cat out.jsonl 2>/dev/null | wc -l)\" -lt $records ]; do\n"
           "  sleep 0.005\n"
           "done\n"
           "kill -9 $pid 2>/dev/null; wait $pid; exit 0\n";
    const std::string batch =
        "batch in.txt --seed 10 -g 200 --stop-at-goal --log-every 50 --jobs 2 --output ";
    ASSERT_EQ(
        runSolverBinary(folder.path, "", "", batch + "whole.jsonl --log whole.log").exitStatus, 1)
        << "line 4 is not moves";
    const auto whole = withoutSeconds(folder.path / "whole.jsonl");
    const auto wholeRows = withoutSeconds(folder.path / "whole.log");
    ASSERT_EQ(whole.size(), 6u);
    for (const int killedAfter : {0, 1, 3, 5}) {
        const auto killed =
            runSolverBinary(folder.path, "", "bash kill-after " + std::to_string(killedAfter),
                            batch + "out.jsonl --log out.log");
        ASSERT_EQ(killed.exitStatus, 0) << killed.err;
        const auto resumed =
            runSolverBinary(folder.path, "", "", batch + "out.jsonl --log out.log --resume");
        EXPECT_EQ(resumed.exitStatus, 1) << resumed.err;
        EXPECT_EQ(withoutSeconds(folder.path / "out.jsonl"), whole) << killedAfter;
        EXPECT_EQ(withoutSeconds(folder.path / "out.log"), wholeRows) << killedAfter;
        std::filesystem::remove(folder.path / "out.jsonl");
        std::filesystem::remove(folder.path / "out.log");
    }

    // A record cut short is solved again; the records of another input are refused.
    const std::string text = testing::readFile(folder.path / "whole.jsonl");
    std::ofstream(folder.path / "torn.jsonl", std::ios::binary)
        << text.substr(0, text.find('\n', text.find('\n') + 1) + 40);
    const BinaryRun torn =
        runSolverBinary(folder.path, "", "", batch + "torn.jsonl --log torn.log --resume");
    EXPECT_EQ(torn.exitStatus, 1) << torn.err;
    EXPECT_EQ(withoutSeconds(folder.path / "torn.jsonl"), whole);
    const BinaryRun other = runSolverBinary(
        folder.path, "", "", "batch in.txt --seed 11 -g 200 --output whole.jsonl --resume");
    EXPECT_EQ(other.exitStatus, 2);
    EXPECT_NE(other.err.find("it is not this batch's output"), std::string::npos) << other.err;
    EXPECT_EQ(withoutSeconds(folder.path / "whole.jsonl"), whole) << "left as it was";
}

TEST(Binary, HelpAndVersionGoToTheOutputWithStatusZero) {
    TempFolder folder;
    const BinaryRun help = runSolverBinary(folder.path, "", "", "--help");
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("solve"), std::string::npos);
    EXPECT_NE(help.out.find("batch"), std::string::npos);
    const BinaryRun version = runSolverBinary(folder.path, "", "", "--version");
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "cube-solver 2.1\n");
}

// A study split into parts, run apart and merged.
TEST(Binary, ThePartsOfASeededBatchOneOfThemKilledAndResumedMergeIntoTheWholeBatch) {
#ifdef _WIN32
    GTEST_SKIP() << "no SIGKILL";
#endif
    TempFolder folder;
    // Part 1 of 3 holds lines 1, 4 and 7; its line 7 takes a while, so the kill after its
    // second record finds it solving, and its resume reads past another part's task (line 3).
    std::ofstream(folder.path / "in.txt")
        << "R U2 F\n# a comment\n{\"random\": 7}\nF2 B\nR X\n\n{\"random\": 7}\n"
           "{\"scramble\": \"L D\", \"seed\": 3}\nU R2\n";
    std::ofstream(folder.path / "kill-after-second")
        << "\"$@\" & pid=$!\n"
           "while kill -0 $pid 2>/dev/null &&\n"
           "      [ \"$(cat p1.jsonl 2>/dev/null | wc -l)\" -lt 2 ]; do\n"
           "  sleep 0.005\n"
           "done\n"
           "kill -9 $pid 2>/dev/null && echo killed; wait $pid; exit 0\n";
    const std::string batch = "batch in.txt --seed 57 -g 50 --stop-at-goal --jobs 1 ";
    ASSERT_EQ(runSolverBinary(folder.path, "", "", batch + "--output whole.jsonl --log whole.log")
                  .exitStatus,
              1)
        << "line 5 is not moves";
    const std::string part1 = batch + "--part 1/3 --output p1.jsonl --log p1.log.jsonl";
    const BinaryRun killed = runSolverBinary(folder.path, "", "bash kill-after-second", part1);
    EXPECT_EQ(killed.out, "killed\n") << "part 1 was still solving";
    EXPECT_EQ(runSolverBinary(folder.path, "", "", part1 + " --resume").exitStatus, 0);
    for (const std::string k : {"2", "3"}) {
        runSolverBinary(
            folder.path, "", "",
            batch + "--part " + k + "/3 --output p" + k + ".jsonl --log p" + k + ".log.jsonl");
    }

    const BinaryRun merged =
        runSolverBinary(folder.path, "", "",
                        "merge --input in.txt --seed 57 -g 50 --stop-at-goal --output merged.jsonl "
                        "--log merged.log p3.jsonl p1.jsonl p2.jsonl");
    ASSERT_EQ(merged.exitStatus, 0) << merged.err;
    const auto whole = withoutSeconds(folder.path / "whole.jsonl");
    ASSERT_EQ(whole.size(), 7u);
    EXPECT_EQ(withoutSeconds(folder.path / "merged.jsonl"), whole);
    EXPECT_EQ(withoutSeconds(folder.path / "merged.log"),
              withoutSeconds(folder.path / "whole.log"));
}

TEST(Binary, MergeNamesTheLinesMissingRepeatedOrForeignAndWritesNothing) {
    TempFolder folder;
    std::ofstream(folder.path / "in.txt") << "R\nU\nF\nL U\n";
    const std::string batch = "batch in.txt -g 20 --stop-at-goal --jobs 1 ";
    runSolverBinary(folder.path, "", "", batch + "--seed 5 --part 1/2 --output p1.jsonl");
    runSolverBinary(folder.path, "", "", batch + "--seed 5 --part 2/2 --output p2.jsonl");
    runSolverBinary(folder.path, "", "", batch + "--seed 9 --part 2/2 --output other.jsonl");
    const std::string merge =
        "merge --input in.txt --seed 5 -g 20 --stop-at-goal --output m.jsonl ";
    const std::string notWritten =
        "cube-solver: the parts are not the whole batch of in.txt: nothing was written\n";
    const struct {
        std::string parts;
        std::string err;
    } cases[] = {
        {"p1.jsonl", "cube-solver: line 2: no record\ncube-solver: line 4: no record\n"},
        {"p1.jsonl p2.jsonl p1.jsonl",
         "cube-solver: line 1: two records, in p1.jsonl and p1.jsonl\n"
         "cube-solver: line 3: two records, in p1.jsonl and p1.jsonl\n"},
        {"p1.jsonl other.jsonl",
         "cube-solver: line 2: the record's seed is 11, the line asks 7\n"
         "cube-solver: line 4: the record's seed is 13, the line asks 9\n"},
    };
    for (const auto& [parts, err] : cases) {
        const BinaryRun run = runSolverBinary(folder.path, "", "", merge + parts);
        EXPECT_EQ(run.exitStatus, 2) << parts;
        EXPECT_EQ(run.err, err + notWritten) << parts;
        EXPECT_FALSE(std::filesystem::exists(folder.path / "m.jsonl")) << parts;
    }
    ASSERT_EQ(runSolverBinary(folder.path, "", "", merge + "p2.jsonl p1.jsonl").exitStatus, 0);

    for (const std::string part : {"0/3", "4/3", "a/b", "3"}) {
        const BinaryRun run = runSolverBinary(folder.path, "", "", batch + "--part " + part);
        EXPECT_EQ(run.exitStatus, 2) << part;
        EXPECT_EQ(run.err,
                  "cube-solver: --part must be K/N, part K of N with 1 <= K <= N (lines "
                  "K, K + N, K + 2N, ... of the input), not \"" +
                      part + "\"\n");
    }
}

}  // namespace
}  // namespace cubega
