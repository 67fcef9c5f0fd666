#include "genetic/generation_loop.hpp"

#include <utility>

#include "genetic/operators.hpp"
#include "genetic/ranking.hpp"

namespace cubega {

namespace {

void foldPopulation(Population& population) {
    for (MoveCode& code : population.codes()) {
        code = foldOntoTwoFaces(code);
    }
}

void evaluateRows(const Population& population, ScoreTable& scores,
                  std::vector<Evaluation>& results, const SequenceEvaluator& evaluate) {
    evaluate.evaluateRows(population.codes(), static_cast<std::size_t>(population.slots()),
                          results);
    for (std::size_t i = 0; i < results.size(); ++i) {
        scores[i] = {results[i].objective, results[i].moveCount};
    }
}

// Ranks the scores: order[r] is the row at rank r and scores are put in rank order. The rows
// themselves stay where they are; recombination reads them through `order`.
void rankScores(ScoreTable& scores, std::vector<std::int32_t>& keys,
                std::vector<std::int32_t>& order, ScoreTable& spareScores) {
    for (std::size_t i = 0; i < scores.size(); ++i) {
        keys[i] = scores[i].objective;
    }
    rankOrder(keys, order);
    for (std::size_t r = 0; r < scores.size(); ++r) {
        spareScores[r] = scores[static_cast<std::size_t>(order[r])];
    }
    std::swap(scores, spareScores);
}

}  // namespace

void writeProgressLine(RecordWriter& console, std::int32_t generation, const ScoreTable& scores) {
    std::int32_t sum = 0;
    for (const ScoreRow& row : scores) {
        sum += row.objective;
    }
    const std::int32_t mean = sum / static_cast<std::int32_t>(scores.size());
    console.write({"Generation / elite/ moy. ", generation, scores[0].objective,
                   scores[0].moveCount, static_cast<float>(mean)});
}

void runGenerations(Population& population, ScoreTable& scores, std::vector<std::int32_t>& keys,
                    const SearchParams& params, const CubeState& startCube, EvalMode mode,
                    RandomSource& random, RecordWriter& console) {
    if (params.generations <= 0) {
        return;
    }
    const auto rows = static_cast<std::size_t>(params.populationSize);
    keys.resize(rows);
    scores.resize(rows);
    std::vector<std::int32_t> order(rows);
    ScoreTable spareScores(rows);
    std::vector<Evaluation> results(rows);
    Population spare(population.rows(), population.slots());
    const SequenceEvaluator evaluate(startCube, mode);
    const FirstParentChoice firstParent(population.rows(), params.selectionPressure);

    for (std::int32_t g = 1; g <= params.generations; ++g) {
        if (params.restrictToTwoFaces) {
            foldPopulation(population);
        }
        simplifyRows(population, random);
        evaluateRows(population, scores, results, evaluate);
        rankScores(scores, keys, order, spareScores);
        if (params.progressInterval > 0 && g % params.progressInterval == 0) {
            writeProgressLine(console, g, scores);
        }
        for (std::int32_t r = population.rows() - params.immigrantCount; r < population.rows();
             ++r) {
            randomSequence(population.row(order[static_cast<std::size_t>(r)]), random);
        }
        recombineInto(population, order, spare, firstParent, params.crossoverRate, random);
        std::swap(population, spare);
        mutateInPlace(population, params.mutationRate, random);
    }
}

}  // namespace cubega
