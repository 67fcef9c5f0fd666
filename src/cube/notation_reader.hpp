// Move texts as cube programs and cubers write them, beyond plain face turns:
//
//   face turns  F U R B D L, then nothing, 2, ', 2', '2 or 3 (= ')
//   wide turns  Rw or r (any face): the face and the middle layer behind it
//   slices      M (turns as L does), E (as D), S (as F)
//   rotations   x (as R), y (as U), z (as F): the whole cube
//   groups      ( ... ) with a repeat count and ' (the group undone) after it, in either order:
//               (R U R' U')3, (R U)', (R U)2'
//   brackets    [A, B] = A B A' B' and [A: B] = A B A', nested, with the suffixes of a group
//
// Blanks (space, tab, line ends) may be left out where the text stays unambiguous (RUR'U'); a
// suffix follows its move or group directly. Slices, wides and rotations move the centres: the
// cube a text leaves is taken as held at its end and its colours named by its centres, as
// cubeFromFaceletText reads a cube. So `x` alone leaves the solved cube, and `M` the cube of
// R L'.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"

namespace cubega {

// Where and why a text is not moves.
struct MoveTextError {
    std::size_t position = 0;  // the character (from 1) where reading stopped; 0: the whole text
    std::string detail;        // what was there and what was expected, printable ASCII

    friend bool operator==(const MoveTextError&, const MoveTextError&) = default;
};

struct MoveText {
    // Face turns 0..17 that take the solved cube to `cube`, named as the cube is held at the
    // end of the text. For a text of face turns alone, its moves as written.
    std::vector<MoveCode> moves;
    CubeState cube = solvedCube();  // the cube the text leaves, colours named by the centres
    bool plainFaceTurns = true;     // the text holds face turns only (no wide, slice, rotation,
                                    // group or bracket)
    std::optional<MoveTextError> error;  // when set, `moves` is empty and `cube` solved
};

// Reads a text of the notation above. It may expand to at most `maxFaceTurns` face turns
// (counted before anything cancels; a slice is two, a rotation none) and nest groups and
// brackets at most kMaxMoveTextNesting deep; beyond either it is refused.
MoveText readMoveText(std::string_view text, std::size_t maxFaceTurns);

inline constexpr std::size_t kMaxMoveTextNesting = 100;

// `character 5 of the scramble: "Q" is not a move (...)`, or for the whole text
// `the scramble expands to more than 10000 face turns`, with `what` naming the text.
std::string describeMoveTextError(const MoveTextError& error, std::string_view what = "the text");

}  // namespace cubega
