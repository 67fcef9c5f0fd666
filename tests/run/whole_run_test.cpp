// Whole runs in-process: scripted console, frozen clock, results.txt replayed onto a cube.
#include <gtest/gtest.h>

#include <sstream>

#include "dialogue/driver.hpp"
#include "eval/evaluate.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

struct WholeRun {
    std::string console;
    std::string err;
    std::string log;
    int status = -1;
    testing::LoggedRun logged;
};

WholeRun runWholeSolve(const std::string& input, ClockReading clockReading) {
    const auto folder = testing::makeTempFolder();
    std::istringstream in(input);
    std::ostringstream out, err;
    FixedClock clock(clockReading);
    DialogueEnvironment environment{in, out, err, clock, folder / "results.txt"};
    WholeRun run;
    run.status = holdDialogue(environment);
    run.console = out.str();
    run.err = err.str();
    run.log = testing::readFile(folder / "results.txt");
    run.logged = testing::readResultsLog(folder / "results.txt");
    std::filesystem::remove_all(folder);
    return run;
}

void expectReplaysToSolved(const WholeRun& run) {
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(isSolved(testing::replayLoggedRun(run.logged))) << run.log;
    EXPECT_EQ(static_cast<std::size_t>(run.logged.total), run.logged.solution.size()) << run.log;
    EXPECT_TRUE(run.console.ends_with(" moves :)\n\n End of the program.\n"));
}

TEST(LongWholeRun, AFrontAndUpScrambleKeepsLocationZeroAndSkipsTheEntry) {
    // The last answer is not a number, and then the input ends: the run was complete.
    const WholeRun run = runWholeSolve("2\n40\n4\nF\nU2\nF'\nU\nbye\n", {100, 1765000000});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.console.ends_with(
        " End of the program.\n Please type a whole number, for example 100.\n"));
    EXPECT_TRUE(isSolved(testing::replayLoggedRun(run.logged))) << run.log;
    EXPECT_NE(run.console.find(" ------------2x2x3 position is :            0        ----------\n"
                               " 2-gen solve\n"),
              std::string::npos);
    EXPECT_NE(run.console.find(" Location searched :            0\n"), std::string::npos);
    EXPECT_NE(run.console.find(" Cube was already in the 2-gen group.\n"
                               " Getting into 2-gen phase is done :)\n\n"),
              std::string::npos);
    EXPECT_TRUE(run.logged.rotationLines.empty());
    // The block stage commits the one F or U move its elite begins with; the entry adds none.
    const std::string head = " Scramble : \n F  U2 F' U  \n Solution : \n";
    ASSERT_EQ(run.log.rfind(head, 0), 0u) << run.log;
    const std::string afterHead = run.log.substr(head.size());
    EXPECT_EQ(afterHead.find('\n'), 4u) << "one block move";
    EXPECT_EQ(afterHead.substr(5, 2), " \n") << "blank line for the entry text";
}

// The whole transcript of one run, pinned: any change to the output layout, the stages'
// messages or the order in which the search draws its random numbers shows up here.
TEST(WholeRun, GoldenTranscriptOfAFrontAndUpScramble) {
    const WholeRun run = runWholeSolve("2\n40\n4\nF\nU2\nF'\nU\n0\n", {100, 1765000000});
    const std::filesystem::path golden = CUBEGA_GOLDEN_DIR;
    EXPECT_EQ(run.console, testing::readFile(golden / "two_gen_scramble_console.txt"));
    EXPECT_EQ(run.log, testing::readFile(golden / "two_gen_scramble_results.txt"));
}

TEST(LongWholeRun, ShortScramblesReplayToSolved) {
    expectReplaysToSolved(runWholeSolve("2\n60\n2\nR\nU\n0\n", {7, 1765000100}));
    expectReplaysToSolved(runWholeSolve("2\n60\n3\nR\nU\nF\n0\n", {8, 1765000200}));
    const WholeRun random = runWholeSolve("1\n60\n8\n0\n", {9, 1765000300});
    expectReplaysToSolved(random);
    EXPECT_EQ(random.logged.scramble.size(), 8u);
}

TEST(LongWholeRun, AFrozenClockMakesTheWholeRunReproducible) {
    // A random 12-move scramble; this clock value gives a run of a few seconds.
    const std::string input = "1\n30\n12\n0\n";
    const WholeRun first = runWholeSolve(input, {324, 1765001000});
    const WholeRun second = runWholeSolve(input, {324, 1765001000});
    expectReplaysToSolved(first);
    EXPECT_EQ(first.console, second.console);
    EXPECT_EQ(first.log, second.log);
}

TEST(LongWholeRun, EveryEvaluationPathGivesTheSameRun) {
    const std::string input = "2\n30\n3\nR\nU'\nF2\n0\n";
    useBackEnd(BackEnd::portable);
    const WholeRun portable = runWholeSolve(input, {55, 1765002000});
    expectReplaysToSolved(portable);
    for (BackEnd path : kBackEnds) {
        if (path == BackEnd::portable || !backEndAvailable(path)) {
            continue;
        }
        useBackEnd(path);
        const WholeRun fast = runWholeSolve(input, {55, 1765002000});
        EXPECT_EQ(fast.console, portable.console) << backEndName(path);
        EXPECT_EQ(fast.log, portable.log) << backEndName(path);
    }
    useBackEnd(bestBackEnd());
}

}  // namespace
}  // namespace cubega
