// The operators in the forms the tests find easiest to state: new tables returned by value,
// rows in their natural rank order, and rows put into an order.
#pragma once

#include <algorithm>
#include <numeric>
#include <span>
#include <vector>

#include "genetic/mutation.hpp"
#include "genetic/population.hpp"
#include "genetic/recombination.hpp"
#include "genetic/simplification.hpp"

namespace cubega::testing {

// A random source whose frozen clock seeds it once; later reseeds continue the stream.
struct FrozenRandom {
    FixedClock clock{{77, 1700000000}};
    RandomSource random{clock};
    FrozenRandom() { random.seedFromClock(); }
};

// Rows whose every slot differs from every other: row i, slot j holds 1000 i + j.
inline Population distinctRows(std::int32_t rows, std::int32_t slots) {
    Population population(rows, slots);
    for (std::int32_t i = 0; i < rows; ++i) {
        for (std::int32_t j = 0; j < slots; ++j) {
            population.row(i)[static_cast<std::size_t>(j)] = 1000 * i + j;
        }
    }
    return population;
}

inline std::vector<std::int32_t> identityOrder(std::int32_t rows) {
    std::vector<std::int32_t> order(static_cast<std::size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    return order;
}

// Recombination of rows that are already in rank order.
inline void recombineInto(const Population& from, Population& to,
                          const FirstParentChoice& firstParent, float crossoverRate,
                          RandomSource& random) {
    cubega::recombineInto(from, identityOrder(from.rows()), to, firstParent, crossoverRate, random);
}

inline Population recombine(const Population& population, float selectionPressure,
                            float crossoverRate, RandomSource& random) {
    Population result(population.rows(), population.slots());
    recombineInto(population, result, FirstParentChoice(population.rows(), selectionPressure),
                  crossoverRate, random);
    return result;
}

inline Population mutate(const Population& population, float mutationRate, RandomSource& random) {
    Population result = population;
    mutateInPlace(result, mutationRate, random);
    return result;
}

inline MoveSequence simplifySequence(const MoveSequence& sequence, RandomSource& random) {
    MoveSequence result = sequence;
    simplifyInPlace(result, random);
    return result;
}

// The rows of `from` in the given order.
inline void reorderRows(const Population& from, std::span<const std::int32_t> order,
                        Population& to) {
    for (std::int32_t r = 0; r < from.rows(); ++r) {
        const auto source = from.row(order[static_cast<std::size_t>(r)]);
        std::copy(source.begin(), source.end(), to.row(r).begin());
    }
}

}  // namespace cubega::testing
