#include "io/record_writer.hpp"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "cube/moves.hpp"
#include "run/scramble.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

std::string record(std::initializer_list<RecordItem> items) {
    testing::CaptureWriter writer;
    writer.write(items);
    return writer.text;
}

TEST(RecordLayout, FinalReportLine) {
    EXPECT_EQ(record({"Whole cube was solved in ", 42, " moves :)"}),
              " Whole cube was solved in           42  moves :)\n");
}

TEST(RecordLayout, TextAfterTextAdjoinsAndTextAfterANumberGetsOneBlank) {
    EXPECT_EQ(record({"ab", "cd"}), " abcd\n");
    EXPECT_EQ(record({"------------2x2x3 position is : ", 3, "       ----------"}),
              " ------------2x2x3 position is :            3        ----------\n");
    EXPECT_EQ(record({"total moves # : ", 37}), " total moves # :           37\n");
}

TEST(RecordLayout, IntegersTakeTwelveColumns) {
    EXPECT_EQ(record({159, 1, 16}), "         159           1          16\n");
    EXPECT_EQ(record({-2147483647 - 1}), " -2147483648\n");
}

TEST(RecordLayout, EmptyRecords) {
    testing::CaptureWriter writer;
    writer.writeBlank();
    EXPECT_EQ(writer.text, "\n");
    EXPECT_EQ(record({""}), " \n");
    EXPECT_EQ(record({std::string()}), " \n");
}

TEST(RecordLayout, ADefaultScrambleTextContinuesOnASecondLine) {
    const std::string text = movesToText(kDefaultScramble);
    ASSERT_EQ(text.size(), 111u);
    EXPECT_EQ(record({text}),
              " R  D  R  B  L2 D  B' L  F  D  B' L  F  D  B' L  F  R2 D  F' U2 B  R  D' U2 B  R\n"
              "   D' U2 B  R  D' L2 R  D  U2 F2 \n");
}

TEST(RecordLayout, ALongTextIsCutAtColumnEightyAgainAndAgain) {
    const std::string text(200, 'x');
    const std::string expected = " " + std::string(79, 'x') + "\n " + std::string(79, 'x') + "\n " +
                                 std::string(42, 'x') + "\n";
    EXPECT_EQ(record({text}), expected);
}

TEST(RecordLayout, ANumberThatDoesNotFitStartsANewLine) {
    EXPECT_EQ(record({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
              "           1           2           3           4           5           6\n"
              "            7           8           9          10          11          12\n");
    EXPECT_EQ(record({std::string(70, 'a'), 5}), " " + std::string(70, 'a') + "\n            5\n");
    EXPECT_EQ(record({std::string(67, 'a'), 5}), " " + std::string(67, 'a') + "           5\n");
}

TEST(RecordLayout, ATextThatDoesNotFitAfterOthersStartsANewLine) {
    EXPECT_EQ(record({std::string(70, 'a'), std::string(20, 'b')}),
              " " + std::string(70, 'a') + "\n " + std::string(20, 'b') + "\n");
}

TEST(RealFormat, FixedNotationFromOneTenthToBelowTenMillion) {
    EXPECT_EQ(formatReal(12.0F), "   12.00000    ");
    EXPECT_EQ(formatReal(0.1F), "  0.1000000    ");
    EXPECT_EQ(formatReal(1.0F), "   1.000000    ");
    EXPECT_EQ(formatReal(-15.0F), "  -15.00000    ");
    EXPECT_EQ(formatReal(1595.0F), "   1595.000    ");
    EXPECT_EQ(formatReal(1234567.0F), "   1234567.    ");
    EXPECT_EQ(formatReal(9999999.0F), "   9999999.    ");
}

TEST(RealFormat, ExponentFormOtherwiseZeroIncluded) {
    EXPECT_EQ(formatReal(0.0F), "  0.0000000E+00");
    EXPECT_EQ(formatReal(10000000.0F), "  0.1000000E+08");
    EXPECT_EQ(formatReal(0.05F), "  0.5000000E-01");
    EXPECT_EQ(formatReal(-123456789.0F), " -0.1234568E+09");
    EXPECT_EQ(formatReal(3.4028235e38F), "  0.3402823E+39");
    EXPECT_EQ(formatReal(0.099999999F), "  0.1000000    ") << "rounds up into fixed range";
}

TEST(RealFormat, AProgressLineWithAReal) {
    EXPECT_EQ(record({"Generation / elite/ moy. ", 10000, 465, 15, 299.0F}),
              " Generation / elite/ moy.        10000         465          15   299.0000    \n");
}

}  // namespace
}  // namespace cubega
