// One genetic search: its parameters, its population and scores, and every buffer the
// generation loop needs, allocated once when the search is made and reused by every run.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "cube/cube_state.hpp"
#include "eval/evaluation.hpp"
#include "genetic/population.hpp"
#include "genetic/random_source.hpp"
#include "genetic/recombination.hpp"
#include "io/record_writer.hpp"

namespace cubega {

// What stays the same for the whole life of a search.
struct SearchParams {
    std::int32_t populationSize = kPopulationSize;  // N
    std::int32_t sequenceLength = kSequenceLength;  // L
    std::int32_t immigrantCount = 5;                // K, worst rows replaced by random sequences
    float mutationRate = 0.05F;                     // pm, chance per slot of a random reset
    float crossoverRate = 0.8F;                     // pc, chance a parent pair is crossed
    float selectionPressure = 1.5F;                 // sp, linear ranking, between 1 and 2
};

// The sizes a search serves: N rows of L slots. Beside them K runs from 0 to N - 1 (row 0, the
// elite, is never replaced), pm and pc from 0 to 1 and sp from 1 to 2.
inline constexpr std::int32_t kMinPopulationSize = 2;
inline constexpr std::int32_t kMaxPopulationSize = 4096;
inline constexpr std::int32_t kMinSequenceLength = 1;
inline constexpr std::int32_t kMaxSequenceLength = 128;

// Throws std::invalid_argument, naming the first parameter outside its range.
void checkSearchParams(const SearchParams& params);

// Told how far a run of the generation loop has come, every kObservedGenerations generations
// and at the run's end: one branch a generation, and nothing when no one observes.
class GenerationObserver {
  public:
    static constexpr std::int32_t kObservedGenerations = 128;
    virtual ~GenerationObserver() = default;
    virtual void generationsDone(std::int32_t done, std::int32_t budget) = 0;
};

// What one run of the generation loop is told; the stages set it.
struct GenerationRun {
    std::int32_t generations = 0;       // G
    std::int32_t progressInterval = 0;  // P: a progress line when g is a multiple of P
    bool restrictToTwoFaces = false;    // fold every move onto F and U each generation
    GenerationObserver* observer = nullptr;
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

    // Advances the population through run.generations generations (none when G <= 0). Each
    // generation: fold onto F and U (when restricted), simplify every row, evaluate every row
    // from startCube, rank the scores by objective, print a progress line every P
    // generations, replace the K worst rows by random sequences, recombine, mutate.
    //
    // Afterwards population row 0 is the best row of the last ranking, unchanged by the
    // breeding that followed, and best() is its evaluation; the other scores no longer
    // describe their population rows.
    void evolve(const GenerationRun& run, const CubeState& startCube, EvalMode mode,
                RandomSource& random, RecordWriter& console);

  private:
    void rankScores();

    SearchParams params_;
    FirstParentChoice firstParent_;
    Population population_;
    Population spare_;        // recombination writes here, then the two swap
    ScoreTable scores_;       // in rank order after a generation
    ScoreTable spareScores_;  // row order, as evaluated
    std::vector<std::int32_t> keys_;
    std::vector<std::int32_t> order_;  // order_[r]: the row at rank r
};

// The progress line: generation, elite objective and move count, and the mean objective
// truncated toward zero, printed as a real.
void writeProgressLine(RecordWriter& console, std::int32_t generation, const ScoreTable& scores);

}  // namespace cubega
