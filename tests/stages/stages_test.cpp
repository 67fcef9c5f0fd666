#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cube/rotations.hpp"
#include "eval/evaluation.hpp"
#include "eval/scores.hpp"
#include "genetic/random_source.hpp"
#include "run/transcript.hpp"
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

// With rows of 100 moves or more a missing block point still weighs more than any count.
TEST(BlockGrade, ACompleteBlockOutranksAnyIncompleteOneAtEveryLength) {
    EXPECT_EQ(locationGrade(145, 5, 99), -105);
    EXPECT_EQ(locationGrade(145, 5, 128), -134);
    EXPECT_EQ(locationGrade(32, 128, 128), -128);  // complete after all 128 moves
    EXPECT_GT(locationGrade(32, 128, 128), locationGrade(149, 1, 128));
    EXPECT_EQ(locationGrade(0, 0, 128), -16 * 129);
    EXPECT_TRUE(blockSearchIsDone(locationGrade(140, 20, 128)));
    EXPECT_FALSE(blockSearchIsDone(locationGrade(149, 1, 128)));
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
    for (std::int32_t n = 0; n < kLocationCount; ++n) {
        const CubeState cube = turnedToLocation(solvedCube(), n);
        const std::set<int> atDownBack{cube[43], cube[34]};  // D7 and B7
        const std::set<int> expected{edges[static_cast<std::size_t>(n)][0],
                                     edges[static_cast<std::size_t>(n)][1]};
        EXPECT_EQ(atDownBack, expected) << "location " << n;
    }
}

// A location's search shows its rotations after its header, each y followed by an empty line;
// the committed location's rotations go to the console and the log, with no empty lines.
TEST(Locations, AnnounceTheirRotations) {
    testing::CaptureWriter console, log;
    Transcript transcript(console, log);
    transcript.onEvent(RunBegan{{Stage::block, 1, 11}, 500, false});
    const std::string header = " ------------2x2x3 position is :           11        ----------\n";
    const std::string y = " whole cube clockwise rotation around Oz (= y)\n";
    const std::string x = " whole cube rotation around LR horizontal axis (=x)\n";
    EXPECT_EQ(console.text, "\n" + header + y + "\n" + y + "\n" + y + "\n" + x + x);

    console.text.clear();
    for (const Rotation rotation : rotationsOfLocation(4)) {
        transcript.onEvent(CubeRotated{rotation});
    }
    EXPECT_EQ(turnedToLocation(solvedCube(), 4), rotateXY(rotateY(solvedCube())));
    const std::string expected = y + " whole cube rotation around FUR corner (=xy)\n";
    EXPECT_EQ(console.text, expected);
    EXPECT_EQ(log.text, expected);
    EXPECT_EQ(rotationsOfLocation(0).size(), 0u);
}

TEST(Locations, EveryLocationIsADifferentOrientation) {
    std::set<std::array<std::int32_t, kFaceletCount>> seen;
    for (std::int32_t n = 0; n < kLocationCount; ++n) {
        seen.insert(turnedToLocation(testing::distinctFacelets(), n).facelets);
    }
    EXPECT_EQ(seen.size(), 12u);
}

// The block's facelets, turned cube and cube as held: in the turned cube exactly the facelets
// that F and U turns leave in place (but those faces' centres); as held, those that the same
// two turns, carried back through the location's rotations, leave in place.
TEST(Locations, NameTheirBlocksFaceletsInTheCubeAsHeld) {
    const auto fixedByFrontAndUp = [](const std::vector<MoveCode>& frontAndUp) {
        const CubeState cube = testing::distinctFacelets();
        std::set<int> fixed;
        for (int i = 0; i < kFaceletCount; ++i) {
            bool still =
                i != centreOf(faceOf(frontAndUp[0])) && i != centreOf(faceOf(frontAndUp[1]));
            for (const MoveCode move : frontAndUp) {
                still = still && applyMove(cube, move)[i] == cube[i];
            }
            if (still) {
                fixed.insert(i);
            }
        }
        return fixed;
    };
    const std::vector<MoveCode> frontAndUp{kFront, kUp};
    EXPECT_EQ(std::set<int>(kBlockFacelets.begin(), kBlockFacelets.end()),
              fixedByFrontAndUp(frontAndUp));
    for (std::int32_t n = 0; n < kLocationCount; ++n) {
        const auto held = blockFaceletsAsHeld(n);
        EXPECT_EQ(std::set<int>(held.begin(), held.end()),
                  fixedByFrontAndUp(movesAsHeld(frontAndUp, rotationsOfLocation(n))))
            << "location " << n;
    }
}

