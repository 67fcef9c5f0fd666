#include "genetic/simplification.hpp"

#include <algorithm>
#include <array>
#include <bit>

#include "genetic/move_stack.hpp"
#include "genetic/row_kernels.hpp"

namespace cubega {

// The merges always take the first neighbouring pair on one face, and the freed slots are
// refilled at the end. Reading the moves left to right onto a stack of finished moves does
// the same merges in the same order: the stack never holds such a pair, so a move that
// matches the top of the stack forms the first pair of the whole sequence. Refills line up
// behind the stored moves, exactly where the shifting would have put them, and each is drawn
// when it is read: they are read in the order they were made and nothing else draws in
// between, so every refill gets the draw it would have got when made.
namespace {

// The simplification of a row whose first same-face pair starts at `pair` (the length when
// there is none).
void simplifyFromPair(std::span<MoveCode> sequence, std::size_t pair, RandomSource& random) {
    random.seedFromClockAtNextDraw();
    MoveCode* const row = sequence.data();
    const std::size_t length = sequence.size();
    // Most rows come from simplified parents and hold a pair or two at most: everything
    // before the first pair is finished as it stands.
    if (pair == length) {
        return;
    }
    RowStack stack{pair + 1, 0};
    for (std::size_t read = pair + 1; read < length; ++read) {
        settle(row, stack, row[read]);
    }
    settleRefills(row, stack, random);
}

// The first set bit from `begin` up to `end` (exclusive), or `end` when there is none; the
// words are read 64 bits at a time from any bit on, so `bits` holds one word past `end`.
std::size_t firstSetBit(const std::uint64_t* bits, std::size_t begin, std::size_t end) {
    for (std::size_t at = begin; at < end; at += 64) {
        const std::size_t word = at / 64;
        const std::size_t shift = at % 64;
        // Two shifts for the next word's part, so that a shift of 0 takes none of it.
        std::uint64_t window = (bits[word] >> shift) | ((bits[word + 1] << 1) << (63 - shift));
        window &= ~std::uint64_t{0} >> (64 - std::min<std::size_t>(64, end - at));
        if (window != 0) {
            return at + static_cast<std::size_t>(std::countr_zero(window));
        }
    }
    return end;
}

}  // namespace

void simplifyInPlace(std::span<MoveCode> sequence, RandomSource& random) {
    simplifyFromPair(sequence, rowKernels().firstSameFacePair(sequence.data(), sequence.size()),
                     random);
}

// The pairs of many rows are found in one pass over their codes, a group of rows at a time;
// the pair that a row's last code makes with the next row's first is not looked at.
void simplifyRows(Population& population, RandomSource& random) {
    constexpr std::size_t kGroupCodes = 1024;
    const auto slots = static_cast<std::size_t>(population.slots());
    if (slots == 0 || slots > kGroupCodes) {
        for (std::int32_t i = 0; i < population.rows(); ++i) {
            simplifyInPlace(population.row(i), random);
        }
        return;
    }
    const auto rowsPerGroup = static_cast<std::int32_t>(kGroupCodes / slots);
    std::array<std::uint64_t, kGroupCodes / 64 + 1> pairBits{};  // a word past the last
    const RowKernels& kernels = rowKernels();
    for (std::int32_t first = 0; first < population.rows(); first += rowsPerGroup) {
        const std::int32_t end = std::min(population.rows(), first + rowsPerGroup);
        kernels.sameFacePairBits(population.row(first).data(),
                                 static_cast<std::size_t>(end - first) * slots, pairBits.data());
        for (std::int32_t i = first; i < end; ++i) {
            const std::size_t begin = static_cast<std::size_t>(i - first) * slots;
            const std::size_t last = begin + slots - 1;  // pairs (j, j + 1) inside the row
            const std::size_t pair = firstSetBit(pairBits.data(), begin, last);
            simplifyFromPair(population.row(i), pair == last ? slots : pair - begin, random);
        }
    }
}

}  // namespace cubega
