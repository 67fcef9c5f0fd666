// The real cube-solver binary with a scripted console, in a folder of its own.
#include <gtest/gtest.h>

#include <fstream>

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

constexpr const char* kGreetingAndQuestions =
    " Genetic melvo's cube solver, version 2.1\n"
    "\n"
    " Solves the 3x3x3 cube in three genetic searches: a 2x2x3 block,\n"
    " then the group of F and U turns, then F and U turns to the end.\n"
    "\n"
    " Enter scramble type : 1 = random, 2 = User-defined\n"
    "\n"
    " Enter number of generations for simulation : \n";

TEST(Binary, EndOfInputBeforeTheFirstAnswer) {
    TempFolder folder;
    const BinaryRun run = runSolverBinary(folder.path, "");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err,
              "cube-solver: the console input ended before the scramble type was given\n");
    EXPECT_FALSE(std::filesystem::exists(folder.path / "results.txt"));
}

TEST(Binary, AResultsFolderInTheWayIsReportedWithItsReason) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path / "results.txt");
    const BinaryRun run = runSolverBinary(folder.path, "3\n100\n0\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "cube-solver: cannot create results.txt: Is a directory\n");
    EXPECT_EQ(run.out, kGreetingAndQuestions);
}

TEST(Binary, AReadOnlyFolderIsReportedWithItsReason) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    TempFolder folder;
    std::filesystem::permissions(folder.path, std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_exec);
    const BinaryRun run = runSolverBinary(folder.path, "3\n100\n0\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.err, "cube-solver: cannot create results.txt: Permission denied\n");
}

TEST(Binary, DefaultScrambleRunsToAReplayableSolution) {
    TempFolder folder;
    std::ofstream(folder.path / "results.txt") << "an older run\n";
    const BinaryRun run = runSolverBinary(folder.path, "3\n100\n0\n");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind(kGreetingAndQuestions, 0), 0u);
    const std::string scrambleLines =
        " R  D  R  B  L2 D  B' L  F  D  B' L  F  D  B' L  F  R2 D  F' U2 B  R  D' U2 B  R\n"
        "   D' U2 B  R  D' L2 R  D  U2 F2 \n";
    EXPECT_EQ(run.out.find(scrambleLines), std::string(kGreetingAndQuestions).size());
    EXPECT_TRUE(run.out.ends_with(" moves :)\n\n End of the program.\n")) << run.out;

    const std::string log = testing::readFile(folder.path / "results.txt");
    EXPECT_EQ(log.rfind(" Scramble : \n" + scrambleLines, 0), 0u) << "replaced, not appended";
    const testing::LoggedRun logged = testing::readResultsLog(folder.path / "results.txt");
    EXPECT_EQ(logged.scramble.size(), 37u);
    EXPECT_TRUE(testing::isSolved(testing::replayLoggedRun(logged))) << log;
    EXPECT_EQ(static_cast<std::size_t>(logged.total), logged.solution.size());
    const std::string totalLine = " Whole cube was solved in " +
                                  std::string(12 - std::to_string(logged.total).size(), ' ') +
                                  std::to_string(logged.total) + "  moves :)\n";
    EXPECT_NE(run.out.find(totalLine), std::string::npos) << "console and log agree";
}

}  // namespace
}  // namespace cubega
