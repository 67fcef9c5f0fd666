#include "run/report.hpp"

#include <gtest/gtest.h>

#include "run/run_error.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

TEST(Report, SolutionRecordsInOrderWithABlankLineForAnEmptyText) {
    const auto folder = testing::makeTempFolder();
    {
        ResultsLog log = openResultsLog(folder / "results.txt");
        testing::CaptureWriter console;
        SolveState solution;
        solution.blockText = "R  U  ";
        solution.finishText = "F  ";
        solution.totalMoves = 3;
        writeReport(solution, console, log);
        EXPECT_EQ(console.text, " Whole cube was solved in            3  moves :)\n\n");
    }
    EXPECT_EQ(testing::readFile(folder / "results.txt"),
              " Solution : \n R  U  \n \n F  \n total moves # :            3\n");
    std::filesystem::remove_all(folder);
}

TEST(Report, ALogThatCannotBeWrittenGivesNoClosingReport) {
    ResultsLog log = openResultsLog("/dev/full");
    testing::CaptureWriter console;
    SolveState solution;
    try {
        writeReport(solution, console, log);
        FAIL() << "expected a RunError";
    } catch (const RunError& error) {
        EXPECT_STREQ(error.what(), "cannot write /dev/full: No space left on device");
    }
    EXPECT_EQ(console.text, "");
}

TEST(ResultsLog, EveryRecordIsOnDiskAsSoonAsItIsWritten) {
    const auto folder = testing::makeTempFolder();
    ResultsLog log = openResultsLog(folder / "results.txt");
    log.logRecord({"Scramble : "});
    EXPECT_EQ(testing::readFile(folder / "results.txt"), " Scramble : \n");
    log.close();
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace cubega
