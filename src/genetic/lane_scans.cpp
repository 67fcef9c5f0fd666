#include "genetic/lane_scans.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <optional>

#include "platform/cpu_features.hpp"
#include "platform/widest_vectors.hpp"
#include "platform/x86_intrinsics.hpp"

#ifdef CUBEGA_X86_INTRINSICS
#define CUBEGA_HAVE_AVX512_SCANS 1
#define CUBEGA_AVX512F __attribute__((target("avx512f,bmi")))
#elif defined(__aarch64__) && defined(__ARM_NEON)
#include <arm_neon.h>
#define CUBEGA_HAVE_NEON_SCANS 1
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

namespace {

// Adds the pair bits from pair `from` on, one pair at a time: the vector forms' last few.
void addPairBitsFrom(std::size_t from, const MoveCode* codes, std::size_t count,
                     std::uint64_t* bits) {
    for (std::size_t i = from; i + 1 < count; ++i) {
        const bool pair = faceOf(codes[i]) == faceOf(codes[i + 1]);
        bits[i / 64] |= std::uint64_t{pair ? 1U : 0U} << (i % 64);
    }
}

}  // namespace

void sameFacePairBitsPortable(const MoveCode* codes, std::size_t count, std::uint64_t* bits) {
    std::fill_n(bits, (count + 63) / 64, std::uint64_t{0});
    addPairBitsFrom(0, codes, count, bits);
}

void writeCrossedRowsPortable(const MoveCode* first, const MoveCode* second, std::size_t count,
                              std::size_t cut, MoveCode* child1, MoveCode* child2) {
    for (std::size_t j = 0; j < count; ++j) {
        const bool head = j < cut;
        child1[j] = head ? first[j] : second[j];
        child2[j] = head ? second[j] : first[j];
    }
}

std::uint64_t statesBelowMaskPortable(const std::int32_t* states, std::int64_t bound) {
    std::uint64_t mask = 0;
    for (std::size_t k = 0; k < kMaskLanes; ++k) {
        mask |= static_cast<std::uint64_t>(states[k] < bound ? 1 : 0) << k;
    }
    return mask;
}

namespace {

// A bound outside the states' range answers alone; otherwise it fits 32 bits.
[[maybe_unused]] std::optional<std::uint64_t> maskOfBoundAlone(std::int64_t bound) {
    if (bound > std::numeric_limits<std::int32_t>::max()) {
        return ~std::uint64_t{0};
    }
    if (bound <= std::numeric_limits<std::int32_t>::min()) {
        return 0;
    }
    return std::nullopt;
}

}  // namespace

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

CUBEGA_AVX512F void sameFacePairBitsAvx512(const MoveCode* codes, std::size_t count,
                                           std::uint64_t* bits) {
    std::uint64_t word = 0;
    for (std::size_t base = 0; base < count; base += kLanes) {
        const std::size_t pairsHere = count - base - 1;  // pairs (i, i + 1) from this block on
        const __mmask16 lanes = firstLanes(pairsHere);
        const __m512i left = facesOf(_mm512_maskz_loadu_epi32(lanes, codes + base));
        const __m512i right = facesOf(_mm512_maskz_loadu_epi32(lanes, codes + base + 1));
        const auto pairs =
            static_cast<std::uint64_t>(_mm512_mask_cmpeq_epi32_mask(lanes, left, right));
        word |= pairs << (base % 64);
        if (base % 64 == 64 - kLanes || base + kLanes >= count) {
            bits[base / 64] = word;
            word = 0;
        }
    }
}

CUBEGA_AVX512F void writeCrossedRowsAvx512(const MoveCode* first, const MoveCode* second,
                                           std::size_t count, std::size_t cut, MoveCode* child1,
                                           MoveCode* child2) {
    for (std::size_t base = 0; base < count; base += kLanes) {
        const __mmask16 lanes = firstLanes(count - base);
        const __mmask16 head = firstLanes(cut > base ? cut - base : 0);
        const __m512i a = _mm512_maskz_loadu_epi32(lanes, first + base);
        const __m512i b = _mm512_maskz_loadu_epi32(lanes, second + base);
        _mm512_mask_storeu_epi32(child1 + base, lanes, _mm512_mask_blend_epi32(head, b, a));
        _mm512_mask_storeu_epi32(child2 + base, lanes, _mm512_mask_blend_epi32(head, a, b));
    }
}

CUBEGA_AVX512F std::uint64_t statesBelowMaskAvx512(const std::int32_t* states, std::int32_t bound) {
    const __m512i bounds = _mm512_set1_epi32(bound);
    std::uint64_t mask = 0;
    for (std::size_t base = 0; base < kMaskLanes; base += kLanes) {
        const __mmask16 below = _mm512_cmplt_epi32_mask(_mm512_loadu_si512(states + base), bounds);
        mask |= static_cast<std::uint64_t>(below) << base;
    }
    return mask;
}

