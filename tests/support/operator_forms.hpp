// The operators in the forms the tests find easiest to state: new tables returned by value,
// rows in their natural rank order, and rows put into an order; and the plain forms the fast
// operators are held to, written step by step as the search defines them.
#pragma once

#include <algorithm>
#include <cstddef>
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

// The merge table case by case: (kind of a, kind of b) -> result kind or cancel.
inline MoveCode mergeByTable(MoveCode a, MoveCode b) {
    const int f = a % 6;
    const MoveCode quarter = f, half = f + 6, anti = f + 12;
    if (a == quarter && b == quarter)
        return a + 6;
    if (a == quarter && b == half)
        return a + 12;
    if (a == half && b == quarter)
        return a + 6;
    if (a == half && b == anti)
        return a - 6;
    if (a == anti && b == half)
        return a - 12;
    if (a == anti && b == anti)
        return a - 6;
    return -1;  // f f', f' f, f2 f2
}

// Simplification the slow way: after every merge, scan again from the first slot.
inline void simplifyByRescanning(std::vector<MoveCode>& s, RandomSource& random) {
    random.seedFromClock();
    if (s.size() < 2)
        return;
    for (;;) {
        std::size_t i = 0;
        while (i + 1 < s.size() && s[i] % 6 != s[i + 1] % 6)
            ++i;
        if (i + 1 >= s.size())
            return;
        const MoveCode merged = mergeByTable(s[i], s[i + 1]);
        if (merged >= 0) {
            s[i] = merged;
            s.erase(s.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            s.push_back(random.resetMove());
        } else {
            s.erase(s.begin() + static_cast<std::ptrdiff_t>(i),
                    s.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            s.push_back(random.resetMove());
            s.push_back(random.resetMove());
        }
    }
}

// Recombination written with the float acceptance test, draw for draw as the search makes
// them, of rows in rank order.
inline Population recombineByTheFloatTests(const Population& from, float sp, float pc,
                                           RandomSource& random) {
    random.seedFromClock();
    const std::int32_t rows = from.rows();
    const std::int32_t slots = from.slots();
    Population to = from;
    for (std::int32_t pair = 0; pair < (rows - 1) / 2; ++pair) {
        const std::int32_t k = 1 + 2 * pair;
        std::int32_t first = 0;
        for (;;) {
            first = random.rowOffset(rows);
            const float r2 = random.randomReal();
            const float threshold =
                ((2.0F - sp) + 2.0F * r2 * (sp - 1.0F)) / static_cast<float>(rows);
            const float weight = (sp - (2.0F * sp - 2.0F) * static_cast<float>(first) /
                                           static_cast<float>(rows - 1)) /
                                 static_cast<float>(rows);
            if (threshold <= weight) {
                break;
            }
        }
        const std::int32_t second = random.rowOffset(rows);
        const std::int32_t cut = std::min(random.cutPoint(slots), slots - 1);
        const bool cross = random.chance(pc);
        for (std::int32_t j = 0; j < slots; ++j) {
            const bool head = !cross || j < cut;
            const auto slot = static_cast<std::size_t>(j);
            to.row(k)[slot] = (head ? from.row(first) : from.row(second))[slot];
            to.row(k + 1)[slot] = (head ? from.row(second) : from.row(first))[slot];
        }
    }
    return to;
}

// Mutation with one chance test per slot of rows 2.., and a reset-form move where it fires.
inline void mutateSlotBySlot(Population& population, float pm, RandomSource& random) {
    random.seedFromClock();
    for (std::int32_t i = 1; i < population.rows(); ++i) {
        for (MoveCode& slot : population.row(i)) {
            if (random.randomReal() < pm) {
                slot = static_cast<MoveCode>(static_cast<double>(random.randomReal()) *
                                             static_cast<double>(17.9982F));
            }
        }
    }
}

}  // namespace cubega::testing
