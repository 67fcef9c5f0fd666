#include "genetic/genetic_search.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "eval/evaluate.hpp"
#include "genetic/mutation.hpp"
#include "genetic/ranking.hpp"
#include "genetic/row_kernels.hpp"
#include "genetic/simplification.hpp"
#include "genetic/two_face_simplification.hpp"

namespace cubega {

namespace {

void checkRange(bool inRange, const std::string& what) {
    if (!inRange) {
        throw std::invalid_argument("search parameter out of range: " + what);
    }
}

std::string named(const char* name, std::int32_t low, std::int32_t high) {
    return std::string(name) + " (" + std::to_string(low) + " to " + std::to_string(high) + ")";
}

const SearchParams& checked(const SearchParams& params) {
    checkSearchParams(params);
    return params;
}

}  // namespace

void checkSearchParams(const SearchParams& params) {
    const std::int32_t rows = params.populationSize;
    const std::int32_t slots = params.sequenceLength;
    checkRange(rows >= kMinPopulationSize && rows <= kMaxPopulationSize,
               named("population size", kMinPopulationSize, kMaxPopulationSize));
    checkRange(slots >= kMinSequenceLength && slots <= kMaxSequenceLength,
               named("sequence length", kMinSequenceLength, kMaxSequenceLength));
    checkRange(params.immigrantCount >= 0 && params.immigrantCount < rows,
               named("immigrant count", 0, rows - 1));
    // Written so that a NaN is out of range too.
    const auto within = [](float value, float low, float high) {
        return value >= low && value <= high;
    };
    checkRange(within(params.mutationRate, 0.0F, 1.0F), "mutation rate (0 to 1)");
    checkRange(within(params.crossoverRate, 0.0F, 1.0F), "crossover rate (0 to 1)");
    checkRange(within(params.selectionPressure, 1.0F, 2.0F), "selection pressure (1 to 2)");
}

GeneticSearch::GeneticSearch(const SearchParams& params)
    : params_(checked(params)),
      firstParent_(params.populationSize, params.selectionPressure),
      population_(params.populationSize, params.sequenceLength),
      spare_(params.populationSize, params.sequenceLength),
      scores_(static_cast<std::size_t>(params.populationSize)),
      spareScores_(static_cast<std::size_t>(params.populationSize)),
      keys_(static_cast<std::size_t>(params.populationSize)),
      order_(static_cast<std::size_t>(params.populationSize)) {}

std::span<const MoveCode> GeneticSearch::bestMoves() const {
    return population_.row(0).first(static_cast<std::size_t>(std::max(best().moveCount, 0)));
}

void GeneticSearch::startFromRandomPopulation(RandomSource& random) {
    fillRandomly(population_, random);
}

void GeneticSearch::resumeWithRandomDrawsSpent(RandomSource& random) {
    fillRandomly(spare_, random);
}

// order_[r] is the row at rank r and the scores are put in rank order. The rows themselves
// stay where they are; recombination reads them through order_.
void GeneticSearch::rankScores() {
    for (std::size_t i = 0; i < spareScores_.size(); ++i) {
        keys_[i] = spareScores_[i].objective;
    }
    rankOrder(keys_, order_);
    for (std::size_t r = 0; r < scores_.size(); ++r) {
        scores_[r] = spareScores_[static_cast<std::size_t>(order_[r])];
    }
}

GenerationStats GeneticSearch::statsOf(std::int32_t generation) const {
    GenerationStats stats;
    stats.generation = generation;
    stats.best = scores_[0];
    std::int64_t sum = 0;
    stats.worst = scores_[0].objective;
    for (const Evaluation& row : scores_) {
        sum += row.objective;
        stats.worst = std::min(stats.worst, row.objective);
    }
    stats.mean = static_cast<double>(sum) / static_cast<double>(scores_.size());
    std::vector<std::span<const MoveCode>> rows;
    for (std::int32_t i = 0; i < population_.rows(); ++i) {
        rows.push_back(population_.row(i));
    }
    const auto less = [](std::span<const MoveCode> a, std::span<const MoveCode> b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
    };
    std::sort(rows.begin(), rows.end(), less);
    stats.distinct = rows.empty() ? 0 : 1;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        stats.distinct += less(rows[i - 1], rows[i]) ? 1 : 0;
    }
    return stats;
}

std::int32_t GeneticSearch::evolve(const GenerationRun& run, const CubeState& startCube,
                                   EvalMode mode, RandomSource& random) {
    if (run.generations <= 0) {
        return 0;
    }
    const SequenceEvaluator evaluate(startCube, mode);
    const std::int32_t rows = population_.rows();
    const auto slots = static_cast<std::size_t>(population_.slots());
    GenerationListener* const listener = run.listener;
    const bool logged = listener != nullptr && listener->keepsLogbook();
    std::int32_t previousBest = 0;
    // As often in time as at the program's sizes: the listener may be asked to stop the run.
    const std::int64_t work = std::int64_t{rows} * population_.slots();
    const auto observeEvery = static_cast<std::int32_t>(std::max<std::int64_t>(
        1, GenerationsDone::kObservedGenerations * kPopulationSize * kSequenceLength / work));
    for (std::int32_t g = 1; g <= run.generations; ++g) {
        if (run.budget != nullptr) {
            if (!run.budget->allowsAnother()) {
                throw GenerationBudgetSpent{g - 1, g > 1 ? std::optional(best()) : std::nullopt};
            }
            run.budget->countGeneration();
        }
        if (run.restrictToTwoFaces) {
            rowKernels().foldOntoTwoFaces(population_.codes().data(), population_.codes().size());
            simplifyTwoFaceRows(population_, random);
        } else {
            simplifyRows(population_, random);
        }
        // The evaluation writes the scores in row order; ranking puts them in rank order.
        evaluate.evaluateRows(population_.codes(), slots, spareScores_);
        rankScores();
        const bool progressPoint = run.progressInterval > 0 && g % run.progressInterval == 0;
        if (listener != nullptr && progressPoint) {
            listener->onGeneration(progressPointOf(g, scores_));
        }
        const bool goalMet = run.stopAtGoal != nullptr && run.stopAtGoal(scores_[0]);
        const bool last = goalMet || g == run.generations;
        if (logged) {
            const std::int32_t every = listener->logEvery();
            if (g == 1 || last || scores_[0].objective > previousBest || progressPoint ||
                (every > 0 && g % every == 0)) {
                listener->onGeneration(statsOf(g));
            }
            previousBest = scores_[0].objective;
        }
        for (std::int32_t r = rows - params_.immigrantCount; r < rows; ++r) {
            randomSequence(population_.row(order_[static_cast<std::size_t>(r)]), random);
        }
        recombineInto(population_, order_, spare_, firstParent_, params_.crossoverRate, random);
        std::swap(population_, spare_);
        mutateInPlace(population_, params_.mutationRate, random);
        if (listener != nullptr && (g % observeEvery == 0 || last)) {
            listener->onGeneration(GenerationsDone{g, run.generations});
        }
        if (goalMet) {
            return g;
        }
    }
    return run.generations;
}

ProgressPoint progressPointOf(std::int32_t generation, const ScoreTable& scores) {
    std::int32_t sum = 0;
    for (const Evaluation& row : scores) {
        sum += row.objective;
    }
    return {generation, scores[0], sum / static_cast<std::int32_t>(scores.size())};
}

}  // namespace cubega
