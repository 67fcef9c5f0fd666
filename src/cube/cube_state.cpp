// The plain face turn: the definition that every faster move path is tested against.
#include "cube/cube_state.hpp"

namespace cubega {

CubeState rotateFace(const CubeState& cube, int face) {
    CubeState result = cube;
    const int base = 9 * face;
    for (int k = 0; k < 9; ++k) {
        result[base + k] = cube[base + kFaceTurnSource[static_cast<std::size_t>(k)]];
    }
    return result;
}

CubeState quarterTurn(const CubeState& cube, int face) {
    const CubeState& before = cube;
    CubeState result = rotateFace(cube, face);
    for (const FaceletCycle& cycle : kSideCycles[static_cast<std::size_t>(face)]) {
        const auto [p, q, r, s] = cycle;
        result[q] = before[p];
        result[r] = before[q];
        result[s] = before[r];
        result[p] = before[s];
    }
    return result;
}

}  // namespace cubega
