#include "genetic/recombination.hpp"

#include <algorithm>

#include "genetic/row_kernels.hpp"

namespace cubega {

namespace {

// Linear-ranking weight of the row at rank i (0 = best): it falls from sp / N to (2 - sp) / N
// and the N weights sum to 1. Single precision, in the order the formula is written.
float rankingWeight(std::int32_t i, std::int32_t rows, float sp) {
    return (sp - (2.0F * sp - 2.0F) * static_cast<float>(i) / static_cast<float>(rows - 1)) /
           static_cast<float>(rows);
}

}  // namespace

FirstParentChoice::FirstParentChoice(std::int32_t rows, float selectionPressure)
    : rows_(rows), selectionPressure_(selectionPressure) {
    if (rows >= 1 && rows < 10000) {
        const auto formula = [rows](std::int32_t state) { return rowOffsetOfState(rows, state); };
        firstStateOfRow_.resize(static_cast<std::size_t>(rows) + 1);
        for (std::int32_t row = 1; row <= rows; ++row) {
            firstStateOfRow_[static_cast<std::size_t>(row)] =
                firstStateEntry(firstStateGiving(formula, row));
        }
    }
    if (!(selectionPressure >= 1.0F) || rows < 2) {
        return;
    }
    acceptUpTo_.resize(static_cast<std::size_t>(rows));
    for (std::int32_t row = 0; row < rows; ++row) {
        // The largest state the test accepts (0 when none): the accepted states run from 1 up.
        std::int64_t low = 0;
        std::int64_t high = kModulus;  // the highest state a draw can give
        while (low < high) {
            const std::int64_t mid = low + (high - low + 1) / 2;
            if (acceptsByFormula(row, RandomSource::realOf(static_cast<std::int32_t>(mid)))) {
                low = mid;
            } else {
                high = mid - 1;
            }
        }
        acceptUpTo_[static_cast<std::size_t>(row)] = static_cast<std::int32_t>(low);
    }
}

bool FirstParentChoice::acceptsByFormula(std::int32_t row, float r2) const {
    const float sp = selectionPressure_;
    const float threshold = ((2.0F - sp) + 2.0F * r2 * (sp - 1.0F)) / static_cast<float>(rows_);
    return threshold <= rankingWeight(row, rows_, sp);
}

std::int32_t FirstParentChoice::anyRow(RandomSource& random) const {
    if (firstStateOfRow_.empty()) {
        return random.rowOffset(rows_);
    }
    return valueOfState(random.nextDraw(), static_cast<std::uint64_t>(rows_),
                        firstStateOfRow_.data());
}

std::int32_t FirstParentChoice::choose(RandomSource& random) const {
    for (;;) {
        const std::int32_t row = anyRow(random);
        const std::int32_t state = random.nextDraw();
        const bool accepted = acceptUpTo_.empty()
                                  ? acceptsByFormula(row, RandomSource::realOf(state))
                                  : state <= acceptUpTo_[static_cast<std::size_t>(row)];
        if (accepted) {
            return row;
        }
    }
}

void recombineInto(const Population& from, std::span<const std::int32_t> ranked, Population& to,
                   const FirstParentChoice& firstParent, float crossoverRate,
                   RandomSource& random) {
    random.seedFromClockAtNextDraw();
    const std::int32_t rows = from.rows();
    const auto slots = static_cast<std::size_t>(from.slots());
    if (rows == 0) {
        return;
    }
    const auto atRank = [&](std::int32_t rank) {
        return from.row(ranked[static_cast<std::size_t>(rank)]);
    };
    // Pairs write rows 1 to 2 * pairs. Row 0, the elite, is kept, and so is the last row
    // when an even count leaves it without a pair.
    const auto keep = [&](std::int32_t rank) {
        std::copy(atRank(rank).begin(), atRank(rank).end(), to.row(rank).begin());
    };
    keep(0);
    if (rows % 2 == 0) {
        keep(rows - 1);
    }
    const RowKernels& kernels = rowKernels();
    const std::int32_t pairs = (rows - 1) / 2;
    for (std::int32_t pair = 0, k = 1; pair < pairs; ++pair, k += 2) {
        const std::int32_t first = firstParent.choose(random);
        const std::int32_t second = firstParent.anyRow(random);
        // Drawn whether or not it is used; a cut at the last slot's end becomes the last slot.
        // Rows of one slot have no cut inside them: theirs is 0, so a crossing hands each
        // child the other parent's whole row, with the same draws as any other length.
        const auto cut =
            std::min(static_cast<std::size_t>(random.cutPoint(from.slots())), slots - 1);
        const bool crossed = random.chance(crossoverRate);
        kernels.writeCrossedRows(atRank(first).data(), atRank(second).data(), slots,
                                 crossed ? cut : slots, to.row(k).data(), to.row(k + 1).data());
    }
}

}  // namespace cubega
