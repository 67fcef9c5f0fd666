// AVX2 has no byte permutation across a whole register, only vpshufb within 16-byte lanes.
// A 32-lane gather from the 64-byte cube therefore looks each index up in the four 16-byte
// chunks of the cube (each broadcast to both lanes) and keeps the one chunk that holds it:
// the index is pre-adjusted per chunk at compile time so that vpshufb zeroes every lane whose
// facelet lies in another chunk, and the four lookups are ORed together.
#include "eval/evaluate_avx2.hpp"

#include "eval/gather_tables.hpp"
#include "platform/cpu_features.hpp"
#include "platform/x86_intrinsics.hpp"

#ifdef CUBEGA_X86_INTRINSICS
#define CUBEGA_AVX2 __attribute__((target("avx2,popcnt")))
#endif

namespace cubega {

namespace {

// For each half of a 64-lane gather index and each 16-byte chunk of the cube, the vpshufb
// index that picks lanes of that chunk and zeroes all others: (facelet - 16 k) + 0x70 with
// unsigned saturation is below 0x80 exactly when the facelet lies in chunk k.
struct ChunkedIndex {
    std::array<std::array<std::array<std::uint8_t, 32>, 4>, 2> bytes{};
};

constexpr ChunkedIndex chunked(const LaneIndex& index) {
    ChunkedIndex result;
    for (std::size_t half = 0; half < 2; ++half) {
        for (std::size_t k = 0; k < 4; ++k) {
            for (std::size_t j = 0; j < 32; ++j) {
                const int offset = (index[32 * half + j] - 16 * static_cast<int>(k)) & 0xFF;
                result.bytes[half][k][j] = static_cast<std::uint8_t>(std::min(offset + 0x70, 0xFF));
            }
        }
    }
    return result;
}

inline constexpr auto kMovesChunked = [] {
    std::array<ChunkedIndex, kMoveCount> moves{};
    for (std::size_t m = 0; m < kMoveCount; ++m) {
        moves[m] = chunked(kMovePermutations[m].source);
    }
    return moves;
}();
// The score gathers composed with each move, chunked: a move's score is gathered from the
// chunks of the cube before it, which the move's own gather needs anyway.
constexpr std::array<ChunkedIndex, kMoveCount> chunkedAfterMoves(const LaneIndex& gather) {
    const auto composed = composeWithMoves(gather);
    std::array<ChunkedIndex, kMoveCount> result{};
    for (std::size_t m = 0; m < kMoveCount; ++m) {
        result[m] = chunked(composed[m]);
    }
    return result;
}

inline constexpr auto kPairFirstAfterMove = chunkedAfterMoves(kPairGatherFirst);
inline constexpr auto kPairSecondAfterMove = chunkedAfterMoves(kPairGatherSecond);
inline constexpr auto kBlockAfterMove = chunkedAfterMoves(kBlockGather);

}  // namespace

#ifdef CUBEGA_X86_INTRINSICS

bool avx2PathSupported() {
    return cpuFeatures().avx2;
}

namespace {

CUBEGA_AVX2 inline __m256i load32(const std::uint8_t* bytes) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
}

// The cube as its four 16-byte chunks, each in both lanes of a register.
struct Chunks {
    __m256i c[4];
};

CUBEGA_AVX2 inline Chunks chunksOf(__m256i low, __m256i high) {
    return {{_mm256_permute4x64_epi64(low, 0x44), _mm256_permute4x64_epi64(low, 0xEE),
             _mm256_permute4x64_epi64(high, 0x44), _mm256_permute4x64_epi64(high, 0xEE)}};
}

CUBEGA_AVX2 inline __m256i gatherHalf(const Chunks& cube, const ChunkedIndex& index,
                                      std::size_t half) {
    const auto& bytes = index.bytes[half];
    return _mm256_or_si256(
        _mm256_or_si256(_mm256_shuffle_epi8(cube.c[0], load32(bytes[0].data())),
                        _mm256_shuffle_epi8(cube.c[1], load32(bytes[1].data()))),
        _mm256_or_si256(_mm256_shuffle_epi8(cube.c[2], load32(bytes[2].data())),
                        _mm256_shuffle_epi8(cube.c[3], load32(bytes[3].data()))));
}

CUBEGA_AVX2 inline std::uint32_t equalMask(__m256i a, __m256i b) {
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, b)));
}

// The constant right-hand sides (centres), gathered once from the start cube.
struct Constants {
    __m256i pairCentresLow;
    __m256i pairCentresHigh;
    __m256i twoGenEdgeCentresLow;
    __m256i twoGenEdgeCentresHigh;
    const PieceCodes* pieces;
};

