#include "stages/stage_context.hpp"

#include <algorithm>

namespace cubega {

namespace {

// Hands a run's events on to the solve's listener as the stage's events, where in the solve
// the run stands added.
class StageRunListener final : public GenerationListener {
  public:
    StageRunListener(const StageContext& context, StageRunAt at, std::int32_t populationSize)
        : context_(&context), at_(at), populationSize_(populationSize) {}

    // The listener for a GenerationRun: none when the solve has none.
    GenerationListener* forRun() { return context_->listener != nullptr ? this : nullptr; }

    bool keepsLogbook() const override { return context_->listener->logbookEvery().has_value(); }
    std::int32_t logEvery() const override {
        return context_->listener->logbookEvery().value_or(0);
    }

    void onGeneration(const GenerationEvent& event) override {
        std::visit([this](const auto& happened) { context_->tell(stageEvent(happened)); }, event);
    }

  private:
    ProgressPointReached stageEvent(const ProgressPoint& point) const {
        return {at_, point.generation, point.best, point.meanObjective};
    }

    StageProgress stageEvent(const GenerationsDone& done) const {
        return {at_.stage, at_.run, std::max(at_.location, 0), done.done, done.budget};
    }

    LogbookRow stageEvent(const GenerationStats& stats) const {
        LogbookRow row;
        row.stage = at_.stage;
        row.location = at_.location;
        row.run = at_.run;
        row.generation = stats.generation;
        const std::int64_t generations =
            context_->budget != nullptr ? context_->budget->generationsDone() : 0;
        row.evaluations = generations * populationSize_;
        row.best = stats.best.objective;
        row.bestMoves = stats.best.moveCount;
        row.mean = stats.mean;
        row.worst = stats.worst;
        row.distinct = stats.distinct;
        row.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - context_->start)
                .count();
        return row;
    }

    const StageContext* context_;
    StageRunAt at_;
    std::int64_t populationSize_;
};

}  // namespace

std::int32_t runStageSearch(GeneticSearch& search, GenerationRun run, GoalTest goal,
                            const CubeState& start, EvalMode mode, StageContext& context,
                            StageRunAt at) {
    context.tell(RunBegan{at, run.generations, run.restrictToTwoFaces});
    StageRunListener listener(context, at, search.params().populationSize);
    run.listener = listener.forRun();
    run.budget = context.budget;
    run.stopAtGoal = context.settings.stopAtGoal ? goal : nullptr;
    try {
        return search.evolve(run, start, mode, context.random);
    } catch (const GenerationBudgetSpent& spent) {
        StopPoint where{at.stage, at.location, at.run, spent.generation, {}, {}};
        if (spent.best) {
            where.best = spent.best->objective;
            where.bestMoves = spent.best->moveCount;
        }
        throw SearchStopped{where};
    }
}

}  // namespace cubega
