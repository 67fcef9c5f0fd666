// Facelet permutations built at compile time from cycle lists.
//
// A permutation is stored in gather form, result[i] = input[source[i]], over 64 lanes so
// that a cube padded to 64 bytes can be permuted whole; lanes 54..63 map to themselves.
#pragma once

#include <array>
#include <cstdint>

#include "cube/cube_state.hpp"

namespace cubega {

inline constexpr int kLaneCount = 64;

struct FaceletPermutation {
    std::array<std::uint8_t, kLaneCount> source{};

    friend constexpr bool operator==(const FaceletPermutation&,
                                     const FaceletPermutation&) = default;
};

constexpr FaceletPermutation identityPermutation() {
    FaceletPermutation p;
    for (int i = 0; i < kLaneCount; ++i) {
        p.source[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    return p;
}

// Cycles (p q r ...) move the colour at p to q, q to r, ..., the last back to p.
template <std::size_t CycleLength, std::size_t CycleCount>
constexpr FaceletPermutation permutationFromCycles(
    const std::array<std::array<int, CycleLength>, CycleCount>& cycles) {
    FaceletPermutation p = identityPermutation();
    for (const auto& cycle : cycles) {
        for (std::size_t k = 0; k < CycleLength; ++k) {
            const int from = cycle[k];
            const int to = cycle[(k + 1) % CycleLength];
            p.source[static_cast<std::size_t>(to)] = static_cast<std::uint8_t>(from);
        }
    }
    return p;
}

// `first`, then `second`.
constexpr FaceletPermutation compose(const FaceletPermutation& first,
                                     const FaceletPermutation& second) {
    FaceletPermutation p;
    for (std::size_t i = 0; i < kLaneCount; ++i) {
        p.source[i] = first.source[second.source[i]];
    }
    return p;
}

constexpr FaceletPermutation power(const FaceletPermutation& p, int times) {
    FaceletPermutation result = identityPermutation();
    for (int t = 0; t < times; ++t) {
        result = compose(result, p);
    }
    return result;
}

// Number of facelets (of the 54) that a permutation moves.
constexpr int movedFacelets(const FaceletPermutation& p) {
    int moved = 0;
    for (int i = 0; i < kFaceletCount; ++i) {
        moved += p.source[static_cast<std::size_t>(i)] != i ? 1 : 0;
    }
    return moved;
}

constexpr CubeState permute(const CubeState& cube, const FaceletPermutation& p) {
    CubeState result;
    for (int i = 0; i < kFaceletCount; ++i) {
        result[i] = cube[p.source[static_cast<std::size_t>(i)]];
    }
    return result;
}

}  // namespace cubega
