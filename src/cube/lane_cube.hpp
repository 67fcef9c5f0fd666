// The cube as 64 byte lanes (54 facelets and 10 lanes of padding) for the fast move paths.
// A byte per colour makes a whole move one 64-lane permutation; see move_tables.hpp.
#pragma once

#include <array>
#include <cstdint>

#include "cube/cube_state.hpp"
#include "cube/move_tables.hpp"
#include "cube/moves.hpp"

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

inline CubeState fromLaneCube(const LaneCube& lanes) {
    CubeState cube;
    for (int i = 0; i < kFaceletCount; ++i) {
        cube[i] = lanes.lanes[static_cast<std::size_t>(i)];
    }
    return cube;
}

// The 20 facelets a move changes, as (destination, source) pairs: the portable fast path
// copies the cube and rewrites only these.
struct MovedFacelets {
    std::array<std::uint8_t, 20> destination{};
    std::array<std::uint8_t, 20> source{};
};

constexpr std::array<MovedFacelets, kMoveCount> makeMovedFacelets() {
    std::array<MovedFacelets, kMoveCount> all{};
    for (std::size_t code = 0; code < kMoveCount; ++code) {
        std::size_t k = 0;
        for (std::size_t i = 0; i < kFaceletCount; ++i) {
            const std::uint8_t from = kMovePermutations[code].source[i];
            if (from != i) {
                all[code].destination[k] = static_cast<std::uint8_t>(i);
                all[code].source[k] = from;
                ++k;
            }
        }
    }
    return all;
}

inline constexpr std::array<MovedFacelets, kMoveCount> kMovedFacelets = makeMovedFacelets();

// One move (code 0..17) in place, portable C++.
inline void applyMoveToLanes(LaneCube& cube, MoveCode code) {
    const LaneCube before = cube;
    const MovedFacelets& moved = kMovedFacelets[static_cast<std::size_t>(code)];
    for (std::size_t k = 0; k < 20; ++k) {
        cube.lanes[moved.destination[k]] = before.lanes[moved.source[k]];
    }
}

}  // namespace cubega
