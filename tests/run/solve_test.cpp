// The solve function: the solution as held, the same moves for the cube before its rotations.
#include "run/solve.hpp"

#include <gtest/gtest.h>

#include <random>

#include "stages/block_stage.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

TEST(SolutionAsHeld, TurnsTheHeldCubeAsTheMovesTurnTheTurnedCubeAtEveryLocation) {
    std::mt19937 rng(31);
    for (int trial = 0; trial < 20; ++trial) {
        const CubeState held = testing::randomCube(rng, 25);
        const std::vector<MoveCode> moves = testing::randomMoves(rng, 30);
        for (std::int32_t location = 0; location < kLocationCount; ++location) {
            const std::vector<MoveCode> asHeld = movesAsHeld(moves, rotationsOfLocation(location));
            EXPECT_EQ(turnedToLocation(applySequence(held, asHeld), location),
                      applySequence(turnedToLocation(held, location), moves))
                << "location " << location;
        }
    }
}

}  // namespace
}  // namespace cubega
