// The stack that simplification reads a row onto: what neighbouring moves on one face make
// together, and the step that pushes, merges or cancels one move. Shared by both forms of
// simplification.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "cube/moves.hpp"
#include "genetic/random_source.hpp"

namespace cubega {

// The move that a and b (codes 0..17 on one face) make together, or -1 when they cancel.
constexpr MoveCode mergedMove(MoveCode a, MoveCode b) {
    const int turns = (quarterTurnsOfMove(a) + quarterTurnsOfMove(b)) % 4;
    return turns == 0 ? -1 : faceOf(a) + 6 * (turns - 1);
}

// What simplification does with a move b read onto a stack whose top is a (codes 0..17, or
// kEmptyStack below an empty stack, which no move meets): push it (kDifferentFaces), cancel
// both (-1), or replace the top by the merged code.
inline constexpr std::int8_t kDifferentFaces = -2;
inline constexpr std::size_t kEmptyStack = kMoveCount;
inline constexpr auto kStackRule = [] {
    std::array<std::array<std::int8_t, kMoveCount>, kMoveCount + 1> rule{};
    for (MoveCode a = 0; a < kMoveCount; ++a) {
        for (MoveCode b = 0; b < kMoveCount; ++b) {
            rule[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] =
                faceOf(a) == faceOf(b) ? static_cast<std::int8_t>(mergedMove(a, b))
                                       : kDifferentFaces;
        }
    }
    rule[kEmptyStack].fill(kDifferentFaces);
    return rule;
}();

// A row being simplified: its stack is row[0, top), and `pending` refills wait to be read.
struct RowStack {
    std::size_t top = 0;
    std::size_t pending = 0;
};

// Pushes `move`, merges it into the top of the stack or cancels the two. The compiler keeps a
// branch on whether the move is pushed; a version with a mask select instead measured slower,
// since without speculation each step waits for the stack load of the one before.
inline void settle(MoveCode* row, RowStack& stack, MoveCode move) {
    const std::size_t below =
        stack.top == 0 ? kEmptyStack : static_cast<std::size_t>(row[stack.top - 1]);
    const std::int8_t rule = kStackRule[below][static_cast<std::size_t>(move)];
    const std::size_t kept = rule == kDifferentFaces ? 1 : 0;
    const std::size_t cancelled = rule == -1 ? 1 : 0;
    row[stack.top + kept - 1] = kept == 1 ? move : rule;  // a cancel's write is popped at once
    stack.top = stack.top + kept - cancelled;
    stack.pending += 1 - kept + cancelled;
}

// Draws and settles the refills of one row until none is left; the stack then fills the row.
inline void settleRefills(MoveCode* row, RowStack& stack, RandomSource& random) {
    while (stack.pending > 0) {
        --stack.pending;
        settle(row, stack, random.resetMove());
    }
}

}  // namespace cubega