// The services of a stage with a frozen clock, its console captured.
struct StageRun {
    FixedClock clock;
    RandomSource random{clock};
    testing::CaptureWriter console, log;
    Transcript transcript{console, log};
    StageContext context{random, &transcript};

    explicit StageRun(ClockReading reading) : clock(reading) { random.seedFromClock(); }
};

std::size_t countOf(const std::string& text, const std::string& line) {
    std::size_t count = 0;
    for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
        ++count;
    }
    return count;
}

// The objective of every location report, in the order printed.
std::vector<std::int32_t> reportedObjectives(const std::string& console) {
    std::vector<std::int32_t> objectives;
    const std::string label = " perfo, # moves, entropy\n";
    for (std::size_t at = console.find(label); at != std::string::npos;
         at = console.find(label, at + 1)) {
        std::istringstream numbers(console.substr(at + label.size(), 40));
        std::int32_t objective = 0;
        numbers >> objective;
        objectives.push_back(objective);
    }
    return objectives;
}

TEST(BlockStage, ALaterPassContinuesEachLocationFromWhereItStopped) {
    // Two generations a search cannot build a complete block from this scramble: the stage
    // makes pass after pass, each location going on from its own population, whose elite
    // never gets worse. Fresh random populations would fall back often.
    StageRun stage({40, 1765000000});
    const CubeState scrambled = applySequence(
        solvedCube(), testing::movesFromText("R  U  F' L2 D  B' R2 U' F  D2 L' B2 U  R' "));
    SolveState state;
    runBlockStage(scrambled, 2, state, stage.context);
    const std::string& console = stage.console.text;
    const std::size_t passes = countOf(console, " ------------2x2x3 position is :            0 ");
    ASSERT_GE(passes, 2u);
    EXPECT_EQ(
        countOf(console, " Adding generations to solve the 2x2x3: no good solution was found."),
        passes - 1);
    const std::vector<std::int32_t> objectives = reportedObjectives(console);
    ASSERT_EQ(objectives.size(), 12 * passes);
    for (std::size_t k = 12; k < objectives.size(); ++k) {
        EXPECT_GE(objectives[k], objectives[k - 12])
            << "location " << k % 12 << ", pass " << k / 12 + 1;
    }
    EXPECT_TRUE(blockSearchIsDone(locationGrade(
        objectives[objectives.size() - 12 + static_cast<std::size_t>(state.blockLocation)],
        state.totalMoves)));
}

TEST(TwoGenStages, RunsThatMissTheGoalAreFollowedByMoreRuns) {
    // F, R and U turns keep the block at location 0 and leave the cube outside the group of F
    // and U turns; runs of two generations are too short to enter it, or to finish a cube
    // deep in that group, at the first try.
    StageRun stage({41, 1765000000});
    SolveState state;
    state.workingCube = applySequence(solvedCube(), testing::movesFromText("F  R  U' F' "));
    ASSERT_FALSE(inTwoGenGroup(state.workingCube));
    stage.context.settings.entryGenerations = 2;
    stage.context.settings.finishGenerations = 2;
    runTwoGenEntryStage(state, stage.context);
    EXPECT_GE(countOf(stage.console.text, " Adding 10'000 gen. to solve this part\n"), 1u);
    EXPECT_TRUE(inTwoGenGroup(state.workingCube));
    EXPECT_EQ(blockScore(state.workingCube), 16);

    std::mt19937 rng(12);
    state.workingCube = testing::randomTwoFaceCube(rng, 10);
    stage.console.text.clear();
    runTwoGenFinishStage(state, stage.context);
    EXPECT_GE(
        countOf(stage.console.text, " Adding 200 000 more generations to solve this stage.\n"), 1u);
    EXPECT_TRUE(isSolved(applySequence(state.workingCube, state.finishMoves)));
}

}  // namespace
}  // namespace cubega
