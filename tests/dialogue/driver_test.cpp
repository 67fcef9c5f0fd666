// The run driven in-process with a scripted console and a frozen clock.
#include "dialogue/driver.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "run/run_error.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

struct InProcessRun {
    std::filesystem::path folder = testing::makeTempFolder();
    std::istringstream in;
    std::ostringstream out, err;
    FixedClock clock{{250, 1765432100}};
    int status = -1;

    explicit InProcessRun(std::string input) : in(std::move(input)) {}
    ~InProcessRun() { std::filesystem::remove_all(folder); }

    std::filesystem::path results() const { return folder / "results.txt"; }
    void run() {
        DialogueEnvironment environment{in, out, err, clock, results()};
        status = holdDialogue(environment);
    }
};

TEST(Dialogue, GreetingAndBothQuestions) {
    std::istringstream in("  3 default please\n   100\n");
    testing::CaptureWriter console;
    ConsoleInput input(in, console);
    const DialogueAnswers settings = askDialogueAnswers(input, console);
    EXPECT_EQ(settings.scrambleType, ScrambleType::builtIn) << "3 keeps the built-in scramble";
    EXPECT_EQ(settings.generations, 100);
    EXPECT_EQ(console.text, testing::kGreetingAndQuestions);
}

TEST(Dialogue, GenerationsBelowOneAreAskedAgain) {
    std::istringstream in("1\n0\n-7\nmany\n25\n");
    testing::CaptureWriter console;
    ConsoleInput input(in, console);
    EXPECT_EQ(askDialogueAnswers(input, console).generations, 25);
    const std::string question = " Enter number of generations for simulation : \n";
    EXPECT_EQ(console.text.substr(console.text.find(question)),
              question + " The number of generations must be at least 1.\n" + question +
                  " The number of generations must be at least 1.\n" + question +
                  " Please type a whole number, for example 100.\n" + question);
}

TEST(Driver, InputEndingBeforeTheAnswersStopsWithStatusOneAndNoLog) {
    InProcessRun run("1\n");
    run.run();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.str(),
              "cube-solver: the console input ended before the number of generations was "
              "given\n");
    EXPECT_FALSE(std::filesystem::exists(run.results()));
}

TEST(Driver, AnUncreatableLogStopsBeforeAnySearch) {
    InProcessRun run("3\n10\n0\n");
    std::filesystem::create_directory(run.results());
    run.run();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.str(), "cube-solver: cannot create " + run.results().string() + ": " +
                                 testing::kFolderInTheWay + "\n");
    EXPECT_EQ(run.out.str(), testing::kGreetingAndQuestions) << "nothing after the questions";
}

TEST(Driver, InputEndingAmongTypedMovesKeepsTheLoggedScrambleLabel) {
    InProcessRun run("2\n10\n3\nR\n");
    run.run();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.str().find("every scramble move"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(run.results()));
}

TEST(Driver, AFaultOfTheProgramItselfIsStatusThreeAndAnOrderlyStopOne) {
    std::ostringstream err;
    EXPECT_EQ(exitStatusOf([] { throw InternalFault("the solution does not solve"); }, err), 3);
    EXPECT_EQ(err.str(), "cube-solver: internal fault: the solution does not solve\n");
    err.str("");
    EXPECT_EQ(exitStatusOf([] { throw RunError("the input ended"); }, err), 1);
    EXPECT_EQ(err.str(), "cube-solver: the input ended\n");
    err.str("");
    EXPECT_EQ(exitStatusOf([] {}, err), 0);
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace cubega
