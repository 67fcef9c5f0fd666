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

// One lane's stack of up to 16 * Words moves.
template <std::size_t Words>
struct TwoFaceStack {
    std::array<std::uint32_t, Words> turns;
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

// The codes slot by slot: columns[slot * Stride + lane] is slot `slot` of row `lane`, with
// Stride = twoFaceRowsAtOnce of the rows' length (a constant, so that the loops run as
// vectors).
using TwoFaceColumns = std::array<std::uint32_t, kTwoFaceCodes>;

template <std::size_t Stride>
CUBEGA_TARGET inline void transposeRows(const MoveCode* __restrict codes, std::size_t slots,
                                        std::size_t rows, std::uint32_t* __restrict columns) {
    for (std::size_t lane = 0; lane < lanesFor(rows); ++lane) {
        const MoveCode* const row = codes + std::min(lane, rows - 1) * slots;
        for (std::size_t slot = 0; slot < slots; ++slot) {
            columns[slot * Stride + lane] = static_cast<std::uint32_t>(row[slot]);
        }
    }
}

// The stack step of simplification on a two-face stack: push, merge or cancel, chosen by
// masks. With selects the compiler leaves branches in the loop, and a loop with branches does
// not run as vectors. A push shifts every word up by a move, a cancel down by one.
template <std::size_t Words>
[[gnu::always_inline]] CUBEGA_TARGET inline TwoFaceStack<Words> settledOnTwoFaces(
    const TwoFaceStack<Words>& stack, std::uint32_t code) {
    const std::uint32_t face = code & 1;
    const auto quarters =
        static_cast<std::uint32_t>(quarterTurnsOfMove(static_cast<MoveCode>(code)));
    const std::uint32_t sum = ((stack.turns[0] & 3) + quarters) & 3;
    const std::uint32_t same = static_cast<std::uint32_t>(stack.depth != 0) &
                               static_cast<std::uint32_t>(face == stack.topFace);
    const std::uint32_t cancel = same & static_cast<std::uint32_t>(sum == 0);
    const std::uint32_t sameMask = 0 - same;
    const std::uint32_t cancelMask = 0 - cancel;
    TwoFaceStack<Words> settled;
    for (std::size_t w = 0; w < Words; ++w) {
        const std::uint32_t turns = stack.turns[w];
        const std::uint32_t pushed = (turns << 2) | (w == 0 ? quarters : stack.turns[w - 1] >> 30);
        const std::uint32_t popped = (turns >> 2) | (w + 1 < Words ? stack.turns[w + 1] << 30 : 0);
        const std::uint32_t merged = w == 0 ? (turns & ~3U) | sum : turns;
        const std::uint32_t kept = (merged & ~cancelMask) | (popped & cancelMask);
        settled.turns[w] = (pushed & ~sameMask) | (kept & sameMask);
    }
    settled.depth = stack.depth + 1 - same - cancel;
    settled.topFace = (face & ~sameMask) | ((stack.topFace ^ cancel) & sameMask);
    settled.freed = stack.freed + same + cancel;
    return settled;
}

// Reads slot after slot of `lanes` columns onto their stacks, from empty ones. (Each field
// through its own pointer, as the vector loop needs to know they never overlap.)
template <std::size_t Words, std::size_t Stride>
CUBEGA_TARGET inline void settleTwoFaceSlots(const std::uint32_t* __restrict columns,
                                             std::size_t slots, std::size_t lanes,
                                             std::uint32_t (*__restrict turns)[kTwoFaceLanes],
                                             std::uint32_t* __restrict depth,
                                             std::uint32_t* __restrict topFace,
                                             std::uint32_t* __restrict freed) {
    for (std::size_t lane = 0; lane < lanes; ++lane) {
        for (std::size_t w = 0; w < Words; ++w) {
            turns[w][lane] = 0;
        }
        depth[lane] = topFace[lane] = freed[lane] = 0;
    }
    for (std::size_t slot = 0; slot < slots; ++slot) {
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            TwoFaceStack<Words> stack;
            for (std::size_t w = 0; w < Words; ++w) {
                stack.turns[w] = turns[w][lane];
            }
            stack.depth = depth[lane];
            stack.topFace = topFace[lane];
            stack.freed = freed[lane];
            const TwoFaceStack<Words> settled =
                settledOnTwoFaces(stack, columns[slot * Stride + lane]);
            for (std::size_t w = 0; w < Words; ++w) {
                turns[w][lane] = settled.turns[w];
            }
            depth[lane] = settled.depth;
            topFace[lane] = settled.topFace;
            freed[lane] = settled.freed;
        }
    }
}

