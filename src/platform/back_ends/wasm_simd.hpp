// The WebAssembly SIMD back end (128-bit vectors): the cube is four 16-byte vectors. Its one
// table lookup, wasm_i8x16_swizzle, reads a single 16-byte vector and gives zero for an index
// of 16 or more, so a 16-lane gather from the 64-byte cube looks each index up in the cube's
// four vectors, with the index moved down by 16 per vector at compile time (so that only the
// vector holding a facelet answers), and ORs the four lookups. Comparisons become bit masks
// with wasm_i8x16_bitmask and wasm_i32x4_bitmask. Rows of 32-bit codes and states are read
// sixteen at a time, codes narrowed to bytes.
#pragma once

#include "platform/isa.hpp"

#ifdef CUBEGA_WASM_SIMD

#include <wasm_simd128.h>

#include <array>
#include <cstddef>
#include <cstdint>

#define CUBEGA_WASM_SIMD_TARGET

namespace cubega::back_ends {

struct WasmSimdOps {
    // --- The cube as 64 byte lanes.
    struct Lanes {
        v128_t v[4];
    };
    // chunk[k][i] = index[i] - 16 k, modulo 256: lane i's facelet as an index into vector k.
    struct Index {
        std::array<std::array<std::uint8_t, 64>, 4> chunk{};
    };
    static constexpr std::size_t kWays = 2;
    // A jump by two moves would need 324 indices of 256 bytes each, as on AVX2.
    static constexpr bool kJumpsTwoMoves = false;
    static constexpr bool kEdgesTestIsCostly = true;

    static constexpr Index prepare(const std::array<std::uint8_t, 64>& index) {
        Index result;
        for (std::size_t k = 0; k < 4; ++k) {
            for (std::size_t i = 0; i < 64; ++i) {
                result.chunk[k][i] = static_cast<std::uint8_t>(index[i] - 16 * k);
            }
        }
        return result;
    }

    static v128_t load16(const std::uint8_t* bytes) { return wasm_v128_load(bytes); }
    static Lanes load(const std::uint8_t* bytes) {
        return {{load16(bytes), load16(bytes + 16), load16(bytes + 32), load16(bytes + 48)}};
    }
    // Lanes 16 g .. 16 g + 15 of the gather.
    static v128_t gatherGroup(const Lanes& lanes, const Index& index, std::size_t g) {
        return wasm_v128_or(
            wasm_v128_or(wasm_i8x16_swizzle(lanes.v[0], load16(index.chunk[0].data() + 16 * g)),
                         wasm_i8x16_swizzle(lanes.v[1], load16(index.chunk[1].data() + 16 * g))),
            wasm_v128_or(wasm_i8x16_swizzle(lanes.v[2], load16(index.chunk[2].data() + 16 * g)),
                         wasm_i8x16_swizzle(lanes.v[3], load16(index.chunk[3].data() + 16 * g))));
    }
    static Lanes gather(Lanes lanes, const Index& index) {
        return {{gatherGroup(lanes, index, 0), gatherGroup(lanes, index, 1),
                 gatherGroup(lanes, index, 2), gatherGroup(lanes, index, 3)}};
    }
    static Lanes gatherLow(Lanes lanes, const Index& index) {
        const v128_t a = gatherGroup(lanes, index, 0);
        const v128_t b = gatherGroup(lanes, index, 1);
        return {{a, b, a, b}};
    }
    static std::uint64_t equalBits(v128_t a, v128_t b) {
        return wasm_i8x16_bitmask(wasm_i8x16_eq(a, b));
    }
    static std::uint64_t equal(Lanes a, Lanes b) {
        return equalBits(a.v[0], b.v[0]) | (equalBits(a.v[1], b.v[1]) << 16) |
               (equalBits(a.v[2], b.v[2]) << 32) | (equalBits(a.v[3], b.v[3]) << 48);
    }
    static std::uint32_t equalHalves(Lanes lanes) {
        return static_cast<std::uint32_t>(equalBits(lanes.v[0], lanes.v[2]) |
                                          (equalBits(lanes.v[1], lanes.v[3]) << 16));
    }
    static std::uint32_t equalLowQuarters(Lanes lanes) {
        return static_cast<std::uint32_t>(equalBits(lanes.v[0], lanes.v[1]));
    }
    static void store(Lanes lanes, std::uint8_t* bytes) {
        for (std::size_t k = 0; k < 4; ++k) {
            wasm_v128_store(bytes + 16 * k, lanes.v[k]);
        }
    }

    // --- Rows of 32-bit codes 0..17 and random states.
    static constexpr std::size_t kRowLanes = 16;
    // Four 32-bit lanes a vector: as on NEON, the two-face lanes would not pay.
    static constexpr bool kWideLoops = false;

    // Sixteen codes 0..17 as bytes, then their faces: 6 off for each of code > 5, code > 11.
    static v128_t facesOfSixteen(const std::int32_t* codes) {
        const v128_t low =
            wasm_i16x8_narrow_i32x4(wasm_v128_load(codes), wasm_v128_load(codes + 4));
        const v128_t high =
            wasm_i16x8_narrow_i32x4(wasm_v128_load(codes + 8), wasm_v128_load(codes + 12));
        const v128_t code = wasm_u8x16_narrow_i16x8(low, high);
        const v128_t six = wasm_i8x16_splat(6);
        const v128_t pastFive = wasm_v128_and(wasm_i8x16_gt(code, wasm_i8x16_splat(5)), six);
        const v128_t pastEleven = wasm_v128_and(wasm_i8x16_gt(code, wasm_i8x16_splat(11)), six);
        return wasm_i8x16_sub(wasm_i8x16_sub(code, pastFive), pastEleven);
    }
    // Bit i set when codes[i] and codes[i + 1] turn one face, i < 16.
    static std::uint64_t sameFacePairs(const std::int32_t* codes) {
        return equalBits(facesOfSixteen(codes), facesOfSixteen(codes + 1));
    }
    // Bit k set when states[k] < bound, k < 16.
    static std::uint64_t statesBelow(const std::int32_t* states, std::int32_t bound) {
        const v128_t bounds = wasm_i32x4_splat(bound);
        std::uint64_t bits = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            bits |= std::uint64_t{wasm_i32x4_bitmask(
                        wasm_i32x4_lt(wasm_v128_load(states + 4 * k), bounds))}
                    << (4 * k);
        }
        return bits;
    }
};

}  // namespace cubega::back_ends

#endif
