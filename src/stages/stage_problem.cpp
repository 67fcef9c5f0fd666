#include "stages/stage_problem.hpp"

#include <chrono>
#include <stdexcept>
#include <string>

#include "eval/evaluate.hpp"
#include "eval/scores.hpp"
#include "genetic/clock.hpp"
#include "genetic/genetic_search.hpp"
#include "genetic/random_source.hpp"
#include "stages/block_stage.hpp"
#include "stages/stage_context.hpp"
#include "stages/two_gen_stages.hpp"

namespace cubega {

namespace {

void require(bool holds, const std::string& message) {
    if (!holds) {
        throw std::invalid_argument(message);
    }
}

EvalMode modeOf(Stage stage) {
    switch (stage) {
        case Stage::block:
            return kBlockMode;
        case Stage::entry:
            return kTwoGenEntryMode;
        case Stage::finish:
            return kPairMode;
    }
    return kBlockMode;
}

// The stage's own start condition, for the cube turned to the location.
void requireStageStart(Stage stage, const CubeState& turned, std::int32_t location) {
    const std::string where = "location " + std::to_string(location);
    if (stage == Stage::entry) {
        require(blockScore(turned) == kCompleteBlockScore,
                "the cube's block at " + where +
                    " is not complete: the entry stage starts from a "
                    "built block");
    } else if (stage == Stage::finish) {
        require(blockScore(turned) == kCompleteBlockScore,
                "the cube's block at " + where +
                    " is not complete: the finish starts from a built block in the group of F "
                    "and U turns");
        require(inTwoGenGroup(turned), "the cube turned to " + where +
                                           " is not in the group of F and U turns: the finish "
                                           "starts there");
    }
}

GoalTest goalOf(Stage stage) {
    switch (stage) {
        case Stage::block:
            return blockGoalMet;
        case Stage::entry:
            return entryGoalMet;
        case Stage::finish:
            return finishGoalMet;
    }
    return blockGoalMet;
}

}  // namespace

StageProblem makeStageProblem(Stage stage, const CubeState& cube, std::int32_t location,
                              std::int32_t length) {
    require(location >= 0 && location < kLocationCount,
            "location must be a whole number from 0 to 11");
    require(length >= kMinSequenceLength && length <= kMaxSequenceLength,
            "length must be a whole number from " + std::to_string(kMinSequenceLength) + " to " +
                std::to_string(kMaxSequenceLength));
    StageProblem problem;
    problem.stage = stage;
    problem.location = location;
    problem.length = length;
    problem.start = turnedToLocation(cube, location);
    problem.mode = modeOf(stage);
    requireStageStart(stage, problem.start, location);
    // As the stages search: the block stage folds a location whose cube is in the group.
    problem.folded =
        stage == Stage::finish || (stage == Stage::block && inTwoGenGroup(problem.start));
    return problem;
}

std::int32_t stageTargetScore(Stage stage) {
    switch (stage) {
        case Stage::block:
            return kCompleteBlockScore;
        case Stage::entry:
            return kEntryGoalScore;
        case Stage::finish:
            return kSolvedPairScore;
    }
    return 0;
}

bool stageGoalMet(Stage stage, const Evaluation& evaluation) {
    return goalOf(stage)(evaluation);
}

void prepareRows(const StageProblem& problem, std::span<MoveCode> codes) {
    if (problem.folded) {
        for (MoveCode& code : codes) {
            code = foldOntoTwoFaces(code);
        }
    }
}

std::vector<MoveCode> countedMoves(const StageProblem& problem, std::span<const MoveCode> row) {
    const Evaluation evaluation = evaluateSequenceReference(problem.start, row, problem.mode);
    const auto counted = row.first(static_cast<std::size_t>(evaluation.moveCount));
    return {counted.begin(), counted.end()};
}

StageSearchResult searchStageProblem(const StageProblem& problem, const StageSearchSetup& setup) {
    SearchSettings settings;
    settings.params = setup.params;
    settings.params.sequenceLength = problem.length;
    settings.stopAtGoal = true;
    FixedClock clock({0, setup.seed});
    RandomSource random(clock);
    random.seedFromClock();
    GenerationBudget counter;  // no limit: it counts the generations the logbook's rows name
    StageContext context{random, setup.listener, settings, &counter};

    GeneticSearch search(settings.params);
    search.startFromRandomPopulation(random);
    const std::int32_t location = problem.stage == Stage::block ? problem.location : -1;
    const GenerationRun run{setup.generations, progressIntervalOf(problem.stage), problem.folded};
    StageSearchResult result;
    result.generations = runStageSearch(search, run, goalOf(problem.stage), problem.start,
                                        problem.mode, context, {problem.stage, 1, location});
    result.best = search.best();
    result.bestRow.assign(search.bestRow().begin(), search.bestRow().end());
    result.evaluations = counter.generationsDone() * settings.params.populationSize;
    result.goalMet = stageGoalMet(problem.stage, result.best);
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - context.start).count();
    return result;
}

}  // namespace cubega
