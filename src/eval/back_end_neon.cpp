// The NEON back end (AArch64 Advanced SIMD): the cube is four 16-byte registers, and one tbl
// instruction (vqtbl4q_u8) looks 16 lanes up in all 64 bytes of it, so a whole 64-lane gather
// is four instructions. Comparisons give a byte of all ones per equal lane, turned into a bit
// mask by weighting the lanes with their bit and adding neighbours pairwise.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <span>

#include "eval/back_ends.hpp"
#include "eval/gather_tables.hpp"

#if defined(__aarch64__) && defined(__ARM_NEON)
#include <arm_neon.h>
#define CUBEGA_HAVE_NEON 1
#endif

namespace cubega {

#ifdef CUBEGA_HAVE_NEON

namespace neon {

#define CUBEGA_ENGINE_TARGET
#include "eval/engine.inl"

struct Neon {
    using Lanes = uint8x16x4_t;
    using Index = LaneIndex;
    static constexpr std::size_t kWays = 4;
    static constexpr bool kJumpsTwoMoves = true;
    static constexpr bool kEdgesTestIsCostly = false;

    static constexpr Index prepare(const LaneIndex& index) { return index; }

    static Lanes load(const std::uint8_t* bytes) {
        return {
            {vld1q_u8(bytes), vld1q_u8(bytes + 16), vld1q_u8(bytes + 32), vld1q_u8(bytes + 48)}};
    }
    static Lanes gather(Lanes lanes, const LaneIndex& index) {
        const std::uint8_t* i = index.data();
        return {{vqtbl4q_u8(lanes, vld1q_u8(i)), vqtbl4q_u8(lanes, vld1q_u8(i + 16)),
                 vqtbl4q_u8(lanes, vld1q_u8(i + 32)), vqtbl4q_u8(lanes, vld1q_u8(i + 48))}};
    }
    static Lanes gatherLow(Lanes lanes, const LaneIndex& index) {
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
};

#include "eval/lane_model.inl"
#undef CUBEGA_ENGINE_TARGET

}  // namespace neon

void evaluateRowsNeon(const EvalStart& start, std::span<const MoveCode> codes, std::size_t length,
                      EvalMode mode, std::span<Evaluation> out) {
    const neon::LaneModel<neon::Neon> model(start.lanes, start.pieces);
    neon::evaluateRowsWith(model, codes, length, mode, out);
}

#else

void evaluateRowsNeon(const EvalStart&, std::span<const MoveCode>, std::size_t, EvalMode,
                      std::span<Evaluation>) {}

#endif

}  // namespace cubega
