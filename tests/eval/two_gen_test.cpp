// The two-generator group test, checked against what F and U turns really produce.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <map>
#include <random>
#include <set>

#include "cube/moves.hpp"
#include "eval/scores.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

using Arrangement = std::array<int, 6>;  // piece standing at each corner position

// The solved cube with corner piece arrangement[k] at position k (colours in the piece's own
// facelet order; twist plays no part), all edges solved.
CubeState withCorners(const Arrangement& arrangement) {
    const CubeState solved = solvedCube();
    CubeState cube = solved;
    for (std::size_t k = 0; k < 6; ++k) {
        const auto& from = kTwoGenCornerPositions[static_cast<std::size_t>(arrangement[k])];
        const auto& to = kTwoGenCornerPositions[k];
        for (std::size_t f = 0; f < 3; ++f) {
            cube[to[f]] = solved[from[f]];
        }
    }
    return cube;
}

// Which piece (by its set of colours) stands at each corner position.
Arrangement arrangementOf(const CubeState& cube) {
    const CubeState solved = solvedCube();
    const auto colours = [](const CubeState& c, const std::array<int, 3>& facelets) {
        std::array<int, 3> set{c[facelets[0]], c[facelets[1]], c[facelets[2]]};
        std::sort(set.begin(), set.end());
        return set;
    };
    Arrangement arrangement{};
    for (std::size_t k = 0; k < 6; ++k) {
        arrangement[k] = -1;
        for (int j = 0; j < 6; ++j) {
            if (colours(cube, kTwoGenCornerPositions[k]) ==
                colours(solved, kTwoGenCornerPositions[static_cast<std::size_t>(j)])) {
                arrangement[k] = j;
            }
        }
    }
    return arrangement;
}

std::set<Arrangement> arrangementsReachedByFrontAndUpTurns() {
    const Arrangement identity{0, 1, 2, 3, 4, 5};
    std::set<Arrangement> seen{identity};
    std::deque<Arrangement> queue{identity};
    while (!queue.empty()) {
        const Arrangement current = queue.front();
        queue.pop_front();
        for (MoveCode move : {0, 1}) {
            const Arrangement next = arrangementOf(applyMove(withCorners(current), move));
            if (seen.insert(next).second) {
                queue.push_back(next);
            }
        }
    }
    return seen;
}

// The allowed keys are exactly the keys of the arrangements F and U turns reach: each
// classification's key of each reachable arrangement is in the table, and every entry of the
// table is the key of one.
TEST(TwoGenGroup, TheAllowedKeysAreTheKeysOfReachableArrangements) {
    EXPECT_TRUE(inTwoGenGroup(solvedCube()));
    const auto keyOf = [](const Arrangement& arrangement, const std::array<int, 6>& classes) {
        std::int32_t key = 0;
        for (const int piece : arrangement) {
            key = 10 * key + classes[static_cast<std::size_t>(piece)];
        }
        return key;
    };
    std::set<std::int32_t> keysA, keysB;
    for (const Arrangement& arrangement : arrangementsReachedByFrontAndUpTurns()) {
        keysA.insert(keyOf(arrangement, kClassA));
        keysB.insert(keyOf(arrangement, kClassB));
    }
    const std::set<std::int32_t> allowed(kAllowedKeys.begin(), kAllowedKeys.end());
    EXPECT_EQ(allowed.size(), kAllowedKeys.size());
    EXPECT_EQ(keysA, allowed);
    EXPECT_EQ(keysB, allowed);
}

TEST(TwoGenGroup, ExactlyTheArrangementsOfFrontAndUpTurnsPass) {
    const std::set<Arrangement> reachable = arrangementsReachedByFrontAndUpTurns();
    ASSERT_EQ(reachable.size(), 120u);
    Arrangement arrangement{0, 1, 2, 3, 4, 5};
    int passing = 0;
    int total = 0;
    do {
        ++total;
        const bool passes = inTwoGenGroup(withCorners(arrangement));
        passing += passes ? 1 : 0;
        EXPECT_EQ(passes, reachable.count(arrangement) == 1);
    } while (std::next_permutation(arrangement.begin(), arrangement.end()));
    EXPECT_EQ(total, 720);
    EXPECT_EQ(passing, 120);
}

