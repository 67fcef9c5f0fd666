#include <gtest/gtest.h>

#include <array>
#include <set>

#include "cube/rotations.hpp"
#include "eval/scores.hpp"
#include "stages/block_stage.hpp"
#include "stages/two_gen_stages.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

TEST(BlockGrade, CompleteBlocksGradeMinusTheirLength) {
    EXPECT_EQ(locationGrade(159, 1), -1);
    EXPECT_EQ(locationGrade(140, 20), -20);
    EXPECT_EQ(locationGrade(139, 21), -21);
    EXPECT_EQ(locationGrade(130, 30), -30);
    EXPECT_EQ(locationGrade(0, 0), -1600);   // nothing scored
    EXPECT_EQ(locationGrade(145, 5), -105);  // best block score 15 after 5 moves
}

TEST(BlockGrade, ACompleteBlockInTwentyMovesEndsTheSearchAndTwentyOneDoesNot) {
    EXPECT_TRUE(blockSearchIsDone(locationGrade(140, 20)));
    EXPECT_FALSE(blockSearchIsDone(locationGrade(139, 21)));
    EXPECT_TRUE(blockSearchIsDone(-1));
    EXPECT_FALSE(blockSearchIsDone(-105));
}

TEST(StageGoals, EntryAndFinishTestsAreExact) {
    EXPECT_TRUE(entryGoalReached(1698, 2));
    EXPECT_FALSE(entryGoalReached(1598, 2));  // block complete but outside the group: 160
    EXPECT_TRUE(finishGoalReached(465, 15));
    EXPECT_FALSE(finishGoalReached(455, 15));  // best score 47
}

// Where each location's block lies in the scrambled cube: the edge that comes to rest
// between D and B, named by its two faces.
TEST(Locations, BringEachOfTheTwelveEdgesBetweenDownAndBack) {
    const std::array<std::array<int, 2>, kLocationCount> edges{{{kDown, kBack},
                                                                {kBack, kLeft},
                                                                {kUp, kFront},
                                                                {kDown, kLeft},
                                                                {kLeft, kFront},
                                                                {kUp, kRight},
                                                                {kDown, kFront},
                                                                {kFront, kRight},
                                                                {kUp, kBack},
                                                                {kDown, kRight},
                                                                {kRight, kBack},
                                                                {kUp, kLeft}}};
    testing::CaptureWriter console;
    for (std::int32_t n = 0; n < kLocationCount; ++n) {
        const CubeState cube = orientToLocation(solvedCube(), n, console, nullptr);
        const std::set<int> atDownBack{cube[43], cube[34]};  // D7 and B7
        const std::set<int> expected{edges[static_cast<std::size_t>(n)][0],
                                     edges[static_cast<std::size_t>(n)][1]};
        EXPECT_EQ(atDownBack, expected) << "location " << n;
    }
}

TEST(Locations, AnnounceTheirRotations) {
    testing::CaptureWriter console, log;
    orientToLocation(solvedCube(), 11, console, nullptr);
    const std::string y = " whole cube clockwise rotation around Oz (= y)\n";
    const std::string x = " whole cube rotation around LR horizontal axis (=x)\n";
    EXPECT_EQ(console.text, y + "\n" + y + "\n" + y + "\n" + x + x);

    console.text.clear();
    const CubeState turned = orientToLocation(solvedCube(), 4, console, &log);
    EXPECT_EQ(turned, rotateXY(rotateY(solvedCube())));
    const std::string expected = y + " whole cube rotation around FUR corner (=xy)\n";
    EXPECT_EQ(console.text, expected);
    EXPECT_EQ(log.text, expected);

    console.text.clear();
    log.text.clear();
    EXPECT_EQ(orientToLocation(solvedCube(), 0, console, &log), solvedCube());
    EXPECT_EQ(console.text + log.text, "");
}

TEST(Locations, EveryLocationIsADifferentOrientation) {
    testing::CaptureWriter console;
    std::set<std::array<std::int32_t, kFaceletCount>> seen;
    for (std::int32_t n = 0; n < kLocationCount; ++n) {
        seen.insert(orientToLocation(testing::distinctFacelets(), n, console, nullptr).facelets);
    }
    EXPECT_EQ(seen.size(), 12u);
}

}  // namespace
}  // namespace cubega
