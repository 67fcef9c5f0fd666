#include "run/console_input.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "run/run_error.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

struct Dialogue {
    std::istringstream in;
    testing::CaptureWriter console;
    ConsoleInput input{in, console};
    explicit Dialogue(std::string text) : in(std::move(text)) {}
};

TEST(FreeFormInput, FirstItemAfterLeadingBlanks) {
    EXPECT_EQ(firstItem("   42 and more"), "42");
    EXPECT_EQ(firstItem("\t7,8"), "7");
    EXPECT_EQ(firstItem("9/"), "9");
    EXPECT_EQ(firstItem("  R2 then\r"), "R2");
    EXPECT_EQ(firstItem("   "), "");
}

TEST(FreeFormInput, WholeNumbers) {
    EXPECT_EQ(parseWholeNumber("123"), 123);
    EXPECT_EQ(parseWholeNumber("-5"), -5);
    EXPECT_EQ(parseWholeNumber("+5"), 5);
    EXPECT_EQ(parseWholeNumber("2147483647"), 2147483647);
    EXPECT_EQ(parseWholeNumber("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "+", "-", "2147483648", "12abc", "1.5", "abc", "+-3", "0x10"}) {
        EXPECT_EQ(parseWholeNumber(bad), std::nullopt) << bad;
    }
}

TEST(AskInteger, TakesTheFirstValueOfTheLine) {
    Dialogue d("   17 is my answer\n");
    EXPECT_EQ(d.input.askInteger("Number?", IntegerRule{}, "a number"), 17);
    EXPECT_EQ(d.console.text, " Number?\n");
}

TEST(AskInteger, RefusesWhatIsNotAWholeNumberAndAsksAgain) {
    Dialogue d("ten\n99999999999\n\n   \n3\n");
    EXPECT_EQ(d.input.askInteger("Number?", IntegerRule{}, "a number"), 3);
    EXPECT_EQ(d.console.text,
              " Number?\n Please type a whole number, for example 100.\n"
              " Number?\n Please type a whole number, for example 100.\n Number?\n");
}

TEST(AskInteger, EnforcesTheRule) {
    Dialogue d("0\n-3\n20001\n5\n");
    IntegerRule rule{1, 100, "At least 1.", "At most 100."};
    EXPECT_EQ(d.input.askInteger("N?", rule, "n"), 5);
    EXPECT_EQ(d.console.text, " N?\n At least 1.\n N?\n At least 1.\n N?\n At most 100.\n N?\n");
}

TEST(AskInteger, EndOfInputStopsTheRunNamingWhatWasMissing) {
    Dialogue d("  \nabc");
    try {
        d.input.askInteger("N?", IntegerRule{}, "the number of generations");
        FAIL() << "expected a RunError";
    } catch (const RunError& error) {
        EXPECT_STREQ(error.what(),
                     "the console input ended before the number of generations was given");
    }
}

TEST(AskInteger, ALastLineWithoutNewlineStillCounts) {
    Dialogue d("12");
    EXPECT_EQ(d.input.askInteger("", IntegerRule{}, "n"), 12);
}

TEST(AskInteger, OverlongLinesAndNulBytesAreHandled) {
    std::string text(100000, '7');
    text += "\n";
    text += std::string("4\0x", 3) + "\n8\n";
    Dialogue d(text);
    EXPECT_EQ(d.input.askInteger("", IntegerRule{}, "n"), 8);
    EXPECT_EQ(std::count(d.console.text.begin(), d.console.text.end(), '\n'), 2);
}

TEST(ReadMove, TakesTwoCharactersPaddedWithABlank) {
    Dialogue d("R\n  U2 rest\nF'x\n");
    EXPECT_EQ(d.input.readMoveText("a move"), "R ");
    EXPECT_EQ(d.input.readMoveText("a move"), "U2");
    EXPECT_EQ(d.input.readMoveText("a move"), "F'");
}

TEST(ReadMove, RefusesLinesThatDoNotBeginWithAFaceLetter) {
    Dialogue d("r2\n2R\n'x\n\nD'\n");
    EXPECT_EQ(d.input.readMoveText("a move"), "D'");
    EXPECT_EQ(std::count(d.console.text.begin(), d.console.text.end(), '\n'), 3);
    EXPECT_NE(d.console.text.find("Not a move"), std::string::npos);
}

}  // namespace
}  // namespace cubega
