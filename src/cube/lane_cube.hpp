// The cube as 64 byte lanes (54 facelets and 10 lanes of padding), as the evaluation's back
// ends hold it: a byte per colour makes a whole move one 64-lane permutation (move_tables.hpp).
#pragma once

#include <array>
#include <cstdint>

#include "cube/cube_state.hpp"
#include "cube/permutation.hpp"

namespace cubega {

struct alignas(64) LaneCube {
    std::array<std::uint8_t, kLaneCount> lanes{};

    friend bool operator==(const LaneCube&, const LaneCube&) = default;
};

// False (and `out` unspecified) when a colour does not fit in a byte.
inline bool toLaneCube(const CubeState& cube, LaneCube& out) {
    out = LaneCube{};
    for (int i = 0; i < kFaceletCount; ++i) {
        if (cube[i] < 0 || cube[i] > 255) {
            return false;
        }
        out.lanes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(cube[i]);
    }
    return true;
}

}  // namespace cubega
