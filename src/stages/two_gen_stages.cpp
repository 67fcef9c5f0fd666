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

GenerationRun withObserver(GenerationRun run, ObservedRun& observed) {
    run.observer = observed.forRun();
    return run;
}

}  // namespace

void runTwoGenEntryStage(SolveState& state, StageContext& context,
                         const TwoGenRunLengths& lengths) {
    RecordWriter& console = context.console;
    const bool inGroupAtStart = inTwoGenGroup(state.workingCube);
    // Folded onto F and U, a cube outside the group could never enter it: search freely.
    if (state.restrictToTwoFaces && !inGroupAtStart) {
        state.restrictToTwoFaces = false;
    }
    const GenerationRun run{
        inGroupAtStart ? lengths.entryGenerationsInGroup : lengths.entryGenerations,
        kEntryProgressInterval, state.restrictToTwoFaces};
    GeneticSearch search;
    search.startFromRandomPopulation(context.random);
    state.entryRuns = {};
    for (;;) {
        ++state.entryRuns.runs;
        state.entryRuns.generations += std::max(run.generations, 0);
        ObservedRun observed(context.observer, {Stage::entry, state.entryRuns.runs});
        search.evolve(withObserver(run, observed), state.workingCube, kTwoGenEntryMode,
                      context.random, console);
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

void runTwoGenFinishStage(SolveState& state, StageContext& context,
                          const TwoGenRunLengths& lengths) {
    RecordWriter& console = context.console;
    const GenerationRun run{lengths.finishGenerations, kFinishProgressInterval, true};
    GeneticSearch search;
    search.startFromRandomPopulation(context.random);
    state.finishRuns = {};
    for (;;) {
        ++state.finishRuns.runs;
        state.finishRuns.generations += std::max(run.generations, 0);
        ObservedRun observed(context.observer, {Stage::finish, state.finishRuns.runs});
        search.evolve(withObserver(run, observed), state.workingCube, kPairMode, context.random,
                      console);
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
