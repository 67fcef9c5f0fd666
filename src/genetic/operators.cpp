#include "genetic/operators.hpp"

#include <algorithm>
#include <array>
#include <bit>

#include "genetic/lane_scans.hpp"
#include "platform/widest_vectors.hpp"

namespace cubega {

namespace {

// Linear-ranking weight of the row at rank i (0 = best): it falls from sp / N to (2 - sp) / N
// and the N weights sum to 1. Single precision, in the order the formula is written.
float rankingWeight(std::int32_t i, std::int32_t rows, float sp) {
    return (sp - (2.0F * sp - 2.0F) * static_cast<float>(i) / static_cast<float>(rows - 1)) /
           static_cast<float>(rows);
}

constexpr MoveCode mergeOf(MoveCode a, MoveCode b) {
    const int turns = (quarterTurnsOfMove(a) + quarterTurnsOfMove(b)) % 4;
    return turns == 0 ? -1 : faceOf(a) + 6 * (turns - 1);
}

// What simplification does with neighbours a, b (codes 0..17): keep both (kDifferentFaces),
// cancel both (-1), or the merged code.
constexpr std::int8_t kDifferentFaces = -2;
constexpr auto kNeighbourRule = [] {
    std::array<std::array<std::int8_t, kMoveCount>, kMoveCount> rule{};
    for (MoveCode a = 0; a < kMoveCount; ++a) {
        for (MoveCode b = 0; b < kMoveCount; ++b) {
            rule[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] =
                faceOf(a) == faceOf(b) ? static_cast<std::int8_t>(mergeOf(a, b)) : kDifferentFaces;
        }
    }
    return rule;
}();

}  // namespace

FirstParentChoice::FirstParentChoice(std::int32_t rows, float selectionPressure)
    : rows_(rows), selectionPressure_(selectionPressure) {
    if (rows >= 1 && rows < 10000) {
        const auto formula = [rows](std::int32_t state) { return rowOffsetOfState(rows, state); };
        firstStateOfRow_.resize(static_cast<std::size_t>(rows) + 1);
        for (std::int32_t row = 1; row <= rows; ++row) {
            firstStateOfRow_[static_cast<std::size_t>(row)] =
                static_cast<std::int32_t>(firstStateGiving(formula, row));
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
    const std::int32_t pairs = (rows - 1) / 2;
    for (std::int32_t pair = 0, k = 1; pair < pairs; ++pair, k += 2) {
        const std::int32_t first = firstParent.choose(random);
        const std::int32_t second = firstParent.anyRow(random);
        // Drawn whether or not it is used; a cut at the last slot's end becomes the last slot.
        const auto cut =
            std::min(static_cast<std::size_t>(random.cutPoint(from.slots())), slots - 1);
        const bool crossed = random.chance(crossoverRate);
        writeCrossedRows(atRank(first).data(), atRank(second).data(), slots, crossed ? cut : slots,
                         to.row(k).data(), to.row(k + 1).data());
    }
}

void mutateInPlace(Population& population, float mutationRate, RandomSource& random) {
    random.seedFromClockAtNextDraw();
    if (population.rows() < 2) {
        return;  // row 0, the elite, is never touched
    }
    const std::int64_t bound = RandomSource::chanceBound(mutationRate);  // r < pm
    const std::span<MoveCode> slots =
        population.codes().subspan(static_cast<std::size_t>(population.slots()));
    // One draw per slot; most do not fire, and those are skipped a run at a time.
    for (std::size_t i = 0; i < slots.size(); ++i) {
        i += random.skipDrawsNotBelow(bound, slots.size() - i);
        if (i == slots.size()) {
            break;
        }
        random.nextDraw();  // the draw that fires
        slots[i] = random.resetMove();
    }
}

MoveCode mergedMove(MoveCode a, MoveCode b) {
    return mergeOf(a, b);
}

// The merges always take the first neighbouring pair on one face, and the freed slots are
// refilled at the end. Reading the moves left to right onto a stack of finished moves does
// the same merges in the same order: the stack never holds such a pair, so a move that
// matches the top of the stack forms the first pair of the whole sequence. Refills line up
// behind the stored moves, exactly where the shifting would have put them, and each is drawn
// when it is read: they are read in the order they were made and nothing else draws in
// between, so every refill gets the draw it would have got when made.
namespace {

// The rule with one more row: what lies below an empty stack, which no move meets.
constexpr std::size_t kEmptyStack = kMoveCount;
constexpr auto kStackRule = [] {
    std::array<std::array<std::int8_t, kMoveCount>, kMoveCount + 1> rule{};
    std::copy(kNeighbourRule.begin(), kNeighbourRule.end(), rule.begin());
    rule[kEmptyStack].fill(kDifferentFaces);
    return rule;
}();

// A row being simplified: its stack is row[0, top), and `pending` refills wait to be read.
struct RowStack {
    std::size_t top = 0;
    std::size_t pending = 0;
};

// Pushes `move`, merges it into the top of the stack or cancels the two. The compiler keeps a
// branch on whether the move is pushed; a version with a mask select instead measured slower,
// since without speculation each step waits for the stack load of the one before.
inline void settle(MoveCode* row, RowStack& stack, MoveCode move) {
    const std::size_t below =
        stack.top == 0 ? kEmptyStack : static_cast<std::size_t>(row[stack.top - 1]);
    const std::int8_t rule = kStackRule[below][static_cast<std::size_t>(move)];
    const std::size_t kept = rule == kDifferentFaces ? 1 : 0;
    const std::size_t cancelled = rule == -1 ? 1 : 0;
    row[stack.top + kept - 1] = kept == 1 ? move : rule;  // a cancel's write is popped at once
    stack.top = stack.top + kept - cancelled;
    stack.pending += 1 - kept + cancelled;
}

// Draws and settles the refills of one row until none is left; the stack then fills the row.
void settleRefills(MoveCode* row, RowStack& stack, RandomSource& random) {
    while (stack.pending > 0) {
        --stack.pending;
        settle(row, stack, random.resetMove());
    }
}

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
    simplifyFromPair(sequence, firstSameFacePair(sequence.data(), sequence.size()), random);
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
    for (std::int32_t first = 0; first < population.rows(); first += rowsPerGroup) {
        const std::int32_t end = std::min(population.rows(), first + rowsPerGroup);
        sameFacePairBits(population.row(first).data(),
                         static_cast<std::size_t>(end - first) * slots, pairBits.data());
        for (std::int32_t i = first; i < end; ++i) {
            const std::size_t begin = static_cast<std::size_t>(i - first) * slots;
            const std::size_t last = begin + slots - 1;  // pairs (j, j + 1) inside the row
            const std::size_t pair = firstSetBit(pairBits.data(), begin, last);
            simplifyFromPair(population.row(i), pair == last ? slots : pair - begin, random);
        }
    }
}

// On two faces a row with no same-face neighbours alternates U and F, so a stack of such moves
// is its top face and the quarter turns of each move, two bits a move: 32 moves fit two 32-bit
// words. The moves of many rows are then read onto their stacks together, a row in each vector
// lane, with no branch: folded rows merge so often that a branch per move mispredicts. No
// draw is made while reading; the refills, drawn on any face, are settled row by row
// afterwards, in row order, as simplifyRows does.
namespace {

constexpr std::size_t kTwoFaceLanes = 64;
constexpr std::size_t kTwoFaceSlots = 32;

// A lane's stack: the quarter turns with the top's in the lowest two bits (the 16
// moves nearest the top in `nearTurns`, the rest in `deepTurns`), its depth, the top's face
// (0 U, 1 F) and the slots freed so far. 32-bit lanes, the width of the codes.
struct TwoFaceStack {
    std::uint32_t nearTurns;
    std::uint32_t deepTurns;
    std::uint32_t depth;
    std::uint32_t topFace;
    std::uint32_t freed;
};

// The stacks of all lanes, a field at a time, as the vector loop reads and writes them.
struct TwoFaceStacks {
    std::array<std::uint32_t, kTwoFaceLanes> nearTurns;
    std::array<std::uint32_t, kTwoFaceLanes> deepTurns;
    std::array<std::uint32_t, kTwoFaceLanes> depth;
    std::array<std::uint32_t, kTwoFaceLanes> topFace;
    std::array<std::uint32_t, kTwoFaceLanes> freed;

    TwoFaceStack lane(std::size_t i) const {
        return {nearTurns[i], deepTurns[i], depth[i], topFace[i], freed[i]};
    }
};

// The lanes run in blocks of 16, so that no lane is left to a one-at-a-time tail; lanes past
// the last row repeat it.
constexpr std::size_t kTwoFaceBlock = 16;

constexpr std::size_t lanesFor(std::size_t rows) {
    return (rows + kTwoFaceBlock - 1) / kTwoFaceBlock * kTwoFaceBlock;
}

// The codes slot by slot: columns[slot * kTwoFaceLanes + lane] is slot `slot` of row `lane`.
using TwoFaceColumns = std::array<std::uint32_t, kTwoFaceSlots * kTwoFaceLanes>;

inline void transposeRows(const MoveCode* __restrict codes, std::size_t slots, std::size_t rows,
                          std::uint32_t* __restrict columns) {
    for (std::size_t lane = 0; lane < lanesFor(rows); ++lane) {
        const MoveCode* const row = codes + std::min(lane, rows - 1) * slots;
        for (std::size_t slot = 0; slot < slots; ++slot) {
            columns[slot * kTwoFaceLanes + lane] = static_cast<std::uint32_t>(row[slot]);
        }
    }
}

// settle() on a two-face stack: push, merge or cancel, chosen by masks. With selects the
// compiler leaves branches in the loop, and a loop with branches does not run as vectors.
[[gnu::always_inline]] inline TwoFaceStack settledOnTwoFaces(const TwoFaceStack& stack,
                                                             std::uint32_t code) {
    const std::uint32_t face = code & 1;
    const auto quarters =
        static_cast<std::uint32_t>(quarterTurnsOfMove(static_cast<MoveCode>(code)));
    const std::uint32_t near = stack.nearTurns;
    const std::uint32_t deep = stack.deepTurns;
    const std::uint32_t sum = ((near & 3) + quarters) & 3;
    const std::uint32_t same = static_cast<std::uint32_t>(stack.depth != 0) &
                               static_cast<std::uint32_t>(face == stack.topFace);
    const std::uint32_t cancel = same & static_cast<std::uint32_t>(sum == 0);
    const std::uint32_t sameMask = 0 - same;
    const std::uint32_t cancelMask = 0 - cancel;
    const std::uint32_t pushedNear = (near << 2) | quarters;
    const std::uint32_t pushedDeep = (deep << 2) | (near >> 30);
    const std::uint32_t poppedNear = (near >> 2) | (deep << 30);
    const std::uint32_t mergedNear = (near & ~3U) | sum;
    const std::uint32_t settledNear = (mergedNear & ~cancelMask) | (poppedNear & cancelMask);
    const std::uint32_t settledDeep = (deep & ~cancelMask) | ((deep >> 2) & cancelMask);
    return {(pushedNear & ~sameMask) | (settledNear & sameMask),
            (pushedDeep & ~sameMask) | (settledDeep & sameMask), stack.depth + 1 - same - cancel,
            (face & ~sameMask) | ((stack.topFace ^ cancel) & sameMask),
            stack.freed + same + cancel};
}

// Reads slot after slot of `lanes` columns onto their stacks, from empty ones.
inline void settleTwoFaceSlots(const std::uint32_t* __restrict columns, std::size_t slots,
                               std::size_t lanes, std::uint32_t* __restrict nearTurns,
                               std::uint32_t* __restrict deepTurns, std::uint32_t* __restrict depth,
                               std::uint32_t* __restrict topFace, std::uint32_t* __restrict freed) {
    for (std::size_t lane = 0; lane < lanes; ++lane) {
        nearTurns[lane] = deepTurns[lane] = depth[lane] = topFace[lane] = freed[lane] = 0;
    }
    for (std::size_t slot = 0; slot < slots; ++slot) {
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            const TwoFaceStack settled = settledOnTwoFaces(
                {nearTurns[lane], deepTurns[lane], depth[lane], topFace[lane], freed[lane]},
                columns[slot * kTwoFaceLanes + lane]);
            nearTurns[lane] = settled.nearTurns;
            deepTurns[lane] = settled.deepTurns;
            depth[lane] = settled.depth;
            topFace[lane] = settled.topFace;
            freed[lane] = settled.freed;
        }
    }
}

// Writes a lane's stack back to the row's first `depth` slots.
inline void writeTwoFaceStack(const TwoFaceStack& stack, MoveCode* row) {
    std::array<MoveCode, kTwoFaceSlots> codes{};
    for (std::uint32_t slot = 0; slot < kTwoFaceSlots; ++slot) {
        // Past the depth the codes are not used.
        const std::uint32_t fromTop = (stack.depth - 1 - slot) % kTwoFaceSlots;
        const std::uint32_t turns = fromTop < 16 ? stack.nearTurns : stack.deepTurns;
        const std::uint32_t quarters = (turns >> (2 * (fromTop % 16))) & 3;
        const std::uint32_t face = stack.topFace ^ (fromTop & 1);
        codes[slot] = static_cast<MoveCode>(face + 6 * (quarters - 1));
    }
    std::copy_n(codes.begin(), stack.depth, row);
}

// Up to kTwoFaceLanes rows of `slots` codes from `codes` on.
void simplifyTwoFaceGroup(MoveCode* codes, std::size_t slots, std::size_t rows,
                          RandomSource& random) {
    TwoFaceStacks stacks;
    TwoFaceColumns columns;
    withWidestVectors([&] {
        transposeRows(codes, slots, rows, columns.data());
        settleTwoFaceSlots(columns.data(), slots, lanesFor(rows), stacks.nearTurns.data(),
                           stacks.deepTurns.data(), stacks.depth.data(), stacks.topFace.data(),
                           stacks.freed.data());
        for (std::size_t row = 0; row < rows; ++row) {
            if (stacks.freed[row] != 0) {  // else no pair: the row stands
                writeTwoFaceStack(stacks.lane(row), codes + row * slots);
            }
        }
    });
    for (std::size_t row = 0; row < rows; ++row) {
        random.seedFromClockAtNextDraw();
        RowStack stack{stacks.depth[row], stacks.freed[row]};
        settleRefills(codes + row * slots, stack, random);
    }
}

}  // namespace

void simplifyTwoFaceRows(Population& population, RandomSource& random) {
    const auto slots = static_cast<std::size_t>(population.slots());
    // Four lanes at a time (SSE2, NEON) measured slower than the row-by-row form.
    if (slots == 0 || slots > kTwoFaceSlots || !widestVectorsAreWide()) {
        simplifyRows(population, random);
        return;
    }
    const auto rows = static_cast<std::size_t>(population.rows());
    for (std::size_t first = 0; first < rows; first += kTwoFaceLanes) {
        simplifyTwoFaceGroup(population.codes().data() + first * slots, slots,
                             std::min(kTwoFaceLanes, rows - first), random);
    }
}

}  // namespace cubega
