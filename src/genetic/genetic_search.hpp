// One genetic search: its parameters, its population and scores, and every buffer the
// generation loop needs, allocated once when the search is made and reused by every run.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cube/cube_state.hpp"
#include "eval/evaluation.hpp"
#include "genetic/generation_events.hpp"
#include "genetic/population.hpp"
#include "genetic/random_source.hpp"
#include "genetic/recombination.hpp"
#include "genetic/search_params.hpp"

namespace cubega {

// Throws std::invalid_argument, naming the first parameter outside the ranges a search
// serves (search_params.hpp).
void checkSearchParams(const SearchParams& params);

// The generations of a whole solve, counted across all its runs, and the limits that may end
// it before its goal: a number of generations in all, and a moment of the steady clock.
class GenerationBudget {
  public:
    std::optional<std::int64_t> maxGenerations;
    std::optional<std::chrono::steady_clock::time_point> deadline;

    std::int64_t generationsDone() const { return generationsDone_; }
    // Whether one more generation may start.
    bool allowsAnother() const {
        return (!maxGenerations || generationsDone_ < *maxGenerations) &&
               (!deadline || std::chrono::steady_clock::now() < *deadline);
    }
    void countGeneration() { ++generationsDone_; }

  private:
    std::int64_t generationsDone_ = 0;
};

// Thrown by a run whose budget allows no further generation: the generations it did (from 0)
// and, when it did any, its best.
struct GenerationBudgetSpent {
    std::int32_t generation = 0;
    std::optional<Evaluation> best;
};

// Whether an evaluation meets a stage's goal.
using GoalTest = bool (*)(const Evaluation&);

// What one run of the generation loop is told; the stages set it.
struct GenerationRun {
    std::int32_t generations = 0;       // G
    std::int32_t progressInterval = 0;  // P: a progress line when g is a multiple of P
    bool restrictToTwoFaces = false;    // fold every move onto F and U each generation
    GenerationListener* listener = nullptr;
    GoalTest stopAtGoal = nullptr;       // when set, the run ends after a generation that meets it
    GenerationBudget* budget = nullptr;  // counts every generation; may end the run early
};

// One search: it owns its population, its scores and every buffer of the generation loop, and
// is advanced by evolve(). Nothing outside changes its population: a stage starts it from a
// random population and evolves it, as often as it needs.
class GeneticSearch {
  public:
    // Parameters outside their ranges are a programming error (the front ends check them
    // first): std::invalid_argument.
    explicit GeneticSearch(const SearchParams& params = {});

    const SearchParams& params() const { return params_; }
    const Population& population() const { return population_; }
    const ScoreTable& scores() const { return scores_; }

    // The evaluation of population row 0 after evolve().
    const Evaluation& best() const { return scores_[0]; }
    // The leading moves of row 0 that its evaluation counts.
    std::span<const MoveCode> bestMoves() const;
    // All slots of row 0.
    std::span<const MoveCode> bestRow() const { return population_.row(0); }

    // A new random population, row by row, slot by slot (fill form).
    void startFromRandomPopulation(RandomSource& random);

    // A given population, of the search's shape.
    void startFrom(const Population& population) { population_ = population; }

    // Draws the random population that startFromRandomPopulation would, and keeps the
    // population it has: a search resumed where it stopped makes the same draws as a new one.
    void resumeWithRandomDrawsSpent(RandomSource& random);

    // Advances the population through run.generations generations (none when G <= 0), or
    // fewer: up to the first that meets run.stopAtGoal, when set. Each generation: fold onto F
    // and U (when restricted), simplify every row, evaluate every row from startCube, rank the
    // scores by objective, tell the listener of a progress point every P generations, replace
    // the K worst rows by random sequences, recombine, mutate. Returns the generations it
    // performed. Before each generation the budget, if any, is asked; when it allows none, throws
    // GenerationBudgetSpent.
    //
    // Afterwards population row 0 is the best row of the last ranking, unchanged by the
    // breeding that followed, and best() is its evaluation; the other scores no longer
    // describe their population rows.
    std::int32_t evolve(const GenerationRun& run, const CubeState& startCube, EvalMode mode,
                        RandomSource& random);

  private:
    void rankScores();
    GenerationStats statsOf(std::int32_t generation) const;

    SearchParams params_;
    FirstParentChoice firstParent_;
    Population population_;
    Population spare_;        // recombination writes here, then the two swap
    ScoreTable scores_;       // in rank order after a generation
    ScoreTable spareScores_;  // row order, as evaluated
    std::vector<std::int32_t> keys_;
    std::vector<std::int32_t> order_;  // order_[r]: the row at rank r
};

// The progress point of a ranked score table: the elite's evaluation and the mean objective,
// summed in 32 bits and truncated toward zero.
ProgressPoint progressPointOf(std::int32_t generation, const ScoreTable& scores);

}  // namespace cubega
