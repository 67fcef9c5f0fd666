// The NEON back end (AArch64 Advanced SIMD): the cube is four 16-byte registers, and one tbl
// instruction (vqtbl4q_u8) looks 16 lanes up in all 64 bytes of it, so a whole 64-lane gather
// is four instructions. Comparisons give a byte of all ones per equal lane, turned into a bit
// mask by weighting the lanes with their bit and adding neighbours pairwise. Rows of 32-bit
// codes and states are read sixteen at a time, narrowed to bytes.
#pragma once

#include "platform/isa.hpp"

#ifdef CUBEGA_NEON

#include <arm_neon.h>

#include <array>
#include <cstddef>
#include <cstdint>

#define CUBEGA_NEON_TARGET

namespace cubega::back_ends {

struct NeonOps {
    // --- The cube as 64 byte lanes.
    using Lanes = uint8x16x4_t;
    using Index = std::array<std::uint8_t, 64>;
    static constexpr std::size_t kWays = 4;
    static constexpr bool kJumpsTwoMoves = true;
    static constexpr bool kEdgesTestIsCostly = false;

    static constexpr Index prepare(const std::array<std::uint8_t, 64>& index) { return index; }

    static Lanes load(const std::uint8_t* bytes) {
        return {
            {vld1q_u8(bytes), vld1q_u8(bytes + 16), vld1q_u8(bytes + 32), vld1q_u8(bytes + 48)}};
    }
    static Lanes gather(Lanes lanes, const Index& index) {
        const std::uint8_t* i = index.data();
        return {{vqtbl4q_u8(lanes, vld1q_u8(i)), vqtbl4q_u8(lanes, vld1q_u8(i + 16)),
                 vqtbl4q_u8(lanes, vld1q_u8(i + 32)), vqtbl4q_u8(lanes, vld1q_u8(i + 48))}};
    }
    static Lanes gatherLow(Lanes lanes, const Index& index) {
        const std::uint8_t* i = index.data();
        const uint8x16_t a = vqtbl4q_u8(lanes, vld1q_u8(i));
        const uint8x16_t b = vqtbl4q_u8(lanes, vld1q_u8(i + 16));
        return {{a, b, a, b}};
    }
    static uint8x16_t weighted(uint8x16_t equal) {
        const uint8x16_t bits = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
        return vandq_u8(equal, bits);
    }
    static std::uint64_t equal(Lanes a, Lanes b) {
        const uint8x16_t low = vpaddq_u8(weighted(vceqq_u8(a.val[0], b.val[0])),
                                         weighted(vceqq_u8(a.val[1], b.val[1])));
        const uint8x16_t high = vpaddq_u8(weighted(vceqq_u8(a.val[2], b.val[2])),
                                          weighted(vceqq_u8(a.val[3], b.val[3])));
        const uint8x16_t quads = vpaddq_u8(low, high);
        return vgetq_lane_u64(vreinterpretq_u64_u8(vpaddq_u8(quads, quads)), 0);
    }
    static std::uint32_t equalHalves(Lanes lanes) {
        const uint8x16_t pairs = vpaddq_u8(weighted(vceqq_u8(lanes.val[0], lanes.val[2])),
                                           weighted(vceqq_u8(lanes.val[1], lanes.val[3])));
        const uint8x16_t quads = vpaddq_u8(pairs, pairs);
        return vgetq_lane_u32(vreinterpretq_u32_u8(vpaddq_u8(quads, quads)), 0);
    }
    static std::uint32_t equalLowQuarters(Lanes lanes) {
        const uint8x16_t pairs = weighted(vceqq_u8(lanes.val[0], lanes.val[1]));
        const uint8x16_t quads = vpaddq_u8(pairs, pairs);
        const uint8x16_t eights = vpaddq_u8(quads, quads);
        return vgetq_lane_u16(vreinterpretq_u16_u8(vpaddq_u8(eights, eights)), 0);
    }
    static void store(Lanes lanes, std::uint8_t* bytes) {
        for (int k = 0; k < 4; ++k) {
            vst1q_u8(bytes + 16 * k, lanes.val[k]);
        }
    }

    // --- Rows of 32-bit codes 0..17 and random states.
    static constexpr std::size_t kRowLanes = 16;
    // Four 32-bit lanes a register: the two-face simplification measured slower in lanes.
    static constexpr bool kWideLoops = false;

    // Sixteen 32-bit values narrowed to bytes (codes 0..17, or comparison results).
    static uint8x16_t narrowed(uint32x4_t a, uint32x4_t b, uint32x4_t c, uint32x4_t d) {
        const uint16x8_t low = vcombine_u16(vmovn_u32(a), vmovn_u32(b));
        const uint16x8_t high = vcombine_u16(vmovn_u32(c), vmovn_u32(d));
        return vcombine_u8(vmovn_u16(low), vmovn_u16(high));
    }
    static uint8x16_t narrowedCodes(const std::int32_t* codes) {
        return narrowed(vreinterpretq_u32_s32(vld1q_s32(codes)),
                        vreinterpretq_u32_s32(vld1q_s32(codes + 4)),
                        vreinterpretq_u32_s32(vld1q_s32(codes + 8)),
                        vreinterpretq_u32_s32(vld1q_s32(codes + 12)));
    }
    // Sixteen comparisons as bytes (all ones or zero), each byte kept as its own bit and the
    // bits of each half added up: sixteen bits of a mask.
    static std::uint64_t bitsOfBytes(uint8x16_t lanes) {
        const uint8x16_t kept = weighted(lanes);
        return vaddv_u8(vget_low_u8(kept)) |
               (static_cast<std::uint64_t>(vaddv_u8(vget_high_u8(kept))) << 8);
    }
    // The face of every code 0..31 (codes above 17 never occur).
    static uint8x16_t facesOf(uint8x16_t codes) {
        static constexpr std::uint8_t kFaces[32] = {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3,
                                                    4, 5, 0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1};
        return vqtbl2q_u8({{vld1q_u8(kFaces), vld1q_u8(kFaces + 16)}}, codes);
    }
    // Bit i set when codes[i] and codes[i + 1] turn one face, i < 16.
    static std::uint64_t sameFacePairs(const std::int32_t* codes) {
        return bitsOfBytes(
            vceqq_u8(facesOf(narrowedCodes(codes)), facesOf(narrowedCodes(codes + 1))));
    }
    // Bit k set when states[k] < bound, k < 16.
    static std::uint64_t statesBelow(const std::int32_t* states, std::int32_t bound) {
        const int32x4_t bounds = vdupq_n_s32(bound);
        return bitsOfBytes(narrowed(
            vcltq_s32(vld1q_s32(states), bounds), vcltq_s32(vld1q_s32(states + 4), bounds),
            vcltq_s32(vld1q_s32(states + 8), bounds), vcltq_s32(vld1q_s32(states + 12), bounds)));
    }
};

}  // namespace cubega::back_ends

#endif
