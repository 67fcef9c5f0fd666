// The 54-facelet cube and the clockwise quarter turn of each face.
//
// Facelet index = 9 * face + position. Faces in the order F U R B D L (0..5);
// positions 0..8 row by row as seen from outside the face, F/R/B/L with U on
// top, U with B on top, D with F on top:
//
//                 +----------+
//                 |  9 10 11 |
//                 | 12  U 14 |
//                 | 15 16 17 |
//      +----------+----------+----------+----------+
//      | 45 46 47 |  0  1  2 | 18 19 20 | 27 28 29 |
//      | 48  L 50 |  3  F  5 | 21  R 23 | 30  B 32 |
//      | 51 52 53 |  6  7  8 | 24 25 26 | 33 34 35 |
//      +----------+----------+----------+----------+
//                 | 36 37 38 |
//                 | 39  D 41 |
//                 | 42 43 44 |
//                 +----------+
//
// In the solved cube facelet i holds colour i / 9, the index of its face.
#pragma once

#include <array>
#include <cstdint>

namespace cubega {

inline constexpr int kFaceletCount = 54;
inline constexpr int kFaceCount = 6;

enum Face : int { kFront = 0, kUp = 1, kRight = 2, kBack = 3, kDown = 4, kLeft = 5 };

// Index of a face's centre facelet; no face turn ever moves it.
constexpr int centreOf(int face) {
    return 9 * face + 4;
}

// The centre of the face that facelet i lies on.
constexpr int centreOfFacelet(int facelet) {
    return centreOf(facelet / 9);
}

// A plain value: 54 colour values, copied freely and compared whole.
struct CubeState {
    std::array<std::int32_t, kFaceletCount> facelets{};

    constexpr std::int32_t& operator[](int i) { return facelets[static_cast<std::size_t>(i)]; }
    constexpr std::int32_t operator[](int i) const { return facelets[static_cast<std::size_t>(i)]; }
    friend constexpr bool operator==(const CubeState&, const CubeState&) = default;
};

// Facelet i holds colour i / 9.
constexpr CubeState solvedCube() {
    CubeState cube;
    for (int i = 0; i < kFaceletCount; ++i) {
        cube[i] = i / 9;
    }
    return cube;
}

// Every face shows one colour, whichever it is: whole-cube rotations move the colours to
// other faces, so a solved cube is not always solvedCube().
constexpr bool isSolved(const CubeState& cube) {
    for (int face = 0; face < kFaceCount; ++face) {
        for (int k = 0; k < 9; ++k) {
            if (cube[9 * face + k] != cube[centreOf(face)]) {
                return false;
            }
        }
    }
    return true;
}

// A 4-cycle (p q r s) of facelet positions: the colour at p moves to q, q to r, r to s, s to p.
using FaceletCycle = std::array<int, 4>;

// The three 4-cycles of the adjacent strips that a clockwise quarter turn of each face moves.
inline constexpr std::array<std::array<FaceletCycle, 3>, kFaceCount> kSideCycles{{
    {{{15, 18, 38, 53}, {16, 21, 37, 50}, {17, 24, 36, 47}}},  // F
    {{{0, 45, 27, 18}, {1, 46, 28, 19}, {2, 47, 29, 20}}},     // U
    {{{2, 11, 33, 38}, {5, 14, 30, 41}, {8, 17, 27, 44}}},     // R
    {{{9, 51, 44, 20}, {10, 48, 43, 23}, {11, 45, 42, 26}}},   // B
    {{{6, 24, 33, 51}, {7, 25, 34, 52}, {8, 26, 35, 53}}},     // D
    {{{0, 36, 35, 9}, {3, 39, 32, 12}, {6, 42, 29, 15}}},      // L
}};

// Within-face source positions of a clockwise turn: result[b + k] = input[b + s[k]].
inline constexpr std::array<int, 9> kFaceTurnSource{6, 3, 0, 7, 4, 1, 8, 5, 2};

// Turns only the nine facelets of `face` a quarter turn clockwise; the other 45 are copied.
CubeState rotateFace(const CubeState& cube, int face);

// One clockwise quarter turn of `face` as seen from outside it: 20 facelets move.
CubeState quarterTurn(const CubeState& cube, int face);

}  // namespace cubega
