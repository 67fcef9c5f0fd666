#include "cube/move_sequences.hpp"

#include <utility>

namespace cubega {

namespace {

bool areOpposite(int face, int other) {
    return (face + 3) % 6 == other;
}

// Clockwise quarter turns 0..3 of the two turns of one face together; 0 is no turn at all.
int mergedQuarterTurns(MoveCode first, MoveCode second) {
    return (quarterTurnsOfMove(first) + quarterTurnsOfMove(second)) % 4;
}

// Puts `merged` quarter turns of the face of the move at `at` there, or removes it for none.
void replaceWithMerged(std::vector<MoveCode>& moves, std::size_t at, int merged) {
    if (merged == 0) {
        moves.erase(moves.begin() + static_cast<std::ptrdiff_t>(at));
        return;
    }
    moves[at] = faceOf(moves[at]) + 6 * (merged - 1);
}

}  // namespace

// The result is built as a stack that stays simplified: no two turns of one face stand
// together, nor two of one face with only the opposite face between them, and opposite faces
// stand in order. A move pushed can merge only with the top or, over an opposite face, the
// turn below it, and removing either leaves the rest as it was.
std::vector<MoveCode> simplifyMoves(std::span<const MoveCode> moves) {
    std::vector<MoveCode> result;
    result.reserve(moves.size());
    for (const MoveCode move : moves) {
        const int face = faceOf(move);
        const std::size_t size = result.size();
        if (size >= 1 && faceOf(result[size - 1]) == face) {
            replaceWithMerged(result, size - 1, mergedQuarterTurns(result[size - 1], move));
        } else if (size >= 2 && areOpposite(faceOf(result[size - 1]), face) &&
                   faceOf(result[size - 2]) == face) {
            replaceWithMerged(result, size - 2, mergedQuarterTurns(result[size - 2], move));
        } else {
            result.push_back(move);
            if (size >= 1 && areOpposite(faceOf(result[size - 1]), face) &&
                faceOf(result[size - 1]) > face) {
                std::swap(result[size - 1], result[size]);
            }
        }
    }
    return result;
}

std::size_t faceTurnCount(std::span<const MoveCode> moves) {
    return moves.size();
}

std::size_t quarterTurnCount(std::span<const MoveCode> moves) {
    std::size_t count = 0;
    for (const MoveCode move : moves) {
        count += quarterTurnsOfMove(move) == 2 ? 2U : 1U;
    }
    return count;
}

}  // namespace cubega
