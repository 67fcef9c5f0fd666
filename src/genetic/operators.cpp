#include "genetic/operators.hpp"

#include <algorithm>

namespace cubega {

namespace {

// Linear-ranking weight of the row at rank i (0 = best): it falls from sp / N to (2 - sp) / N
// and the N weights sum to 1. Single precision, in the order the formula is written.
float rankingWeight(std::int32_t i, std::int32_t rows, float sp) {
    return (sp - (2.0F * sp - 2.0F) * static_cast<float>(i) / static_cast<float>(rows - 1)) /
           static_cast<float>(rows);
}

// First parent: propose a row uniformly, accept it when a threshold uniform between the
// lowest and the highest weight is not above its weight; both draws repeat on rejection.
std::int32_t chooseFirstParent(std::int32_t rows, float sp, RandomSource& random) {
    for (;;) {
        const std::int32_t i = random.rowOffset(rows);
        const float r2 = random.randomReal();
        const float threshold =
            ((2.0F - sp) + 2.0F * r2 * (sp - 1.0F)) / static_cast<float>(rows);
        if (threshold <= rankingWeight(i, rows, sp)) {
            return i;
        }
    }
}

void writeChildren(std::span<const MoveCode> first, std::span<const MoveCode> second,
                   std::size_t cut, std::span<MoveCode> child1, std::span<MoveCode> child2) {
    std::copy(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(cut), child1.begin());
    std::copy(second.begin() + static_cast<std::ptrdiff_t>(cut), second.end(),
              child1.begin() + static_cast<std::ptrdiff_t>(cut));
    std::copy(second.begin(), second.begin() + static_cast<std::ptrdiff_t>(cut), child2.begin());
    std::copy(first.begin() + static_cast<std::ptrdiff_t>(cut), first.end(),
              child2.begin() + static_cast<std::ptrdiff_t>(cut));
}

// Clockwise quarter turns of a code 0..17: 1, 2 or 3.
int turnsOf(MoveCode code) { return 1 + code / 6; }

}  // namespace

void recombineInto(const Population& from, Population& to, float selectionPressure,
                   float crossoverRate, RandomSource& random) {
    random.seedFromClock();
    std::copy(from.codes().begin(), from.codes().end(), to.codes().begin());
    const std::int32_t rows = from.rows();
    const std::int32_t slots = from.slots();
    const std::int32_t pairs = (rows - 1) / 2;
    for (std::int32_t pair = 0, k = 1; pair < pairs; ++pair, k += 2) {
        const std::int32_t first = chooseFirstParent(rows, selectionPressure, random);
        const std::int32_t second = random.rowOffset(rows);
        std::int32_t cut = random.cutPoint(slots);  // drawn whether or not it is used
        if (cut == slots) {
            cut = slots - 1;
        }
        if (random.chance(crossoverRate)) {
            writeChildren(from.row(first), from.row(second), static_cast<std::size_t>(cut),
                          to.row(k), to.row(k + 1));
        } else {
            std::copy(from.row(first).begin(), from.row(first).end(), to.row(k).begin());
            std::copy(from.row(second).begin(), from.row(second).end(), to.row(k + 1).begin());
        }
    }
}

Population recombine(const Population& population, float selectionPressure, float crossoverRate,
                     RandomSource& random) {
    Population result(population.rows(), population.slots());
    recombineInto(population, result, selectionPressure, crossoverRate, random);
    return result;
}

void mutateInPlace(Population& population, float mutationRate, RandomSource& random) {
    random.seedFromClock();
    for (std::int32_t i = 1; i < population.rows(); ++i) {
        for (MoveCode& slot : population.row(i)) {
            if (random.chance(mutationRate)) {
                slot = random.resetMove();
            }
        }
    }
}

Population mutate(const Population& population, float mutationRate, RandomSource& random) {
    Population result = population;
    mutateInPlace(result, mutationRate, random);
    return result;
}

MoveCode mergedMove(MoveCode a, MoveCode b) {
    const int turns = (turnsOf(a) + turnsOf(b)) % 4;
    return turns == 0 ? -1 : faceOf(a) + 6 * (turns - 1);
}

void simplifyInPlace(std::span<MoveCode> sequence, RandomSource& random) {
    random.seedFromClock();
    const std::size_t length = sequence.size();
    std::size_t i = 0;
    while (i + 1 < length) {
        if (faceOf(sequence[i]) != faceOf(sequence[i + 1])) {
            ++i;
            continue;
        }
        const MoveCode merged = mergedMove(sequence[i], sequence[i + 1]);
        const std::size_t removed = merged < 0 ? 2 : 1;
        if (merged >= 0) {
            sequence[i] = merged;
        }
        std::copy(sequence.begin() + static_cast<std::ptrdiff_t>(i + 2), sequence.end(),
                  sequence.begin() + static_cast<std::ptrdiff_t>(i + 2 - removed));
        for (std::size_t slot = length - removed; slot < length; ++slot) {
            sequence[slot] = random.resetMove();
        }
        // Pairs before i - 1 are untouched and held no match, so a scan from the first slot
        // would find its next pair here at the earliest.
        i = i > 0 ? i - 1 : 0;
    }
}

MoveSequence simplifySequence(const MoveSequence& sequence, RandomSource& random) {
    MoveSequence result = sequence;
    simplifyInPlace(result, random);
    return result;
}

}  // namespace cubega
