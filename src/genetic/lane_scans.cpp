#include "genetic/lane_scans.hpp"

#include <array>
#include <bit>
#include <limits>

#include "platform/cpu_features.hpp"
#include "platform/x86_intrinsics.hpp"

#ifdef CUBEGA_X86_INTRINSICS
#define CUBEGA_HAVE_AVX512_SCANS 1
#define CUBEGA_AVX512F __attribute__((target("avx512f,bmi")))
#endif

namespace cubega {

std::size_t firstSameFacePairPortable(const MoveCode* codes, std::size_t count) {
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (faceOf(codes[i]) == faceOf(codes[i + 1])) {
            return i;
        }
    }
    return count;
}

std::size_t firstStateBelowPortable(const std::int32_t* states, std::size_t count,
                                    std::int64_t bound) {
    for (std::size_t k = 0; k < count; ++k) {
        if (states[k] < bound) {
            return k;
        }
    }
    return count;
}

#ifdef CUBEGA_HAVE_AVX512_SCANS

namespace {

constexpr std::size_t kLanes = 16;

CUBEGA_AVX512F inline __mmask16 firstLanes(std::size_t n) {
    return static_cast<__mmask16>(n >= kLanes ? 0xFFFFu : (1u << n) - 1u);
}

// The face of every code 0..31 (codes above 17 never occur), for a two-table lookup.
CUBEGA_AVX512F inline __m512i facesOf(__m512i codes) {
    const __m512i low = _mm512_set_epi32(3, 2, 1, 0, 5, 4, 3, 2, 1, 0, 5, 4, 3, 2, 1, 0);
    const __m512i high = _mm512_set_epi32(1, 0, 5, 4, 3, 2, 1, 0, 5, 4, 3, 2, 1, 0, 5, 4);
    return _mm512_permutex2var_epi32(low, codes, high);
}

CUBEGA_AVX512F std::size_t firstSameFacePairAvx512(const MoveCode* codes, std::size_t count) {
    for (std::size_t base = 0; base + 1 < count; base += kLanes) {
        const __mmask16 lanes = firstLanes(count - 1 - base);  // pairs (i, i + 1) in this block
        const __m512i left = facesOf(_mm512_maskz_loadu_epi32(lanes, codes + base));
        const __m512i right = facesOf(_mm512_maskz_loadu_epi32(lanes, codes + base + 1));
        const auto pairs =
            static_cast<std::uint32_t>(_mm512_mask_cmpeq_epi32_mask(lanes, left, right));
        if (pairs != 0) {
            return base + static_cast<std::size_t>(std::countr_zero(pairs));
        }
    }
    return count;
}

CUBEGA_AVX512F std::size_t firstStateBelowAvx512(const std::int32_t* states, std::size_t count,
                                                 std::int32_t bound) {
    const __m512i bounds = _mm512_set1_epi32(bound);
    for (std::size_t base = 0; base < count; base += kLanes) {
        const __mmask16 lanes = firstLanes(count - base);
        const auto below = static_cast<std::uint32_t>(_mm512_mask_cmplt_epi32_mask(
            lanes, _mm512_maskz_loadu_epi32(lanes, states + base), bounds));
        if (below != 0) {
            return base + static_cast<std::size_t>(std::countr_zero(below));
        }
    }
    return count;
}

}  // namespace

std::size_t firstSameFacePair(const MoveCode* codes, std::size_t count) {
    return cpuFeatures().avx512f ? firstSameFacePairAvx512(codes, count)
                                 : firstSameFacePairPortable(codes, count);
}

std::size_t firstStateBelow(const std::int32_t* states, std::size_t count, std::int64_t bound) {
    if (bound > std::numeric_limits<std::int32_t>::max()) {
        return 0;  // every state is below (or there is none)
    }
    if (bound <= std::numeric_limits<std::int32_t>::min()) {
        return count;
    }
    return cpuFeatures().avx512f
               ? firstStateBelowAvx512(states, count, static_cast<std::int32_t>(bound))
               : firstStateBelowPortable(states, count, bound);
}

#else

std::size_t firstSameFacePair(const MoveCode* codes, std::size_t count) {
    return firstSameFacePairPortable(codes, count);
}

std::size_t firstStateBelow(const std::int32_t* states, std::size_t count, std::int64_t bound) {
    return firstStateBelowPortable(states, count, bound);
}

#endif

}  // namespace cubega
