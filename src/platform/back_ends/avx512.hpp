// The AVX-512 back end (F, BW, VL and VBMI): one vpermb gathers all 64 byte lanes of a cube, a
// byte comparison of two registers (or of a register's halves) gives a mask of 64 (32)
// equalities, and whole corner-edge pairs are compared as 16-bit lanes. Rows of 32-bit codes
// and states are read sixteen at a time, with masked loads for the last few; the random
// stream is eight 64-bit products at a time.
#pragma once

#include "platform/back_ends/x86_intrinsics.hpp"

#ifdef CUBEGA_X86

#include <array>
#include <cstddef>
#include <cstdint>

#define CUBEGA_AVX512_TARGET \
    __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,popcnt,bmi")))

namespace cubega::back_ends {

struct Avx512Ops {
    // --- The cube as 64 byte lanes.
    using Lanes = __m512i;
    using Index = std::array<std::uint8_t, 64>;
    static constexpr std::size_t kWays = 4;
    static constexpr bool kJumpsTwoMoves = true;
    static constexpr bool kEdgesTestIsCostly = false;

    static constexpr Index prepare(const std::array<std::uint8_t, 64>& index) { return index; }

    CUBEGA_AVX512_TARGET static Lanes load(const std::uint8_t* bytes) {
        return _mm512_loadu_si512(static_cast<const void*>(bytes));
    }
    CUBEGA_AVX512_TARGET static Lanes gather(Lanes lanes, const Index& index) {
        return _mm512_permutexvar_epi8(load(index.data()), lanes);
    }
    CUBEGA_AVX512_TARGET static std::uint64_t equal(Lanes a, Lanes b) {
        return _mm512_cmpeq_epi8_mask(a, b);
    }
    CUBEGA_AVX512_TARGET static std::uint32_t equalHalves(Lanes lanes) {
        return _mm256_cmpeq_epi8_mask(_mm512_castsi512_si256(lanes),
                                      _mm512_extracti64x4_epi64(lanes, 1));
    }
    CUBEGA_AVX512_TARGET static std::uint32_t equalWords(Lanes a, Lanes b) {
        return _mm512_cmpeq_epi16_mask(a, b);
    }
    CUBEGA_AVX512_TARGET static void store(Lanes lanes, std::uint8_t* bytes) {
        _mm512_storeu_si512(static_cast<void*>(bytes), lanes);
    }

    // --- Rows of 32-bit codes 0..17 and random states.
    static constexpr std::size_t kRowLanes = 16;
    static constexpr bool kWideLoops = true;

    CUBEGA_AVX512_TARGET static __mmask16 firstLanes(std::size_t n) {
        return static_cast<__mmask16>(n >= kRowLanes ? 0xFFFFu : (1u << n) - 1u);
    }
    // The face of every code 0..31 (codes above 17 never occur), by a two-table lookup.
    CUBEGA_AVX512_TARGET static __m512i facesOf(__m512i codes) {
        const __m512i low = _mm512_set_epi32(3, 2, 1, 0, 5, 4, 3, 2, 1, 0, 5, 4, 3, 2, 1, 0);
        const __m512i high = _mm512_set_epi32(1, 0, 5, 4, 3, 2, 1, 0, 5, 4, 3, 2, 1, 0, 5, 4);
        return _mm512_permutex2var_epi32(low, codes, high);
    }
    // Bit i set when codes[i] and codes[i + 1] turn one face, for i < pairs (at most 16);
    // reads codes[0..pairs] only.
    CUBEGA_AVX512_TARGET static std::uint64_t firstSameFacePairs(const std::int32_t* codes,
                                                                 std::size_t pairs) {
        const __mmask16 lanes = firstLanes(pairs);
        const __m512i left = facesOf(_mm512_maskz_loadu_epi32(lanes, codes));
        const __m512i right = facesOf(_mm512_maskz_loadu_epi32(lanes, codes + 1));
        return _mm512_mask_cmpeq_epi32_mask(lanes, left, right);
    }
    CUBEGA_AVX512_TARGET static std::uint64_t sameFacePairs(const std::int32_t* codes) {
        return firstSameFacePairs(codes, kRowLanes);
    }
    // Bit k set when states[k] < bound, k < 16.
    CUBEGA_AVX512_TARGET static std::uint64_t statesBelow(const std::int32_t* states,
                                                          std::int32_t bound) {
        return _mm512_cmplt_epi32_mask(_mm512_loadu_si512(states), _mm512_set1_epi32(bound));
    }
    // Child 1 takes first[j] for j < cut and second[j] from cut on, child 2 the other way
    // round: masked blends, sixteen codes a step.
    CUBEGA_AVX512_TARGET static void writeCrossedRows(const std::int32_t* first,
                                                      const std::int32_t* second, std::size_t count,
                                                      std::size_t cut, std::int32_t* child1,
                                                      std::int32_t* child2) {
        for (std::size_t base = 0; base < count; base += kRowLanes) {
            const __mmask16 lanes = firstLanes(count - base);
            const __mmask16 head = firstLanes(cut > base ? cut - base : 0);
            const __m512i a = _mm512_maskz_loadu_epi32(lanes, first + base);
            const __m512i b = _mm512_maskz_loadu_epi32(lanes, second + base);
            _mm512_mask_storeu_epi32(child1 + base, lanes, _mm512_mask_blend_epi32(head, b, a));
            _mm512_mask_storeu_epi32(child2 + base, lanes, _mm512_mask_blend_epi32(head, a, b));
        }
    }

    // --- The random stream: eight states as 64-bit lanes.
    using StreamLanes = __m512i;
    static constexpr std::int64_t kStreamModulus = 2147483647;  // 2^31 - 1

    CUBEGA_AVX512_TARGET static StreamLanes streamSplat(std::int32_t value) {
        return _mm512_set1_epi64(value);
    }
    CUBEGA_AVX512_TARGET static StreamLanes streamLoad(const std::int32_t* eight) {
        return _mm512_cvtepi32_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(eight)));
    }
    // x * c mod (2^31 - 1) in every lane, for 0 < x, c < 2^31 - 1: the Mersenne fold.
    CUBEGA_AVX512_TARGET static StreamLanes mulMod(StreamLanes x, StreamLanes c) {
        const __m512i m = _mm512_set1_epi64(kStreamModulus);
        const __m512i product = _mm512_mul_epu32(x, c);
        __m512i t = _mm512_add_epi64(_mm512_and_si512(product, m), _mm512_srli_epi64(product, 31));
        t = _mm512_add_epi64(_mm512_and_si512(t, m), _mm512_srli_epi64(t, 31));
        return _mm512_min_epu64(t, _mm512_sub_epi64(t, m));  // t - m wraps above t when t < m
    }
    CUBEGA_AVX512_TARGET static void streamStore(StreamLanes lanes, std::int32_t* eight) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(eight), _mm512_cvtepi64_epi32(lanes));
    }
};

}  // namespace cubega::back_ends

#endif
