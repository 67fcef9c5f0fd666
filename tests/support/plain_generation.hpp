// The generation loop written plainly, step by step as the search defines it: no batching,
// no bounds worked out in advance, no vectors. Every fast path of GeneticSearch::evolve is held
// to it, draw for draw.
#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <span>
#include <vector>

#include "eval/evaluate.hpp"
#include "genetic/genetic_search.hpp"
#include "support/operator_forms.hpp"

namespace cubega::testing {

// A population and its scores in rank order, as a search holds them after a generation.
struct PlainSearch {
    SearchParams params;
    Population population;
    ScoreTable scores;

    explicit PlainSearch(const SearchParams& searchParams)
        : params(searchParams),
          population(searchParams.populationSize, searchParams.sequenceLength),
          scores(static_cast<std::size_t>(searchParams.populationSize)) {}

    // A random sequence in the fill form: slot by slot, the real times 0.9999 times 18.
    static void fillRow(std::span<MoveCode> row, RandomSource& random) {
        for (MoveCode& slot : row) {
            slot = static_cast<MoveCode>(static_cast<double>(random.randomReal()) *
                                         static_cast<double>(0.9999F) * 18.0);
        }
    }

    void startFromRandomPopulation(RandomSource& random) {
        for (std::int32_t i = 0; i < population.rows(); ++i) {
            fillRow(population.row(i), random);
        }
    }

    // One generation: fold (when restricted), simplify, evaluate, rank, immigrants,
    // recombination, mutation.
    void generation(bool twoFaces, const CubeState& start, EvalMode mode, RandomSource& random) {
        const std::int32_t rows = population.rows();
        if (twoFaces) {
            for (MoveCode& code : population.codes()) {
                code = code % 2 + 6 * (code / 6);
            }
        }
        ScoreTable evaluated(static_cast<std::size_t>(rows));
        for (std::int32_t i = 0; i < rows; ++i) {
            std::vector<MoveCode> row(population.row(i).begin(), population.row(i).end());
            simplifyByRescanning(row, random);
            std::copy(row.begin(), row.end(), population.row(i).begin());
            evaluated[static_cast<std::size_t>(i)] =
                evaluateSequenceReference(start, population.row(i), mode);
        }
        std::vector<std::int32_t> order(static_cast<std::size_t>(rows));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
            return evaluated[static_cast<std::size_t>(a)].objective >
                   evaluated[static_cast<std::size_t>(b)].objective;
        });
        Population ranked(rows, population.slots());
        reorderRows(population, order, ranked);
        for (std::int32_t r = 0; r < rows; ++r) {
            scores[static_cast<std::size_t>(r)] =
                evaluated[static_cast<std::size_t>(order[static_cast<std::size_t>(r)])];
        }
        for (std::int32_t r = rows - params.immigrantCount; r < rows; ++r) {
            fillRow(ranked.row(r), random);
        }
        population = recombineByTheFloatTests(ranked, params.selectionPressure,
                                              params.crossoverRate, random);
        mutateSlotBySlot(population, params.mutationRate, random);
    }
};

}  // namespace cubega::testing
