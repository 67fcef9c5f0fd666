// One vpermb turns the whole cube; one vpermb pair and a byte comparison test up to 64
// facelet equalities, and a popcount adds them up. Built with function target attributes so
// the rest of the program stays portable and the path is chosen at run time.
#include "eval/evaluate_avx512.hpp"

#include "eval/lane_vectors.hpp"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// GCC 12's permutexvar intrinsic starts from an "undefined" vector and warns about it.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#define CUBEGA_HAVE_AVX512_PATH 1
#define CUBEGA_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi,popcnt")))
#endif

namespace cubega {

#ifdef CUBEGA_HAVE_AVX512_PATH

bool avx512PathSupported() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi");
}

namespace {

CUBEGA_AVX512 inline __m512i loadLanes(const std::uint8_t* lanes) {
    return _mm512_loadu_si512(static_cast<const void*>(lanes));
}

CUBEGA_AVX512 inline std::uint64_t equalLanes(__m512i cube, const EqualityLanes& lanes) {
    const __m512i left = _mm512_permutexvar_epi8(loadLanes(lanes.left.data()), cube);
    const __m512i right = _mm512_permutexvar_epi8(loadLanes(lanes.right.data()), cube);
    return _mm512_cmpeq_epi8_mask(left, right);
}

CUBEGA_AVX512 inline std::int32_t pairScoreVector(__m512i cube) {
    return pairScoreFromMasks(equalLanes(cube, kPairLanesLow), equalLanes(cube, kPairLanesHigh));
}

CUBEGA_AVX512 inline std::int32_t blockScoreVector(__m512i cube) {
    return blockScoreFromMask(equalLanes(cube, kBlockLanes));
}

CUBEGA_AVX512 inline std::int32_t twoGenEntryScoreVector(__m512i cube, const PieceCodes& pieces) {
    const std::uint64_t mask = equalLanes(cube, kBlockLanes);
    bool inGroup = false;
    if (twoGenEdgesPassFromMask(mask)) {  // rare: only then are the corners worth a look
        LaneCube lanes;
        _mm512_store_si512(static_cast<void*>(lanes.lanes.data()), cube);
        inGroup = twoGenCornersPassLanes(lanes, pieces);
    }
    return 10 * (inGroup ? 1 : 0) + 10 * blockScoreFromMask(mask);
}

template <EvalMode Mode>
CUBEGA_AVX512 Evaluation evaluateLoop(const LaneCube& start, std::span<const MoveCode> sequence,
                                      const PieceCodes& pieces) {
    __m512i cube = loadLanes(start.lanes.data());
    std::int32_t best = 0;
    std::int32_t count = 0;
    std::int32_t slot = 0;
    for (const MoveCode code : sequence) {
        ++slot;
        const auto& move = kMovePermutations[static_cast<std::size_t>(code)].source;
        cube = _mm512_permutexvar_epi8(loadLanes(move.data()), cube);
        std::int32_t score = 0;
        if constexpr (Mode == kPairMode) {
            score = pairScoreVector(cube);
        } else if constexpr (Mode == kBlockMode) {
            score = blockScoreVector(cube);
        } else {
            score = twoGenEntryScoreVector(cube, pieces);
        }
        if (score > best) {
            best = score;
            count = slot;
        }
    }
    return {10 * best - count, count};
}

}  // namespace

Evaluation evaluateLanesAvx512(const LaneCube& start, std::span<const MoveCode> sequence,
                               EvalMode mode, const PieceCodes& pieces) {
    switch (mode) {
        case kPairMode:
            return evaluateLoop<kPairMode>(start, sequence, pieces);
        case kBlockMode:
            return evaluateLoop<kBlockMode>(start, sequence, pieces);
        case kTwoGenEntryMode:
            return evaluateLoop<kTwoGenEntryMode>(start, sequence, pieces);
    }
    return {};
}

#else

bool avx512PathSupported() { return false; }

Evaluation evaluateLanesAvx512(const LaneCube&, std::span<const MoveCode>, EvalMode,
                               const PieceCodes&) {
    return {};
}

#endif

}  // namespace cubega
