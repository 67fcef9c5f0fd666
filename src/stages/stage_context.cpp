#include "stages/stage_context.hpp"

namespace cubega {

namespace {

// Hands a run's generation counts on to the stage's observer as StageProgress.
class ObservedRun final : public GenerationObserver {
  public:
    ObservedRun(StageObserver* observer, StageProgress at) : observer_(observer), at_(at) {}

    // The observer for a GenerationRun: none when the stage has none.
    GenerationObserver* forRun() { return observer_ != nullptr ? this : nullptr; }

    void generationsDone(std::int32_t done, std::int32_t budget) override {
        at_.generationsDone = done;
        at_.generationsOfRun = budget;
        observer_->stageProgress(at_);
    }

  private:
    StageObserver* observer_;
    StageProgress at_;
};

// Hands a run's logged generations on to the solve's logbook as rows.
class LoggedRun final : public GenerationLog {
  public:
    LoggedRun(const StageContext& context, StageRunAt at, std::int32_t populationSize)
        : context_(&context), at_(at), populationSize_(populationSize) {}

    GenerationLog* forRun() { return context_->logbook != nullptr ? this : nullptr; }

    std::int32_t every() const override { return context_->logbook->every(); }

    void generationLogged(const GenerationStats& stats) override {
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
        context_->logbook->logRow(row);
    }

  private:
    const StageContext* context_;
    StageRunAt at_;
    std::int64_t populationSize_;
};

}  // namespace

std::int32_t runStageSearch(GeneticSearch& search, GenerationRun run, GoalTest goal,
                            const CubeState& start, EvalMode mode, StageContext& context,
                            StageRunAt at) {
    ObservedRun observed(context.observer,
                         {at.stage, at.run, std::max(at.location, 0), 0, run.generations});
    LoggedRun logged(context, at, search.params().populationSize);
    run.observer = observed.forRun();
    run.log = logged.forRun();
    run.budget = context.budget;
    run.stopAtGoal = context.settings.stopAtGoal ? goal : nullptr;
    try {
        return search.evolve(run, start, mode, context.random, context.console);
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
