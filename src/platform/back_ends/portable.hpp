// The portable back end: plain C++ for the base instruction set, one value a step, which the
// compiler vectorises where it can. The evaluation uses the cube as its pieces here (no byte
// gather to build on), and every other back end is tested against this one.
#pragma once

#include <cstddef>
#include <cstdint>

#define CUBEGA_PORTABLE_TARGET

namespace cubega::back_ends {

struct PortableOps {
    // --- Rows of 32-bit codes 0..17 and random states.
    static constexpr std::size_t kRowLanes = 1;
    static constexpr bool kWideLoops = false;

    // The face of a code 0..17. One value at a time, the remainder (a multiplication) beats
    // compares, which the compiler turns into branches that random codes mispredict.
    static constexpr std::int32_t faceOf(std::int32_t code) { return code % 6; }
    // Bit 0 set when codes[0] and codes[1] turn one face.
    static std::uint64_t sameFacePairs(const std::int32_t* codes) {
        return faceOf(codes[0]) == faceOf(codes[1]) ? 1 : 0;
    }
    // Bit 0 set when states[0] < bound.
    static std::uint64_t statesBelow(const std::int32_t* states, std::int32_t bound) {
        return states[0] < bound ? 1 : 0;
    }
};

}  // namespace cubega::back_ends