// Writes a lane's stack back to the row's first `depth` slots.
template <std::size_t Words>
CUBEGA_TARGET inline void writeTwoFaceStack(const TwoFaceStack<Words>& stack, MoveCode* row) {
    static_assert(Words == 2 || Words == 4);
    constexpr std::uint32_t kSlots = 16 * Words;
    // Copies in locals: read through the reference, or chosen by a loop over the words, the
    // codes were not worked out as vectors.
    std::uint32_t words[Words];
    for (std::size_t w = 0; w < Words; ++w) {
        words[w] = stack.turns[w];
    }
    const std::uint32_t depth = stack.depth;
    const std::uint32_t topFace = stack.topFace;
    std::array<MoveCode, kSlots> codes{};
    for (std::uint32_t slot = 0; slot < kSlots; ++slot) {
        // Past the depth the codes are not used.
        const std::uint32_t fromTop = (depth - 1 - slot) % kSlots;
        std::uint32_t turns = (fromTop & 16) == 0 ? words[0] : words[1];
        if constexpr (Words == 4) {
            const std::uint32_t deeper = (fromTop & 16) == 0 ? words[2] : words[3];
            turns = (fromTop & 32) == 0 ? turns : deeper;
        }
        const std::uint32_t quarters = (turns >> (2 * (fromTop % 16))) & 3;
        const std::uint32_t face = topFace ^ (fromTop & 1);
        codes[slot] = static_cast<MoveCode>(face + 6 * (quarters - 1));
    }
    std::copy_n(codes.begin(), depth, row);
}

template <std::size_t Words>
CUBEGA_TARGET void settleTwoFaceRowsIn(MoveCode* codes, std::size_t slots, std::size_t rows,
                                       TwoFaceStacks& stacks) {
    constexpr std::size_t kStride = kTwoFaceCodes / (16 * Words);
    TwoFaceColumns columns;
    transposeRows<kStride>(codes, slots, rows, columns.data());
    settleTwoFaceSlots<Words, kStride>(columns.data(), slots, lanesFor(rows), stacks.turns,
                                       stacks.depth.data(), stacks.topFace.data(),
                                       stacks.freed.data());
    for (std::size_t row = 0; row < rows; ++row) {
        if (stacks.freed[row] == 0) {
            continue;  // no pair: the row stands
        }
        TwoFaceStack<Words> stack;
        for (std::size_t w = 0; w < Words; ++w) {
            stack.turns[w] = stacks.turns[w][row];
        }
        stack.depth = stacks.depth[row];
        stack.topFace = stacks.topFace[row];
        stack.freed = stacks.freed[row];
        writeTwoFaceStack(stack, codes + row * slots);
    }
}

// As few words as the rows' length needs: each word costs every step.
CUBEGA_TARGET void settleTwoFaceRows(MoveCode* codes, std::size_t slots, std::size_t rows,
                                     TwoFaceStacks& stacks) {
    if (twoFaceWordsFor(slots) == 2) {
        settleTwoFaceRowsIn<2>(codes, slots, rows, stacks);
    } else {
        settleTwoFaceRowsIn<kTwoFaceWords>(codes, slots, rows, stacks);
    }
}

inline constexpr RowKernels kKernels{
    &firstSameFacePair<>, &sameFacePairBits,  &writeCrossedRows<>,
    &statesBelowMask,     &fillStateStream<>, &foldCodesOntoTwoFaces,
    &rankPackedKeys,      &settleTwoFaceRows, Ops::kWideLoops};
