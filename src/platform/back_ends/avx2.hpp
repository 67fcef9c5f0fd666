// The AVX2 back end. AVX2 has no byte permutation across a whole register, only vpshufb within
// 16-byte lanes: a 32-lane gather from the 64-byte cube therefore looks each index up in the
// four 16-byte chunks of the cube (each broadcast to both lanes of a register) and keeps the
// one chunk that holds it. The index is adjusted per chunk at compile time so that vpshufb
// zeroes every lane whose facelet lies in another chunk, and the four lookups are ORed. Rows
// of 32-bit codes and states are read eight at a time.
#pragma once

#include "platform/back_ends/x86_intrinsics.hpp"

#ifdef CUBEGA_X86

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#define CUBEGA_AVX2_TARGET __attribute__((target("avx2,popcnt,bmi")))

namespace cubega::back_ends {

struct Avx2Ops {
    // --- The cube as 64 byte lanes.
    struct Lanes {
        __m256i low;
        __m256i high;
    };
    // For each half of a 64-lane gather index and each 16-byte chunk of the cube, the vpshufb
    // index that picks lanes of that chunk and zeroes all others: (facelet - 16 k) + 0x70
    // with unsigned saturation is below 0x80 exactly when the facelet lies in chunk k.
    struct Index {
        std::array<std::array<std::array<std::uint8_t, 32>, 4>, 2> bytes{};
    };
    static constexpr std::size_t kWays = 2;
    // A jump by two moves would need 324 chunked indices of 256 bytes each: more than the
    // first-level cache holds.
    static constexpr bool kJumpsTwoMoves = false;
    static constexpr bool kEdgesTestIsCostly = true;

    static constexpr Index prepare(const std::array<std::uint8_t, 64>& index) {
        Index result;
        for (std::size_t half = 0; half < 2; ++half) {
            for (std::size_t k = 0; k < 4; ++k) {
                for (std::size_t j = 0; j < 32; ++j) {
                    const int offset = (index[32 * half + j] - 16 * static_cast<int>(k)) & 0xFF;
                    result.bytes[half][k][j] =
                        static_cast<std::uint8_t>(std::min(offset + 0x70, 0xFF));
                }
            }
        }
        return result;
    }

    CUBEGA_AVX2_TARGET static __m256i load32(const std::uint8_t* bytes) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
    }
    CUBEGA_AVX2_TARGET static Lanes load(const std::uint8_t* bytes) {
        return {load32(bytes), load32(bytes + 32)};
    }
    struct Chunks {
        __m256i c[4];
    };
    CUBEGA_AVX2_TARGET static Chunks chunks(Lanes lanes) {
        return {{_mm256_permute4x64_epi64(lanes.low, 0x44),
                 _mm256_permute4x64_epi64(lanes.low, 0xEE),
                 _mm256_permute4x64_epi64(lanes.high, 0x44),
                 _mm256_permute4x64_epi64(lanes.high, 0xEE)}};
    }
    CUBEGA_AVX2_TARGET static __m256i gatherHalf(
        const __m256i (&chunks)[4], const std::array<std::array<std::uint8_t, 32>, 4>& index) {
        return _mm256_or_si256(
            _mm256_or_si256(_mm256_shuffle_epi8(chunks[0], load32(index[0].data())),
                            _mm256_shuffle_epi8(chunks[1], load32(index[1].data()))),
            _mm256_or_si256(_mm256_shuffle_epi8(chunks[2], load32(index[2].data())),
                            _mm256_shuffle_epi8(chunks[3], load32(index[3].data()))));
    }
    CUBEGA_AVX2_TARGET static Lanes gather(Lanes lanes, const Index& index) {
        const Chunks from = chunks(lanes);
        return {gatherHalf(from.c, index.bytes[0]), gatherHalf(from.c, index.bytes[1])};
    }
    CUBEGA_AVX2_TARGET static Lanes gatherLow(Lanes lanes, const Index& index) {
        const Chunks from = chunks(lanes);
        const __m256i low = gatherHalf(from.c, index.bytes[0]);
        return {low, low};
    }
    CUBEGA_AVX2_TARGET static std::uint32_t equalMask(__m256i a, __m256i b) {
        return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, b)));
    }
    CUBEGA_AVX2_TARGET static std::uint64_t equal(Lanes a, Lanes b) {
        return equalMask(a.low, b.low) | (std::uint64_t{equalMask(a.high, b.high)} << 32);
    }
    CUBEGA_AVX2_TARGET static std::uint32_t equalHalves(Lanes lanes) {
        return equalMask(lanes.low, lanes.high);
    }
    CUBEGA_AVX2_TARGET static std::uint32_t equalLowQuarters(Lanes lanes) {
        return equalMask(lanes.low, _mm256_permute2x128_si256(lanes.low, lanes.low, 0x01)) &
               0xFFFFu;
    }
    CUBEGA_AVX2_TARGET static void store(Lanes lanes, std::uint8_t* bytes) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(bytes), lanes.low);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(bytes + 32), lanes.high);
    }

    // --- Rows of 32-bit codes 0..17 and random states.
    static constexpr std::size_t kRowLanes = 8;
    static constexpr bool kWideLoops = true;

    // The faces of eight codes 0..17: 6 off for each of code > 5 and code > 11.
    CUBEGA_AVX2_TARGET static __m256i facesOfEight(const std::int32_t* codes) {
        const __m256i code = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(codes));
        const __m256i six = _mm256_set1_epi32(6);
        const __m256i pastFive = _mm256_cmpgt_epi32(code, _mm256_set1_epi32(5));
        const __m256i pastEleven = _mm256_cmpgt_epi32(code, _mm256_set1_epi32(11));
        return _mm256_sub_epi32(_mm256_sub_epi32(code, _mm256_and_si256(pastFive, six)),
                                _mm256_and_si256(pastEleven, six));
    }
    CUBEGA_AVX2_TARGET static std::uint64_t bitsOf(__m256i lanes) {
        return static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(lanes)));
    }
    // Bit i set when codes[i] and codes[i + 1] turn one face, i < 8.
    CUBEGA_AVX2_TARGET static std::uint64_t sameFacePairs(const std::int32_t* codes) {
        return bitsOf(_mm256_cmpeq_epi32(facesOfEight(codes), facesOfEight(codes + 1)));
    }
    // Bit k set when states[k] < bound, k < 8.
    CUBEGA_AVX2_TARGET static std::uint64_t statesBelow(const std::int32_t* states,
                                                        std::int32_t bound) {
        const __m256i lanes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(states));
        return bitsOf(_mm256_cmpgt_epi32(_mm256_set1_epi32(bound), lanes));
    }
};

}  // namespace cubega::back_ends

#endif
