// The stacks of the two-face simplification, which settles many rows folded onto F and U at
// once, a row in each vector lane (see two_face_simplification.hpp).
//
// On two faces a row with no same-face neighbours alternates U and F, so a stack of such
// moves is its top face and the quarter turns of each move, two bits a move: 16 moves a
// 32-bit word, up to kTwoFaceWords words.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace cubega {

inline constexpr std::size_t kTwoFaceLanes = 64;  // rows at a time, at most
inline constexpr std::size_t kTwoFaceSlots = 64;  // the longest row
inline constexpr std::size_t kTwoFaceWords = kTwoFaceSlots / 16;

// The words a stack of `slots` moves needs: two for up to 32, four for 64. (Every word costs
// every step: with eight, for 128, the lanes measured slower than settling row by row.)
constexpr std::size_t twoFaceWordsFor(std::size_t slots) {
    return slots <= 32 ? 2 : 4;
}

// The codes read at once, slot by slot: 64 rows of up to 32 slots, 32 rows of up to 64.
inline constexpr std::size_t kTwoFaceCodes = 2048;

// How many rows of `slots` codes (1..kTwoFaceSlots) are read at once.
constexpr std::size_t twoFaceRowsAtOnce(std::size_t slots) {
    return kTwoFaceCodes / (16 * twoFaceWordsFor(slots));
}
static_assert(twoFaceRowsAtOnce(1) == kTwoFaceLanes && twoFaceRowsAtOnce(kTwoFaceSlots) == 32);

// The stacks of all lanes, a field at a time, as the vector loop reads and writes them: the
// quarter turns with the top's in the lowest two bits of turns[0] (the 16 moves nearest the
// top in turns[0], the next 16 in turns[1], ...), the depth, the top's face (0 U, 1 F) and the
// slots freed so far. 32-bit lanes, the width of the codes. (The words are a plain array, so
// that the vector loop can take them through one pointer.)
struct TwoFaceStacks {
    std::uint32_t turns[kTwoFaceWords][kTwoFaceLanes];
    std::array<std::uint32_t, kTwoFaceLanes> depth;
    std::array<std::uint32_t, kTwoFaceLanes> topFace;
    std::array<std::uint32_t, kTwoFaceLanes> freed;
};

}  // namespace cubega
