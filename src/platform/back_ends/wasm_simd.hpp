// The WebAssembly SIMD back end (128-bit vectors): the generation loop's kernels. Rows of
// 32-bit codes and states are read sixteen at a time, codes narrowed to bytes; comparisons
// become bit masks with wasm_i8x16_bitmask and wasm_i32x4_bitmask.
//
// The evaluation plays the cube as its pieces, as the portable back end does: its one table
// lookup, wasm_i8x16_swizzle, reads a single 16-byte vector, so a move as a 64-lane gather
// from the cube's four vectors takes sixteen lookups, and under node and Chromium that form
// evaluated a sequence 1.3 to 1.6 times slower than the pieces.
#pragma once

#include "platform/isa.hpp"

#ifdef CUBEGA_WASM_SIMD

#include <wasm_simd128.h>

#include <cstddef>
#include <cstdint>

#define CUBEGA_WASM_SIMD_TARGET

namespace cubega::back_ends {

struct WasmSimdOps {
    // Rows of 32-bit codes 0..17 and random states.
    static constexpr std::size_t kRowLanes = 16;
    // Four 32-bit lanes a vector: as on NEON, the two-face lanes would not pay.
    static constexpr bool kWideLoops = false;

    static std::uint64_t equalBits(v128_t a, v128_t b) {
        return wasm_i8x16_bitmask(wasm_i8x16_eq(a, b));
    }

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
