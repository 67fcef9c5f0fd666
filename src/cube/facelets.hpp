// The cube as the 54-letter text most cube programs exchange: the faces in the order U R F D L
// B, each read row by row, left to right, in the usual unfolded net (L F R B side by side, U
// above F with its first row next to B, D below F with its first row next to F), each letter
// naming the face whose centre has that colour. The solved cube is nine U, then nine R, and so
// on. This is the program's own layout of each face, so facelet k of the text's face X is
// facelet k of X here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cube/cube_state.hpp"

namespace cubega {

inline constexpr std::string_view kFaceletFaceOrder = "URFDLB";

struct FaceletCube {
    CubeState cube;  // when the text is a cube face turns reach; colours are face indices
    std::optional<std::string> error;  // else what is wrong, the first broken rule
};

// The cube a text describes, after checking it: 54 letters of U R F D L B, nine of each, six
// different centres, and a cube that face turns reach from solved (real pieces, each once,
// corner twists, edge flips and parities as turns leave them). Facelet colours are the
// program's face indices of the faces whose centres have them, so a solved text gives
// solvedCube().
FaceletCube cubeFromFaceletText(std::string_view text);

// Where the program's facelet i (9 * face + position, faces F U R B D L) stands in the text.
int faceletTextIndex(int facelet);

// The text of a cube whose six centres have six different colours: each facelet named by the
// face whose centre has its colour.
std::string faceletText(const CubeState& cube);

}  // namespace cubega
