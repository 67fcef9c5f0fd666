// The block stage: a 2x2x3 block searched at twelve orientations of the cube, the best one
// committed.
//
// Every score looks at the one block that F and U turns never move (between D and B); to try
// the other eleven blocks the whole cube is turned first. Location n is reached by n / 3 y
// rotations, then one xy rotation if n % 3 == 1 or two x rotations if n % 3 == 2.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "cube/rotations.hpp"
#include "stages/stage_context.hpp"

namespace cubega {

// The whole-cube rotations that turn the scrambled cube to a location, in order (at most five).
class LocationRotations {
  public:
    void add(Rotation rotation) { rotations_[count_++] = rotation; }
    const Rotation* begin() const { return rotations_.data(); }
    const Rotation* end() const { return rotations_.data() + count_; }
    std::size_t size() const { return count_; }

  private:
    std::array<Rotation, 5> rotations_{};
    std::size_t count_ = 0;
};

LocationRotations rotationsOfLocation(std::int32_t location);

// Moves made on the cube turned by `rotations`, as moves of the cube before it was turned:
// applying them to the cube as it was held turns it as the moves turn the turned cube, with
// the same number of moves and no rotation (moves 0..17).
std::vector<MoveCode> movesAsHeld(std::span<const MoveCode> moves,
                                  const LocationRotations& rotations);

// The scrambled cube turned to location n, silently.
CubeState turnedToLocation(const CubeState& scrambled, std::int32_t location);

// The block's 20 facelets in the turned cube: on R, B, D and L, every facelet of the pieces
// between D and B (their corners, edges and the four centres).
inline constexpr std::array<int, 20> kBlockFacelets{22, 23, 25, 26, 30, 31, 32, 33, 34, 35,
                                                    39, 40, 41, 42, 43, 44, 48, 49, 51, 52};

// Where the block built at location n lies in the cube as held (before its rotations): the
// positions that the rotations bring to kBlockFacelets, in the same order.
std::array<int, kBlockFacelets.size()> blockFaceletsAsHeld(std::int32_t location);

// 100 * best block score - move count - 1600: -moveCount (0..-30) for a complete block,
// at most -100 per missing block point otherwise. Higher is better. For rows of 100 moves or
// more a block point is worth L + 1 in place of 100, so that it still outweighs any count.
std::int32_t locationGrade(std::int32_t objective, std::int32_t moveCount,
                           std::int32_t sequenceLength = kSequenceLength);

// The search ends when the best location has a complete block in at most 20 moves.
constexpr bool blockSearchIsDone(std::int32_t topGrade) {
    return topGrade >= -20;
}

// A location's goal, as its search tests its best row: a complete block in at most 20 moves.
bool blockGoalMet(const Evaluation& best);

// Searches all twelve locations (passes repeat from the saved populations until the best
// grade qualifies), then commits: the working cube is the scrambled cube turned to the chosen
// location with the block sequence applied;
// blockLocation, totalMoves, blockMoves and restrictToTwoFaces are set. The listener is told
// of each run, each pass, the ranking, the rotations of the commit and the stage's result.
void runBlockStage(const CubeState& scrambled, std::int32_t generations, SolveState& state,
                   StageContext& context);

}  // namespace cubega
