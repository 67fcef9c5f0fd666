// The row kernels of the generation loop for one back end B (row_kernels.hpp says what each
// does), written once over the back end's row operations:
//   B::kRowLanes                    32-bit values a step, a divisor of 64
//   B::sameFacePairs(codes)         bit i set when codes[i] and codes[i + 1] turn one face,
//                                   i < kRowLanes
//   B::statesBelow(states, bound)   bit k set when states[k] < bound, k < kRowLanes
//   B::kWideLoops                   whether plain loops run eight 32-bit lanes or more a step
// and, where the back end has them, B::firstSameFacePairs(codes, pairs) (the bits of the first
// `pairs` pairs, reading codes[0..pairs] only), B::writeCrossedRows (the crossing as masked
// blends) and the random stream's B::StreamLanes (eight states) with streamSplat, streamLoad,
// mulMod and streamStore. The plain loops (the fold, the ranking's count, the two-face
// stacks) need no operation: CUBEGA_TARGET compiles them for the back end's vector unit.
//
// No include guard: included once per back end by row_kernels.cpp.

static_assert(64 % Ops::kRowLanes == 0);

// The bits of the pairs (codes[i], codes[i + 1]) for i = from..end-1, fewer than kRowLanes of
// them (reading codes[from..end] only), bit 0 for pair `from`: with the back end's partial step
// where it has one, else one pair at a time.
template <class B = Ops>
CUBEGA_TARGET std::uint64_t fewPairBits(const MoveCode* codes, std::size_t from, std::size_t end) {
    if constexpr (requires { B::firstSameFacePairs(codes, end); }) {
        return B::firstSameFacePairs(codes + from, end - from);
    } else {
        std::uint64_t bits = 0;
        for (std::size_t i = from; i < end; ++i) {
            bits |= std::uint64_t{faceOf(codes[i]) == faceOf(codes[i + 1]) ? 1U : 0U} << (i - from);
        }
        return bits;
    }
}

// The bits of pairs from..end-1 (at most 64), kRowLanes a step; each word is made in a
// register and stored once.
template <class B = Ops>
CUBEGA_TARGET std::uint64_t pairBitsOfWord(const MoveCode* codes, std::size_t from,
                                           std::size_t end) {
    std::uint64_t word = 0;
    std::size_t i = from;
    for (; i + B::kRowLanes <= end; i += B::kRowLanes) {
        word |= B::sameFacePairs(codes + i) << (i - from);
    }
    if (i < end) {
        word |= fewPairBits<B>(codes, i, end) << (i - from);
    }
    return word;
}

template <class B = Ops>
CUBEGA_TARGET std::size_t firstSameFacePair(const MoveCode* codes, std::size_t count) {
    const std::size_t pairs = count > 0 ? count - 1 : 0;
    for (std::size_t from = 0; from < pairs; from += 64) {
        const std::uint64_t word = pairBitsOfWord<B>(codes, from, std::min(pairs, from + 64));
        if (word != 0) {
            return from + static_cast<std::size_t>(std::countr_zero(word));
        }
    }
    return count;
}

CUBEGA_TARGET void sameFacePairBits(const MoveCode* codes, std::size_t count, std::uint64_t* bits) {
    const std::size_t pairs = count > 0 ? count - 1 : 0;
    for (std::size_t w = 0; w < (count + 63) / 64; ++w) {
        bits[w] = pairBitsOfWord(codes, std::min(pairs, 64 * w), std::min(pairs, 64 * w + 64));
    }
}

template <class B = Ops>
CUBEGA_TARGET void writeCrossedRows(const MoveCode* first, const MoveCode* second,
                                    std::size_t count, std::size_t cut, MoveCode* child1,
                                    MoveCode* child2) {
    if constexpr (requires { B::writeCrossedRows(first, second, count, cut, child1, child2); }) {
        B::writeCrossedRows(first, second, count, cut, child1, child2);
    } else {
        for (std::size_t j = 0; j < count; ++j) {
            const bool head = j < cut;
            child1[j] = head ? first[j] : second[j];
            child2[j] = head ? second[j] : first[j];
        }
    }
}

CUBEGA_TARGET std::uint64_t statesBelowMask(const std::int32_t* states, std::int32_t bound) {
    std::uint64_t mask = 0;
    for (std::size_t k = 0; k < kMaskLanes; k += Ops::kRowLanes) {
        mask |= Ops::statesBelow(states + k, bound) << k;
    }
    return mask;
}

