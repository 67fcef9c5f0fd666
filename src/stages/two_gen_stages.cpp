#include "stages/two_gen_stages.hpp"

#include <algorithm>

#include "cube/moves.hpp"
#include "eval/evaluate.hpp"
#include "eval/scores.hpp"
#include "genetic/genetic_search.hpp"

namespace cubega {

void runTwoGenEntryStage(SolveState& state, StageContext& context) {
    const bool inGroupAtStart = inTwoGenGroup(state.workingCube);
    // Folded onto F and U, a cube outside the group could never enter it: search freely.
    if (state.restrictToTwoFaces && !inGroupAtStart) {
        state.restrictToTwoFaces = false;
    }
    const GenerationRun run{inGroupAtStart ? context.settings.entryGenerationsInGroup
                                           : context.settings.entryGenerations,
                            progressIntervalOf(Stage::entry), state.restrictToTwoFaces};
    GeneticSearch search(context.settings.params);
    search.startFromRandomPopulation(context.random);
    state.entryRuns = {};
    for (;;) {
        ++state.entryRuns.runs;
        const StageRunAt at{Stage::entry, state.entryRuns.runs};
        state.entryRuns.generations += runStageSearch(search, run, entryGoalMet, state.workingCube,
                                                      kTwoGenEntryMode, context, at);
        const Evaluation best = search.best();
        const bool goalMet = entryGoalMet(best);
        const auto moves = search.bestMoves();
        context.tell(RunEnded{at, best, {moves.begin(), moves.end()}, goalMet, inGroupAtStart});
        if (goalMet) {
            break;
        }
        context.tell(RunExtended{Stage::entry});
    }
    const std::int32_t moveCount = search.best().moveCount;
    // One move that reaches the goal from a cube already in the group is not needed.
    const bool movesNeeded = moveCount > 1 || (moveCount == 1 && !inGroupAtStart);
    state.entryMoves.clear();
    if (movesNeeded) {
        const auto moves = search.bestMoves();
        state.workingCube = applySequence(state.workingCube, moves);
        state.totalMoves += moveCount;
        state.entryMoves.assign(moves.begin(), moves.end());
    }
    context.tell(StageDone{Stage::entry, state.entryMoves, search.best()});
}

void runTwoGenFinishStage(SolveState& state, StageContext& context) {
    const GenerationRun run{context.settings.finishGenerations, progressIntervalOf(Stage::finish),
                            true};
    GeneticSearch search(context.settings.params);
    search.startFromRandomPopulation(context.random);
    state.finishRuns = {};
    for (;;) {
        ++state.finishRuns.runs;
        const StageRunAt at{Stage::finish, state.finishRuns.runs};
        state.finishRuns.generations +=
            runStageSearch(search, run, finishGoalMet, state.workingCube, kPairMode, context, at);
        const bool goalMet = finishGoalMet(search.best());
        const auto moves = search.bestMoves();
        context.tell(RunEnded{at, search.best(), {moves.begin(), moves.end()}, goalMet, false});
        if (goalMet) {
            break;
        }
        context.tell(RunExtended{Stage::finish});
    }
    const Evaluation best = search.best();
    state.finishMoves.assign(search.bestMoves().begin(), search.bestMoves().end());
    state.totalMoves += best.moveCount;
    context.tell(StageDone{Stage::finish, state.finishMoves, best});
}

}  // namespace cubega
