// Move sequences as a whole: a shorter equivalent of a solution, and its length in both of the
// metrics cubers count in.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "cube/moves.hpp"

namespace cubega {

// The moves 0..17 with every turn merged into the previous turn of its face when only turns of
// the opposite face stand between them (R R -> R2, R R' -> nothing, R L R' -> L, R L R -> R2 L),
// until nothing merges; turns of two opposite faces that stand together are put F before B,
// U before D, R before L. Never longer, the same cube, and simplifying the result changes
// nothing.
std::vector<MoveCode> simplifyMoves(std::span<const MoveCode> moves);

// Face-turn metric: every move counts one, a half turn too.
std::size_t faceTurnCount(std::span<const MoveCode> moves);

// Quarter-turn metric: a half turn counts two, a quarter turn either way one.
std::size_t quarterTurnCount(std::span<const MoveCode> moves);

}  // namespace cubega