TEST(TwoGenGroup, SwappingTwoLayerCornersFails) {
    EXPECT_FALSE(inTwoGenGroup(withCorners({1, 0, 2, 3, 4, 5})));  // FDL with FDR: key 102201
}

TEST(TwoGenGroup, TwistingCornersChangesNothing) {
    CubeState cube = solvedCube();
    // Twist FUR in place and FDL the other way: colours turn within each corner.
    const auto twist = [&cube](const std::array<int, 3>& f) {
        const int first = cube[f[0]];
        cube[f[0]] = cube[f[1]];
        cube[f[1]] = cube[f[2]];
        cube[f[2]] = first;
    };
    twist(kTwoGenCornerPositions[3]);
    twist(kTwoGenCornerPositions[0]);
    twist(kTwoGenCornerPositions[0]);
    EXPECT_TRUE(inTwoGenGroup(cube));
}

TEST(TwoGenGroup, SingleTurnOfAnotherFaceFails) {
    for (MoveCode move : {kRight, kBack, kDown, kLeft}) {
        EXPECT_FALSE(inTwoGenGroup(applyMove(solvedCube(), move))) << "move " << move;
        EXPECT_FALSE(inTwoGenGroup(applyMove(solvedCube(), move + 12))) << "move " << move;
    }
}

TEST(TwoGenGroup, AFlippedLayerEdgeFailsAtEveryPosition) {
    for (const EdgePosition& edge : kTwoGenEdges) {
        CubeState cube = solvedCube();
        std::swap(cube[edge.primary], cube[edge.secondary]);
        EXPECT_FALSE(inTwoGenGroup(cube)) << "edge at " << edge.primary;
    }
}

TEST(TwoGenGroup, ABlockEdgeInAnyLayerEdgePositionFails) {
    const std::array<std::array<int, 2>, 5> blockEdges{
        {{43, 34}, {41, 25}, {39, 52}, {23, 30}, {48, 32}}};  // DB DR DL RB LB
    for (const EdgePosition& edge : kTwoGenEdges) {
        for (const auto& block : blockEdges) {
            for (int flip = 0; flip < 2; ++flip) {
                CubeState cube = solvedCube();
                const int a = block[static_cast<std::size_t>(flip)];
                const int b = block[static_cast<std::size_t>(1 - flip)];
                std::swap(cube[edge.primary], cube[a]);
                std::swap(cube[edge.secondary], cube[b]);
                EXPECT_FALSE(inTwoGenGroup(cube)) << edge.primary << " <- " << a;
            }
        }
    }
}

TEST(TwoGenGroup, ABlockCornerAmongTheLayerCornersFails) {
    CubeState cube = solvedCube();
    const std::array<int, 3> dbr{33, 44, 26};
    for (std::size_t f = 0; f < 3; ++f) {
        std::swap(cube[kTwoGenCornerPositions[3][f]], cube[dbr[f]]);
    }
    EXPECT_FALSE(inTwoGenGroup(cube));
}

TEST(TwoGenGroup, TheBlockItselfIsNotExamined) {
    CubeState cube = solvedCube();
    std::swap(cube[43], cube[41]);  // DB and DR exchanged...
    std::swap(cube[34], cube[25]);
    std::swap(cube[39], cube[52]);  // ...DL flipped...
    const int first = cube[33];     // ...DBR twisted
    cube[33] = cube[44];
    cube[44] = cube[26];
    cube[26] = first;
    EXPECT_LT(blockScore(cube), 16);
    EXPECT_TRUE(inTwoGenGroup(cube));
}

TEST(TwoGenGroup, EdgesSolvedCornersNotScoresBetweenTwentyFourAndFortySeven) {
    Arrangement arrangement{0, 1, 2, 3, 4, 5};
    while (std::next_permutation(arrangement.begin(), arrangement.end())) {
        const std::int32_t score = pairScore(withCorners(arrangement));
        EXPECT_GE(score, 24);
        EXPECT_LT(score, 48);
    }
}

}  // namespace
}  // namespace cubega
