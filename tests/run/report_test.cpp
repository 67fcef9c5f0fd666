#include "run/report.hpp"
#include "run/results_log.hpp"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <filesystem>

#include "cube/rotations.hpp"
#include "run/run_error.hpp"
#include "stages/block_stage.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

// A cube that the solution R U (block), nothing (entry), F (finish) solves after the turns of
// location 4 (y, then xy).
CubeState scrambledForRUF() {
    const CubeState turned = applySequence(solvedCube(), testing::movesFromText("F' U' R' "));
    CubeState scrambled = rotateXY(rotateXY(turned));  // undo y, then xy: xy^2, then y^3
    for (int k = 0; k < 3; ++k) {
        scrambled = rotateY(scrambled);
    }
    return scrambled;
}

SolveResult solutionRUF() {
    SolveResult solution;
    solution.location = 4;
    solution.blockMoves = testing::movesFromText("R  U  ");
    solution.finishMoves = testing::movesFromText("F  ");
    solution.totalMoves = 3;
    solution.solution = movesAsHeld(testing::movesFromText("R  U  F  "), rotationsOfLocation(4));
    solution.selfCheckPassed = solutionSolves(scrambledForRUF(), solution);
    return solution;
}

TEST(Report, SolutionRecordsInOrderWithABlankLineForAnEmptyText) {
    const auto folder = testing::makeTempFolder();
    {
        ResultsLog log = ResultsLog(folder / "results.txt");
        testing::CaptureWriter console;
        writeReport(solutionRUF(), console, log);
        EXPECT_EQ(console.text, " Whole cube was solved in            3  moves :)\n\n");
    }
    EXPECT_EQ(testing::readFile(folder / "results.txt"),
              " Solution : \n R  U  \n \n F  \n total moves # :            3\n");
    std::filesystem::remove_all(folder);
}

TEST(Report, ALogThatCannotBeWrittenGivesNoClosingReport) {
#ifdef _WIN32
    GTEST_SKIP() << "no /dev/full";
#endif
    ResultsLog log = ResultsLog("/dev/full");
    testing::CaptureWriter console;
    try {
        writeReport(SolveResult{}, console, log);
        FAIL() << "expected a RunError";
    } catch (const RunError& error) {
        EXPECT_STREQ(error.what(), "cannot write /dev/full: No space left on device");
    }
    EXPECT_EQ(console.text, "");
}

TEST(Report, TheSolutionIsReplayedWithTheRotationsOfItsLocationAndAsHeld) {
    EXPECT_TRUE(solutionSolves(scrambledForRUF(), solutionRUF()));
    SolveResult elsewhere = solutionRUF();
    elsewhere.location = 3;
    EXPECT_FALSE(solutionSolves(scrambledForRUF(), elsewhere));
    SolveResult notAMove = solutionRUF();
    notAMove.entryMoves = {18};  // changes nothing, but its text reads back as F'

    EXPECT_FALSE(solutionSolves(scrambledForRUF(), notAMove));
    SolveResult heldWrong = solutionRUF();
    heldWrong.solution.back() += 6;
    EXPECT_FALSE(solutionSolves(scrambledForRUF(), heldWrong));
}

TEST(Report, ASolutionThatDoesNotSolveIsAnInternalFaultNotASuccess) {
    const auto folder = testing::makeTempFolder();
    SolveResult tampered = solutionRUF();
    tampered.finishMoves = testing::movesFromText("F2 ");  // one quarter turn too many
    tampered.selfCheckPassed = solutionSolves(scrambledForRUF(), tampered);
    testing::CaptureWriter console;
    {
        ResultsLog log(folder / "results.txt");
        log.write({"Scramble : "});
        try {
            writeReport(tampered, console, log);
            FAIL() << "expected an InternalFault";
        } catch (const InternalFault& fault) {
            EXPECT_STREQ(fault.what(),
                         "the solution does not solve the scrambled cube (block \"R  U  \", "
                         "entry \"\", finish \"F2 \")");
        }
    }
    EXPECT_EQ(console.text, "");
    EXPECT_EQ(testing::readFile(folder / "results.txt"),
              " Scramble : \n Solution : \n R  U  \n \n F2 \n"
              " The solution above does not solve the scrambled cube: internal fault.\n");
    std::filesystem::remove_all(folder);
}

TEST(ResultsLog, EveryRecordIsOnDiskAsSoonAsItIsWritten) {
    const auto folder = testing::makeTempFolder();
    ResultsLog log = ResultsLog(folder / "results.txt");
    log.write({"Scramble : "});
    EXPECT_EQ(testing::readFile(folder / "results.txt"), " Scramble : \n");
    log.close();
    std::filesystem::remove_all(folder);
}

// The descriptor of this process's open file at `path`, or -1.
int openDescriptorOf(const std::filesystem::path& path) {
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == path) {
            return std::stoi(entry.path().filename().string());
        }
    }
    return -1;
}

TEST(ResultsLog, AFailedCloseIsAnOrderlyStopWithItsReason) {
#if defined(_WIN32) || defined(__EMSCRIPTEN__)
    GTEST_SKIP() << "the open files are found in /proc/self/fd";
#endif
    const auto folder = testing::makeTempFolder();
    const auto path = std::filesystem::canonical(folder) / "results.txt";
    ResultsLog log(path);
    log.write({"Scramble : "});
    const int descriptor = openDescriptorOf(path);
    ASSERT_GE(descriptor, 0);
#ifndef _WIN32
    ::close(descriptor);  // the file is lost under the log: its own close must fail
#endif
    try {
        log.close();
        ADD_FAILURE() << "the close did not fail";
    } catch (const RunError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot close " + path.string() + ": Bad file descriptor");
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace cubega
