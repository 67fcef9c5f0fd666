// One vpermb turns the whole cube; one more gathers both sides of up to 32 facelet
// equalities, a byte comparison tests them, and a popcount adds them up.
#include "eval/evaluate_avx512.hpp"

#include "cube/x86_intrinsics.hpp"
#include "eval/lane_vectors.hpp"

#ifdef CUBEGA_X86_INTRINSICS
#define CUBEGA_HAVE_AVX512_PATH 1
#define CUBEGA_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,popcnt")))
#endif

namespace cubega {

#ifdef CUBEGA_HAVE_AVX512_PATH

bool avx512PathSupported() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi");
}

namespace {

CUBEGA_AVX512 inline __m512i loadLanes(const std::uint8_t* lanes) {
    return _mm512_loadu_si512(static_cast<const void*>(lanes));
}

// Compares lanes 0..31 of a gathered vector with lanes 32..63: bit i is equality i.
CUBEGA_AVX512 inline std::uint32_t equalHalves(__m512i gathered) {
    return _mm256_cmpeq_epi8_mask(_mm512_castsi512_si256(gathered),
                                  _mm512_extracti64x4_epi64(gathered, 1));
}

CUBEGA_AVX512 inline __m512i gather(__m512i cube, const LaneIndex& index) {
    return _mm512_permutexvar_epi8(loadLanes(index.data()), cube);
}

// What stays fixed for one start cube: the centres the edge lanes are compared with.
struct Constants {
    __m256i pairCentresLow;
    __m256i pairCentresHigh;
    __m512i twoGenEdgeCentres;
    const PieceCodes* pieces;
};

CUBEGA_AVX512 Constants constantsFor(__m512i start, const PieceCodes& pieces) {
    const __m512i pairCentres = gather(start, kPairCentres);
    return {_mm512_castsi512_si256(pairCentres), _mm512_extracti64x4_epi64(pairCentres, 1),
            gather(start, kTwoGenEdgeCentres), &pieces};
}

CUBEGA_AVX512 inline std::int32_t pairScoreVector(__m512i cube, const Constants& constants) {
    const std::uint32_t first = equalHalves(gather(cube, kPairGatherFirst));
    const __m512i second = gather(cube, kPairGatherSecond);
    const __m256i low = _mm512_castsi512_si256(second);
    const __m256i high = _mm512_extracti64x4_epi64(second, 1);
    const __m256i right = _mm256_mask_blend_epi8(0xFFFF0000u, high, constants.pairCentresLow);
    return pairScoreFromMasks(first, _mm256_cmpeq_epi8_mask(low, right),
                              _mm256_cmpeq_epi8_mask(high, constants.pairCentresHigh));
}

CUBEGA_AVX512 inline std::int32_t blockScoreVector(__m512i cube) {
    return blockScoreFromMask(equalHalves(gather(cube, kBlockGather)));
}

// The corner half of the group test, rarely reached: kept out of line so the hot loop stays
// small enough to keep every row's cube in a register.
[[gnu::noinline]] CUBEGA_AVX512 bool twoGenCornersPassVector(__m512i cube,
                                                             const PieceCodes& pieces) {
    LaneCube lanes;
    _mm512_store_si512(static_cast<void*>(lanes.lanes.data()), cube);
    return twoGenCornersPassLanes(lanes, pieces);
}

// The group test on a block gather of the cube (see makeBlockGather).
CUBEGA_AVX512 inline bool inTwoGenGroupVector(__m512i cube, __m512i blockGather,
                                              const Constants& constants) {
    const std::uint64_t edges = _mm512_cmpeq_epi8_mask(blockGather, constants.twoGenEdgeCentres);
    return twoGenEdgesPassFromMask(edges) && twoGenCornersPassVector(cube, *constants.pieces);
}

// The score of the cube, or any value not above `best` when the score cannot beat it: the
// evaluation only asks whether a prefix improves on the best so far. The entry score skips
// the group test when even passing it would not lift the score above `best`.
template <EvalMode Mode>
CUBEGA_AVX512 inline std::int32_t scoreVector(__m512i cube, const Constants& constants,
                                              std::int32_t best) {
    if constexpr (Mode == kPairMode) {
        return pairScoreVector(cube, constants);
    } else if constexpr (Mode == kBlockMode) {
        return blockScoreVector(cube);
    } else {
        const __m512i blockGather = gather(cube, kBlockGather);
        const std::int32_t block = 10 * blockScoreFromMask(equalHalves(blockGather));
        if (block + 10 <= best) {
            return block;
        }
        return block + (inTwoGenGroupVector(cube, blockGather, constants) ? 10 : 0);
    }
}

// Plays `Ways` rows side by side: each move waits for the one before it, so independent rows
// keep the vector units busy while one row's permutation is in flight.
template <EvalMode Mode, std::size_t Ways>
CUBEGA_AVX512 void evaluateInterleaved(const LaneCube& start, const MoveCode* rows,
                                       std::size_t length, const PieceCodes& pieces,
                                       Evaluation* out) {
    const Constants constants = constantsFor(loadLanes(start.lanes.data()), pieces);
    __m512i cube[Ways];
    std::int32_t best[Ways];
    std::int32_t count[Ways];
    for (std::size_t w = 0; w < Ways; ++w) {
        cube[w] = loadLanes(start.lanes.data());
        best[w] = 0;
        count[w] = 0;
    }
    for (std::size_t slot = 0; slot < length; ++slot) {
        for (std::size_t w = 0; w < Ways; ++w) {
            const MoveCode code = rows[w * length + slot];
            const auto& move = kMovePermutations[static_cast<std::size_t>(code)].source;
            cube[w] = _mm512_permutexvar_epi8(loadLanes(move.data()), cube[w]);
            const std::int32_t score = scoreVector<Mode>(cube[w], constants, best[w]);
            const bool better = score > best[w];  // ties keep the shorter prefix
            best[w] = better ? score : best[w];
            count[w] = better ? static_cast<std::int32_t>(slot + 1) : count[w];
        }
    }
    for (std::size_t w = 0; w < Ways; ++w) {
        out[w] = {10 * best[w] - count[w], count[w]};
    }
}

template <EvalMode Mode>
CUBEGA_AVX512 void evaluateRowsLoop(const LaneCube& start, const MoveCode* codes, std::size_t rows,
                                    std::size_t length, const PieceCodes& pieces, Evaluation* out) {
    constexpr std::size_t kWays = 4;
    std::size_t row = 0;
    for (; row + kWays <= rows; row += kWays) {
        evaluateInterleaved<Mode, kWays>(start, codes + row * length, length, pieces, out + row);
    }
    for (; row < rows; ++row) {
        evaluateInterleaved<Mode, 1>(start, codes + row * length, length, pieces, out + row);
    }
}

}  // namespace

void evaluateRowsAvx512(const LaneCube& start, std::span<const MoveCode> codes, std::size_t length,
                        EvalMode mode, const PieceCodes& pieces, std::span<Evaluation> out) {
    const std::size_t rows = out.size();
    switch (mode) {
        case kPairMode:
            return evaluateRowsLoop<kPairMode>(start, codes.data(), rows, length, pieces,
                                               out.data());
        case kBlockMode:
            return evaluateRowsLoop<kBlockMode>(start, codes.data(), rows, length, pieces,
                                                out.data());
        case kTwoGenEntryMode:
            return evaluateRowsLoop<kTwoGenEntryMode>(start, codes.data(), rows, length, pieces,
                                                      out.data());
    }
}

#else

bool avx512PathSupported() {
    return false;
}

void evaluateRowsAvx512(const LaneCube&, std::span<const MoveCode>, std::size_t, EvalMode,
                        const PieceCodes&, std::span<Evaluation>) {}

#endif

}  // namespace cubega