__attribute__((target("avx2"))) std::uint64_t statesBelowMaskWithAvx2(const std::int32_t* states,
                                                                      std::int32_t bound) {
    const __m256i bounds = _mm256_set1_epi32(bound);
    std::uint64_t mask = 0;
    for (std::size_t base = 0; base < kMaskLanes; base += 8) {
        const __m256i lanes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(states + base));
        const int below =
            _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(bounds, lanes)));
        mask |= static_cast<std::uint64_t>(static_cast<unsigned>(below)) << base;
    }
    return mask;
}

__attribute__((target("avx2"))) inline __m256i facesOfEight(const MoveCode* codes) {
    const __m256i code = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(codes));
    const __m256i six = _mm256_set1_epi32(6);
    const __m256i pastFive = _mm256_cmpgt_epi32(code, _mm256_set1_epi32(5));
    const __m256i pastEleven = _mm256_cmpgt_epi32(code, _mm256_set1_epi32(11));
    return _mm256_sub_epi32(_mm256_sub_epi32(code, _mm256_and_si256(pastFive, six)),
                            _mm256_and_si256(pastEleven, six));
}

// Eight pairs a step, the last few one at a time.
__attribute__((target("avx2"))) void sameFacePairBitsWithAvx2(const MoveCode* codes,
                                                              std::size_t count,
                                                              std::uint64_t* bits) {
    std::fill_n(bits, (count + 63) / 64, std::uint64_t{0});
    std::size_t base = 0;
    for (; base + 9 <= count; base += 8) {
        const __m256i same =
            _mm256_cmpeq_epi32(facesOfEight(codes + base), facesOfEight(codes + base + 1));
        const auto pairs = static_cast<unsigned>(_mm256_movemask_ps(_mm256_castsi256_ps(same)));
        bits[base / 64] |= std::uint64_t{pairs} << (base % 64);
    }
    addPairBitsFrom(base, codes, count, bits);
}

}  // namespace

std::size_t firstSameFacePair(const MoveCode* codes, std::size_t count) {
    return cpuFeatures().avx512f ? firstSameFacePairAvx512(codes, count)
                                 : firstSameFacePairPortable(codes, count);
}

void sameFacePairBits(const MoveCode* codes, std::size_t count, std::uint64_t* bits) {
    if (cpuFeatures().avx512f) {
        sameFacePairBitsAvx512(codes, count, bits);
    } else if (cpuFeatures().avx2) {
        sameFacePairBitsWithAvx2(codes, count, bits);
    } else {
        sameFacePairBitsPortable(codes, count, bits);
    }
}

void writeCrossedRows(const MoveCode* first, const MoveCode* second, std::size_t count,
                      std::size_t cut, MoveCode* child1, MoveCode* child2) {
    if (cpuFeatures().avx512f) {
        writeCrossedRowsAvx512(first, second, count, cut, child1, child2);
    } else {
        withWidestVectors(
            [&] { writeCrossedRowsPortable(first, second, count, cut, child1, child2); });
    }
}

std::uint64_t statesBelowMask(const std::int32_t* states, std::int64_t bound) {
    if (const auto alone = maskOfBoundAlone(bound)) {
        return *alone;
    }
    const auto bound32 = static_cast<std::int32_t>(bound);
    if (cpuFeatures().avx512f) {
        return statesBelowMaskAvx512(states, bound32);
    }
    if (cpuFeatures().avx2) {
        return statesBelowMaskWithAvx2(states, bound32);
    }
    return statesBelowMaskPortable(states, bound);
}

bool sameFacePairBitsAvx2(const MoveCode* codes, std::size_t count, std::uint64_t* bits) {
    if (!cpuFeatures().avx2) {
        return false;
    }
    sameFacePairBitsWithAvx2(codes, count, bits);
    return true;
}

std::optional<std::uint64_t> statesBelowMaskAvx2(const std::int32_t* states, std::int64_t bound) {
    if (!cpuFeatures().avx2) {
        return std::nullopt;
    }
    if (const auto alone = maskOfBoundAlone(bound)) {
        return *alone;
    }
    return statesBelowMaskWithAvx2(states, static_cast<std::int32_t>(bound));
}

#elif defined(CUBEGA_HAVE_NEON_SCANS)

