// The stacks of the two-face simplification, which settles up to 64 rows folded onto F and U
// at once, a row in each vector lane (see two_face_simplification.hpp).
//
// On two faces a row with no same-face neighbours alternates U and F, so a stack of such
// moves is its top face and the quarter turns of each move, two bits a move: 32 moves fit two
// 32-bit words.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cubega {

inline constexpr std::size_t kTwoFaceLanes = 64;  // rows at a time
inline constexpr std::size_t kTwoFaceSlots = 32;  // the longest row

// The stacks of all lanes, a field at a time, as the vector loop reads and writes them: the
// quarter turns with the top's in the lowest two bits (the 16 moves nearest the top in
// `nearTurns`, the rest in `deepTurns`), the depth, the top's face (0 U, 1 F) and the slots
// freed so far. 32-bit lanes, the width of the codes.
struct TwoFaceStacks {
    std::array<std::uint32_t, kTwoFaceLanes> nearTurns;
    std::array<std::uint32_t, kTwoFaceLanes> deepTurns;
    std::array<std::uint32_t, kTwoFaceLanes> depth;
    std::array<std::uint32_t, kTwoFaceLanes> topFace;
    std::array<std::uint32_t, kTwoFaceLanes> freed;
};

}  // namespace cubega
