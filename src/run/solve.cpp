#include "run/solve.hpp"

#include <algorithm>
#include <chrono>
#include <optional>

#include "cube/move_sequences.hpp"
#include "stages/block_stage.hpp"
#include "stages/stage_context.hpp"
#include "stages/two_gen_stages.hpp"

namespace cubega {

namespace {

// Passes every event on, but StageProgress no more often than every kInterval, so that a
// listener that draws need not keep count.
class ThrottledListener final : public SolveListener {
  public:
    explicit ThrottledListener(SolveListener* listener) : listener_(listener) {}

    SolveListener* forStages() { return listener_ != nullptr ? this : nullptr; }

    void onEvent(const SolveEvent& event) override {
        if (std::holds_alternative<StageProgress>(event)) {
            const auto now = std::chrono::steady_clock::now();
            if (last_ && now - *last_ < kInterval) {
                return;
            }
            last_ = now;
        }
        listener_->onEvent(event);
    }
    std::optional<std::int32_t> logbookEvery() const override { return listener_->logbookEvery(); }

  private:
    static constexpr std::chrono::milliseconds kInterval{20};
    SolveListener* listener_;
    std::optional<std::chrono::steady_clock::time_point> last_;
};

}  // namespace

SolveResult solve(const SolveRequest& request, RandomSource& random) {
    const auto start = std::chrono::steady_clock::now();
    ThrottledListener listener(request.listener);
    GenerationBudget budget;
    budget.maxGenerations = request.budget.maxGenerations;
    if (request.budget.timeLimitSeconds) {
        budget.deadline =
            start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(*request.budget.timeLimitSeconds));
    }
    StageContext context{random, listener.forStages(), request.settings, &budget, start};
    SolveState state;
    std::optional<StopPoint> stoppedAt;
    try {
        runBlockStage(request.scrambledCube, request.settings.blockGenerations, state, context);
        runTwoGenEntryStage(state, context);
        runTwoGenFinishStage(state, context);
    } catch (const SearchStopped& stopped) {
        stoppedAt = stopped.where;
        StageRuns& runs = stopped.where.stage == Stage::block   ? state.blockRuns
                          : stopped.where.stage == Stage::entry ? state.entryRuns
                                                                : state.finishRuns;
        runs.runs = stopped.where.run;  // the run it stopped in counts, with its generations
        runs.generations += stopped.where.generation;
    }

    SolveResult result;
    result.stoppedAt = stoppedAt;
    result.evaluations =
        budget.generationsDone() * std::int64_t{request.settings.params.populationSize};
    result.location = state.blockLocation;
    const LocationRotations rotations = rotationsOfLocation(state.blockLocation);
    result.rotations.assign(rotations.begin(), rotations.end());
    result.blockMoves = state.blockMoves;
    result.entryMoves = state.entryMoves;
    result.finishMoves = state.finishMoves;
    result.totalMoves = state.totalMoves;
    std::vector<MoveCode> moves = state.blockMoves;
    moves.insert(moves.end(), state.entryMoves.begin(), state.entryMoves.end());
    moves.insert(moves.end(), state.finishMoves.begin(), state.finishMoves.end());
    const std::vector<MoveCode> held = movesAsHeld(moves, rotations);
    result.solution = simplifyMoves(held);
    const std::size_t ends[] = {state.blockMoves.size(),
                                state.blockMoves.size() + state.entryMoves.size(), held.size()};
    std::size_t before = 0;  // the counts add up to the solution's length
    for (std::size_t stage = 0; stage < 3; ++stage) {
        const std::size_t prefix =
            simplifyMoves(std::span<const MoveCode>(held).first(ends[stage])).size();
        const std::size_t merged = std::clamp(prefix, before, result.solution.size());
        result.solutionStages[stage] = merged - before;
        before = merged;
    }
    result.blockRuns = state.blockRuns;
    result.entryRuns = state.entryRuns;
    result.finishRuns = state.finishRuns;
    result.selfCheckPassed = result.solved() && solutionSolves(request.scrambledCube, result);
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

bool solutionSolves(const CubeState& scrambled, const SolveResult& result) {
    CubeState cube = turnedToLocation(scrambled, result.location);
    for (const std::vector<MoveCode>* stage :
         {&result.blockMoves, &result.entryMoves, &result.finishMoves}) {
        const std::optional<std::vector<MoveCode>> moves = movesFromText(movesToText(*stage));
        if (!moves) {
            return false;
        }
        cube = applySequence(cube, *moves);
    }
    return isSolved(cube) && isSolved(applySequence(scrambled, result.solution));
}

std::string_view rotationName(Rotation rotation) {
    switch (rotation) {
        case Rotation::y:
            return "y";
        case Rotation::x:
            return "x";
        case Rotation::xy:
            return "xy";
    }
    return "";
}

}  // namespace cubega
