// The stream is one chain of steps, each waiting for the one before; jumps of 48271^8 (and
// 48271^16) make independent chains that the processor works on side by side, with AVX-512
// eight states per instruction when the processor has it. Every state is the exact step.
#include "genetic/random_stream.hpp"

#include "platform/cpu_features.hpp"
#include "platform/x86_intrinsics.hpp"

#ifdef CUBEGA_X86_INTRINSICS
#define CUBEGA_HAVE_AVX512_STREAM 1
#endif

namespace cubega {

namespace {

void fillPortable(std::int32_t first, std::int32_t* out, std::size_t count) {
    for (std::size_t k = 0; k < 8; ++k) {
        out[k] = mulMod(first, kMultiplierPowers[k]);
    }
    for (std::size_t k = 8; k < count; ++k) {
        out[k] = mulMod(out[k - 8], kMultiplierPowers[8]);
    }
}

#ifdef CUBEGA_HAVE_AVX512_STREAM

__attribute__((target("avx512f"))) inline __m512i mulModVector(__m512i x, __m512i c) {
    const __m512i m = _mm512_set1_epi64(kStreamModulus);
    const __m512i product = _mm512_mul_epu32(x, c);
    __m512i t = _mm512_add_epi64(_mm512_and_si512(product, m), _mm512_srli_epi64(product, 31));
    t = _mm512_add_epi64(_mm512_and_si512(t, m), _mm512_srli_epi64(t, 31));
    return _mm512_min_epu64(t, _mm512_sub_epi64(t, m));  // t - m wraps above t when t < m
}

// Four chains of eight lanes, so that a step's multiplications wait on one of four earlier
// results instead of one of two.
__attribute__((target("avx512f"))) void fillAvx512(std::int32_t first, std::int32_t* out,
                                                   std::size_t count) {
    const __m512i firstLanes = _mm512_set1_epi64(first);
    const __m512i powersLow = _mm512_set_epi64(
        kMultiplierPowers[7], kMultiplierPowers[6], kMultiplierPowers[5], kMultiplierPowers[4],
        kMultiplierPowers[3], kMultiplierPowers[2], kMultiplierPowers[1], kMultiplierPowers[0]);
    const __m512i jump32 = _mm512_set1_epi64(kMultiplierPowers[32]);
    constexpr std::size_t kChains = 4;
    __m512i chains[kChains];
    chains[0] = mulModVector(firstLanes, powersLow);
    for (std::size_t c = 1; c < kChains; ++c) {
        chains[c] = mulModVector(chains[0], _mm512_set1_epi64(kMultiplierPowers[8 * c]));
    }
    for (std::size_t k = 0; k < count; k += 32) {
        for (std::size_t c = 0; c < kChains; ++c) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k + 8 * c),
                                _mm512_cvtepi64_epi32(chains[c]));
            chains[c] = mulModVector(chains[c], jump32);
        }
    }
}

#endif

}  // namespace

void fillStateStream(std::int32_t first, std::int32_t* out, std::size_t count) {
#ifdef CUBEGA_HAVE_AVX512_STREAM
    if (cpuFeatures().avx512f) {
        fillAvx512(first, out, count);
        return;
    }
#endif
    fillPortable(first, out, count);
}

}  // namespace cubega