CUBEGA_AVX2 Constants constantsFor(const LaneCube& start, const PieceCodes& pieces) {
    LaneCube pairCentres;
    LaneCube edgeCentres;
    for (std::size_t i = 0; i < kLaneCount; ++i) {
        pairCentres.lanes[i] = start.lanes[kPairCentres[i]];
        edgeCentres.lanes[i] = start.lanes[kTwoGenEdgeCentres[i]];
    }
    return {load32(pairCentres.lanes.data()), load32(pairCentres.lanes.data() + 32),
            load32(edgeCentres.lanes.data()), load32(edgeCentres.lanes.data() + 32), &pieces};
}

[[gnu::noinline]] CUBEGA_AVX2 bool twoGenCornersPass(__m256i low, __m256i high,
                                                     const PieceCodes& pieces) {
    LaneCube lanes;
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes.lanes.data()), low);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes.lanes.data() + 32), high);
    return twoGenCornersPassLanes(lanes, pieces);
}

// As on the 64-lane path: a score not above `best` may be returned when it cannot win.
// `before` holds the chunks of the cube before `move`; low and high are the cube after it.
template <EvalMode Mode>
CUBEGA_AVX2 inline std::int32_t score(const Chunks& before, std::size_t move, __m256i low,
                                      __m256i high, const Constants& constants, std::int32_t best) {
    if constexpr (Mode == kPairMode) {
        const ChunkedIndex& firstGather = kPairFirstAfterMove[move];
        const ChunkedIndex& secondGather = kPairSecondAfterMove[move];
        const std::uint32_t first =
            equalMask(gatherHalf(before, firstGather, 0), gatherHalf(before, firstGather, 1));
        const __m256i left = gatherHalf(before, secondGather, 0);
        const __m256i right = gatherHalf(before, secondGather, 1);
        const __m256i against = _mm256_blend_epi32(right, constants.pairCentresLow, 0xF0);
        return pairScoreFromMasks(first, equalMask(left, against),
                                  equalMask(right, constants.pairCentresHigh));
    } else {
        const __m256i left = gatherHalf(before, kBlockAfterMove[move], 0);
        const __m256i right = gatherHalf(before, kBlockAfterMove[move], 1);
        const std::int32_t block = blockScoreFromMask(equalMask(left, right));
        if constexpr (Mode == kBlockMode) {
            return block;
        } else {
            if (10 * block + 10 <= best) {
                return 10 * block;
            }
            const std::uint64_t edges =
                equalMask(left, constants.twoGenEdgeCentresLow) |
                (std::uint64_t{equalMask(right, constants.twoGenEdgeCentresHigh)} << 32);
            const bool inGroup =
                twoGenEdgesPassFromMask(edges) && twoGenCornersPass(low, high, *constants.pieces);
            return 10 * block + (inGroup ? 10 : 0);
        }
    }
}

template <EvalMode Mode>
CUBEGA_AVX2 Evaluation evaluateRow(const LaneCube& start, const MoveCode* row, std::size_t length,
                                   const Constants& constants) {
    __m256i low = load32(start.lanes.data());
    __m256i high = load32(start.lanes.data() + 32);
    std::int32_t best = 0;
    std::int32_t count = 0;
    for (std::size_t slot = 0; slot < length; ++slot) {
        const auto code = static_cast<std::size_t>(row[slot]);
        const Chunks before = chunksOf(low, high);
        low = gatherHalf(before, kMovesChunked[code], 0);
        high = gatherHalf(before, kMovesChunked[code], 1);
        const std::int32_t s = score<Mode>(before, code, low, high, constants, best);
        const bool better = s > best;  // ties keep the shorter prefix
        best = better ? s : best;
        count = better ? static_cast<std::int32_t>(slot + 1) : count;
    }
    return {10 * best - count, count};
}

template <EvalMode Mode>
CUBEGA_AVX2 void evaluateRows(const LaneCube& start, const MoveCode* codes, std::size_t length,
                              const PieceCodes& pieces, std::span<Evaluation> out) {
    const Constants constants = constantsFor(start, pieces);
    for (std::size_t row = 0; row < out.size(); ++row) {
        out[row] = evaluateRow<Mode>(start, codes + row * length, length, constants);
    }
}

}  // namespace

void evaluateRowsAvx2(const LaneCube& start, std::span<const MoveCode> codes, std::size_t length,
                      EvalMode mode, const PieceCodes& pieces, std::span<Evaluation> out) {
    switch (mode) {
        case kPairMode:
            return evaluateRows<kPairMode>(start, codes.data(), length, pieces, out);
        case kBlockMode:
            return evaluateRows<kBlockMode>(start, codes.data(), length, pieces, out);
        case kTwoGenEntryMode:
            return evaluateRows<kTwoGenEntryMode>(start, codes.data(), length, pieces, out);
    }
}

#else

bool avx2PathSupported() {
    return false;
}

void evaluateRowsAvx2(const LaneCube&, std::span<const MoveCode>, std::size_t, EvalMode,
                      const PieceCodes&, std::span<Evaluation>) {}

#endif

}  // namespace cubega
