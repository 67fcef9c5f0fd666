// The corners and edges of the cube by their facelets, and whether a coloured cube is one
// that face turns can reach from solved.
//
// Each corner lists its U or D facelet first, then the others clockwise as seen from outside
// the corner, so a face turn takes every corner's list to another's, cyclically shifted; each
// edge its U or D facelet first, or on the middle layer its F or B facelet. These are the one
// table of the pieces: the state checks here and the evaluation's piece model both read it.
// A corner's twist is where its piece's U or D colour stands (0..2), an edge's flip whether its
// piece's first colour stands second. Face turns keep the twists' sum a multiple of 3, the
// flips' sum even and the corners' and edges' arrangements of equal parity.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "cube/cube_state.hpp"

namespace cubega {

// URF UFL ULB UBR DFR DLF DBL DRB
inline constexpr std::array<std::array<int, 3>, 8> kCornerFacelets{{{17, 18, 2},
                                                                    {15, 0, 47},
                                                                    {9, 45, 29},
                                                                    {11, 27, 20},
                                                                    {38, 8, 24},
                                                                    {36, 53, 6},
                                                                    {42, 35, 51},
                                                                    {44, 26, 33}}};
inline constexpr std::array<std::string_view, 8> kCornerNames{"UFR", "UFL", "UBL", "UBR",
                                                              "DFR", "DFL", "DBL", "DBR"};

// UR UF UL UB DR DF DL DB FR FL BL BR
inline constexpr std::array<std::array<int, 2>, 12> kEdgeFacelets{{{14, 19},
                                                                   {16, 1},
                                                                   {12, 46},
                                                                   {10, 28},
                                                                   {41, 25},
                                                                   {37, 7},
                                                                   {39, 52},
                                                                   {43, 34},
                                                                   {5, 21},
                                                                   {3, 50},
                                                                   {32, 48},
                                                                   {30, 23}}};
inline constexpr std::array<std::string_view, 12> kEdgeNames{"UR", "UF", "UL", "UB", "DR", "DF",
                                                             "DL", "DB", "FR", "FL", "BL", "BR"};

// Why a cube whose six colours each cover nine facelets, one of them on each centre, cannot be
// reached by face turns; nothing when it can. The first rule it breaks: every corner and edge
// a real piece, each piece once, then the twists, the flips and the parities.
std::optional<std::string> unreachableReason(const CubeState& cube);

}  // namespace cubega