// The stream is one chain of steps, each waiting for the one before; jumps of 48271^8 (and,
// in vector lanes, 48271^32) make independent chains that the processor works on side by
// side. Every state is the exact step.
template <class B = Ops>
CUBEGA_TARGET void fillStateStream(std::int32_t first, std::int32_t* out, std::size_t count) {
    if constexpr (requires { typename B::StreamLanes; }) {
        // Four chains of eight lanes, so that a step's multiplications wait on one of four
        // earlier results instead of one of two.
        using Lanes = typename B::StreamLanes;
        constexpr std::size_t kChains = 4;
        Lanes chains[kChains];
        chains[0] = B::mulMod(B::streamSplat(first), B::streamLoad(kMultiplierPowers.data()));
        for (std::size_t c = 1; c < kChains; ++c) {
            chains[c] = B::mulMod(chains[0], B::streamSplat(kMultiplierPowers[8 * c]));
        }
        const Lanes jump = B::streamSplat(kMultiplierPowers[32]);
        for (std::size_t k = 0; k < count; k += 32) {
            for (std::size_t c = 0; c < kChains; ++c) {
                B::streamStore(chains[c], out + k + 8 * c);
                chains[c] = B::mulMod(chains[c], jump);
            }
        }
    } else {
        for (std::size_t k = 0; k < 8; ++k) {
            out[k] = mulMod(first, kMultiplierPowers[k]);
        }
        for (std::size_t k = 8; k < count; ++k) {
            out[k] = mulMod(out[k - 8], kMultiplierPowers[8]);
        }
    }
}

CUBEGA_TARGET void foldCodesOntoTwoFaces(MoveCode* codes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        codes[i] = foldOntoTwoFaces(codes[i]);
    }
}

// One comparison per pair over a fixed 64 places, a whole vector loop.
CUBEGA_TARGET void rankPackedKeys(const std::int64_t* packed, std::size_t rows,
                                  std::int32_t* order) {
    for (std::size_t i = 0; i < rows; ++i) {
        std::uint32_t place = 0;
        for (std::size_t j = 0; j < kPackedRows; ++j) {
            place += packed[j] > packed[i] ? 1U : 0U;
        }
        order[place] = static_cast<std::int32_t>(i);
    }
}

// --- The two-face stacks (see two_face_stacks.hpp).

// One lane's stack.
struct TwoFaceStack {
    std::uint32_t nearTurns;
    std::uint32_t deepTurns;
    std::uint32_t depth;
    std::uint32_t topFace;
    std::uint32_t freed;
};

// The lanes run in blocks of 16, so that no lane is left to a one-at-a-time tail; lanes past
// the last row repeat it.
constexpr std::size_t kTwoFaceBlock = 16;

constexpr std::size_t lanesFor(std::size_t rows) {
    return (rows + kTwoFaceBlock - 1) / kTwoFaceBlock * kTwoFaceBlock;
}

// The codes slot by slot: columns[slot * kTwoFaceLanes + lane] is slot `slot` of row `lane`.
using TwoFaceColumns = std::array<std::uint32_t, kTwoFaceSlots * kTwoFaceLanes>;

CUBEGA_TARGET inline void transposeRows(const MoveCode* __restrict codes, std::size_t slots,
                                        std::size_t rows, std::uint32_t* __restrict columns) {
    for (std::size_t lane = 0; lane < lanesFor(rows); ++lane) {
        const MoveCode* const row = codes + std::min(lane, rows - 1) * slots;
        for (std::size_t slot = 0; slot < slots; ++slot) {
            columns[slot * kTwoFaceLanes + lane] = static_cast<std::uint32_t>(row[slot]);
        }
    }
}

// The stack step of simplification on a two-face stack: push, merge or cancel, chosen by
// masks. With selects the compiler leaves branches in the loop, and a loop with branches does
// not run as vectors.
[[gnu::always_inline]] CUBEGA_TARGET inline TwoFaceStack settledOnTwoFaces(
    const TwoFaceStack& stack, std::uint32_t code) {
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
CUBEGA_TARGET inline void settleTwoFaceSlots(const std::uint32_t* __restrict columns,
                                             std::size_t slots, std::size_t lanes,
                                             std::uint32_t* __restrict nearTurns,
                                             std::uint32_t* __restrict deepTurns,
                                             std::uint32_t* __restrict depth,
                                             std::uint32_t* __restrict topFace,
                                             std::uint32_t* __restrict freed) {
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
CUBEGA_TARGET inline void writeTwoFaceStack(const TwoFaceStack& stack, MoveCode* row) {
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

CUBEGA_TARGET void settleTwoFaceRows(MoveCode* codes, std::size_t slots, std::size_t rows,
                                     TwoFaceStacks& stacks) {
    TwoFaceColumns columns;
    transposeRows(codes, slots, rows, columns.data());
    settleTwoFaceSlots(columns.data(), slots, lanesFor(rows), stacks.nearTurns.data(),
                       stacks.deepTurns.data(), stacks.depth.data(), stacks.topFace.data(),
                       stacks.freed.data());
    for (std::size_t row = 0; row < rows; ++row) {
        if (stacks.freed[row] != 0) {  // else no pair: the row stands
            writeTwoFaceStack({stacks.nearTurns[row], stacks.deepTurns[row], stacks.depth[row],
                               stacks.topFace[row], stacks.freed[row]},
                              codes + row * slots);
        }
    }
}

inline constexpr RowKernels kKernels{
    &firstSameFacePair<>, &sameFacePairBits,  &writeCrossedRows<>,
    &statesBelowMask,     &fillStateStream<>, &foldCodesOntoTwoFaces,
    &rankPackedKeys,      &settleTwoFaceRows, Ops::kWideLoops};