namespace {

// Sixteen codes or states per step, as four 4-lane registers; a step's comparisons are
// narrowed to a nibble per lane, so the first hit is the lowest set bit over four.
constexpr std::size_t kLanes = 16;

uint8x16_t narrowedCodes(const MoveCode* codes) {
    const uint16x8_t low = vcombine_u16(vmovn_u32(vreinterpretq_u32_s32(vld1q_s32(codes))),
                                        vmovn_u32(vreinterpretq_u32_s32(vld1q_s32(codes + 4))));
    const uint16x8_t high = vcombine_u16(vmovn_u32(vreinterpretq_u32_s32(vld1q_s32(codes + 8))),
                                         vmovn_u32(vreinterpretq_u32_s32(vld1q_s32(codes + 12))));
    return vcombine_u8(vmovn_u16(low), vmovn_u16(high));
}

std::uint64_t nibbleMask(uint8x16_t lanes) {
    return vget_lane_u64(vreinterpret_u64_u8(vshrn_n_u16(vreinterpretq_u16_u8(lanes), 4)), 0);
}

// The face of every code 0..31 (codes above 17 never occur).
const uint8x16x2_t kFacesOfCodes = {{{0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3},
                                     {4, 5, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1}}};

std::size_t firstSameFacePairNeon(const MoveCode* codes, std::size_t count) {
    const uint8x16x2_t& faces = kFacesOfCodes;
    std::size_t base = 0;
    for (; base + kLanes + 1 <= count; base += kLanes) {  // pairs (i, i + 1) of this block
        const uint8x16_t left = vqtbl2q_u8(faces, narrowedCodes(codes + base));
        const uint8x16_t right = vqtbl2q_u8(faces, narrowedCodes(codes + base + 1));
        const std::uint64_t pairs = nibbleMask(vceqq_u8(left, right));
        if (pairs != 0) {
            return base + static_cast<std::size_t>(std::countr_zero(pairs)) / 4;
        }
    }
    return base + firstSameFacePairPortable(codes + base, count - base);
}

// Sixteen comparisons as bytes (all ones or zero), each byte kept as its own bit and the
// bits of each half added up: sixteen bits of a mask.
std::uint64_t bitsOfBytes(uint8x16_t lanes) {
    const uint8x16_t weights = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
    const uint8x16_t kept = vandq_u8(lanes, weights);
    return vaddv_u8(vget_low_u8(kept)) |
           (static_cast<std::uint64_t>(vaddv_u8(vget_high_u8(kept))) << 8);
}

std::uint64_t statesBelowMaskNeon(const std::int32_t* states, std::int32_t bound) {
    const int32x4_t bounds = vdupq_n_s32(bound);
    std::uint64_t mask = 0;
    for (std::size_t base = 0; base < kMaskLanes; base += kLanes) {
        const std::int32_t* s = states + base;
        const uint16x8_t low = vcombine_u16(vmovn_u32(vcltq_s32(vld1q_s32(s), bounds)),
                                            vmovn_u32(vcltq_s32(vld1q_s32(s + 4), bounds)));
        const uint16x8_t high = vcombine_u16(vmovn_u32(vcltq_s32(vld1q_s32(s + 8), bounds)),
                                             vmovn_u32(vcltq_s32(vld1q_s32(s + 12), bounds)));
        mask |= bitsOfBytes(vcombine_u8(vmovn_u16(low), vmovn_u16(high))) << base;
    }
    return mask;
}

// Sixteen pairs a step, the last few one at a time.
void sameFacePairBitsNeon(const MoveCode* codes, std::size_t count, std::uint64_t* bits) {
    std::fill_n(bits, (count + 63) / 64, std::uint64_t{0});
    std::size_t base = 0;
    for (; base + kLanes + 1 <= count; base += kLanes) {
        const uint8x16_t left = vqtbl2q_u8(kFacesOfCodes, narrowedCodes(codes + base));
        const uint8x16_t right = vqtbl2q_u8(kFacesOfCodes, narrowedCodes(codes + base + 1));
        bits[base / 64] |= bitsOfBytes(vceqq_u8(left, right)) << (base % 64);
    }
    addPairBitsFrom(base, codes, count, bits);
}

}  // namespace

std::size_t firstSameFacePair(const MoveCode* codes, std::size_t count) {
    return firstSameFacePairNeon(codes, count);
}

void sameFacePairBits(const MoveCode* codes, std::size_t count, std::uint64_t* bits) {
    sameFacePairBitsNeon(codes, count, bits);
}

void writeCrossedRows(const MoveCode* first, const MoveCode* second, std::size_t count,
                      std::size_t cut, MoveCode* child1, MoveCode* child2) {
    writeCrossedRowsPortable(first, second, count, cut, child1, child2);
}

std::uint64_t statesBelowMask(const std::int32_t* states, std::int64_t bound) {
    if (const auto alone = maskOfBoundAlone(bound)) {
        return *alone;
    }
    return statesBelowMaskNeon(states, static_cast<std::int32_t>(bound));
}

#else

std::size_t firstSameFacePair(const MoveCode* codes, std::size_t count) {
    return firstSameFacePairPortable(codes, count);
}

void sameFacePairBits(const MoveCode* codes, std::size_t count, std::uint64_t* bits) {
    sameFacePairBitsPortable(codes, count, bits);
}

void writeCrossedRows(const MoveCode* first, const MoveCode* second, std::size_t count,
                      std::size_t cut, MoveCode* child1, MoveCode* child2) {
    writeCrossedRowsPortable(first, second, count, cut, child1, child2);
}

std::uint64_t statesBelowMask(const std::int32_t* states, std::int64_t bound) {
    return statesBelowMaskPortable(states, bound);
}

#endif

#ifndef CUBEGA_HAVE_AVX512_SCANS
bool sameFacePairBitsAvx2(const MoveCode*, std::size_t, std::uint64_t*) {
    return false;  // not an x86 processor
}

std::optional<std::uint64_t> statesBelowMaskAvx2(const std::int32_t*, std::int64_t) {
    return std::nullopt;  // not an x86 processor
}
#endif

}  // namespace cubega
