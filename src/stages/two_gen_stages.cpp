#include "stages/two_gen_stages.hpp"

#include <algorithm>

#include "cube/moves.hpp"
#include "eval/evaluate.hpp"
#include "eval/scores.hpp"
#include "genetic/genetic_search.hpp"

namespace cubega {

namespace {

constexpr std::int32_t kEntryProgressInterval = 5000;
constexpr std::int32_t kFinishProgressInterval = 10000;

bool entryGoalMet(const Evaluation& best) {
    return entryGoalReached(best.objective, best.moveCount);
}

bool finishGoalMet(const Evaluation& best) {
    return finishGoalReached(best.objective, best.moveCount);
}

}  // namespace

void runTwoGenEntryStage(SolveState& state, StageContext& context) {
    RecordWriter& console = context.console;
    const bool inGroupAtStart = inTwoGenGroup(state.workingCube);
    // Folded onto F and U, a cube outside the group could never enter it: search freely.
    if (state.restrictToTwoFaces && !inGroupAtStart) {
        state.restrictToTwoFaces = false;
    }
    const GenerationRun run{inGroupAtStart ? context.settings.entryGenerationsInGroup
                                           : context.settings.entryGenerations,
                            kEntryProgressInterval, state.restrictToTwoFaces};
    GeneticSearch search(context.settings.params);
    search.startFromRandomPopulation(context.random);
    state.entryRuns = {};
    for (;;) {
        ++state.entryRuns.runs;
        state.entryRuns.generations +=
            runStageSearch(search, run, entryGoalMet, state.workingCube, kTwoGenEntryMode, context,
                           {Stage::entry, state.entryRuns.runs});
        const Evaluation best = search.best();
        if (best.moveCount == 1 && inGroupAtStart) {
            console.write({"Cube was already in the 2-gen group."});
        }
        if (entryGoalReached(best.objective, best.moveCount)) {
            break;
        }
        console.write({"Adding 10'000 gen. to solve this part"});
    }
    console.write({"Getting into 2-gen phase is done :)"});
    const std::int32_t moveCount = search.best().moveCount;
    // One move that reaches the goal from a cube already in the group is not needed.
    const bool movesNeeded = moveCount > 1 || (moveCount == 1 && !inGroupAtStart);
    state.entryMoves.clear();
    if (movesNeeded) {
        const auto moves = search.bestMoves();
        state.workingCube = applySequence(state.workingCube, moves);
        state.totalMoves += moveCount;
        state.entryMoves.assign(moves.begin(), moves.end());
        console.write({"optimal :"});
        console.write({movesToText(moves)});
        console.write({"# moves"});
        console.write({moveCount});
    }
    console.writeBlank();
}

void runTwoGenFinishStage(SolveState& state, StageContext& context) {
    RecordWriter& console = context.console;
    const GenerationRun run{context.settings.finishGenerations, kFinishProgressInterval, true};
    GeneticSearch search(context.settings.params);
    search.startFromRandomPopulation(context.random);
    state.finishRuns = {};
    for (;;) {
        ++state.finishRuns.runs;
        state.finishRuns.generations +=
            runStageSearch(search, run, finishGoalMet, state.workingCube, kPairMode, context,
                           {Stage::finish, state.finishRuns.runs});
        if (finishGoalReached(search.best().objective, search.best().moveCount)) {
            break;
        }
        console.write({"Adding 200 000 more generations to solve this stage."});
    }
    const Evaluation best = search.best();
    state.finishMoves.assign(search.bestMoves().begin(), search.bestMoves().end());
    console.write({"optimal :"});
    console.write({movesToText(state.finishMoves)});
    console.write({"fobj / # moves / entropy"});
    console.write({best.objective, best.moveCount, bestScore(best)});
    state.totalMoves += best.moveCount;
}

}  // namespace cubega
