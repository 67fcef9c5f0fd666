// The two stages after the block: entering the group of F and U turns with the block kept,
// then finishing with F and U turns.
#pragma once

#include <cstdint>

#include "eval/evaluation.hpp"
#include "stages/stage_context.hpp"

namespace cubega {

// The entry score of a cube in the two-generator group with its block complete, and the pair
// score of the solved cube: the goals of the two stages.
inline constexpr std::int32_t kEntryGoalScore = 170;
inline constexpr std::int32_t kSolvedPairScore = 48;

// The entry stage ends when a sequence reaches kEntryGoalScore in the entry score.
constexpr bool entryGoalReached(std::int32_t objective, std::int32_t moveCount) {
    return bestScore({objective, moveCount}) == kEntryGoalScore;
}

// The finish ends when a prefix solves the cube: best pair score kSolvedPairScore.
constexpr bool finishGoalReached(std::int32_t objective, std::int32_t moveCount) {
    return bestScore({objective, moveCount}) == kSolvedPairScore;
}

// The two goals as the searches test their best rows.
constexpr bool entryGoalMet(const Evaluation& best) {
    return entryGoalReached(best.objective, best.moveCount);
}
constexpr bool finishGoalMet(const Evaluation& best) {
    return finishGoalReached(best.objective, best.moveCount);
}

// Runs of the settings' entry generations (10000; 10 when the cube is already in the group)
// until the goal is reached; applies the winning moves to the working cube and adds them to
// totalMoves and entryMoves. From a cube already in the group, a best sequence of one move is not
// needed and is not applied.
void runTwoGenEntryStage(SolveState& state, StageContext& context);

// Runs of the settings' finish generations (200000), folded onto F and U, until a sequence
// solves the cube; adds
// its moves to totalMoves and finishMoves. The working cube is not turned.
void runTwoGenFinishStage(SolveState& state, StageContext& context);

}  // namespace cubega
