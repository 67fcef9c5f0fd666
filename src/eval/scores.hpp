// Scores of a cube. Pure functions: no state, no I/O, no allocation.
//
// Pieces are recognised by comparing colours with each other and with the six centres, so
// renaming the colours consistently never changes a score.
#pragma once

#include <array>
#include <cstdint>

#include "cube/cube_state.hpp"

namespace cubega {

// A corner-edge pair is joined when both facelet pairs it shares on two faces match:
// cube[a] == cube[b] and cube[c] == cube[d].
struct PairCondition {
    int a, b, c, d;
};

// Three per corner, corners FUL FUR FDR FDL UBL UBR DBR DBL; the last six are the block's.
inline constexpr std::array<PairCondition, 24> kPairConditions{{
    {0, 1, 15, 16},   {0, 3, 47, 50},   {47, 46, 15, 12},  // FUL: FU FL UL
    {2, 5, 18, 21},   {2, 1, 17, 16},   {17, 14, 18, 19},  // FUR: FR FU UR
    {8, 5, 24, 21},   {8, 7, 38, 37},   {38, 41, 24, 25},  // FDR: FR FD DR
    {6, 3, 53, 50},   {6, 7, 36, 37},   {36, 39, 53, 52},  // FDL: FL FD DL
    {29, 32, 45, 48}, {29, 28, 9, 10},  {9, 12, 45, 46},   // UBL: BL UB UL
    {27, 28, 11, 10}, {27, 30, 20, 23}, {11, 14, 20, 19},  // UBR: UB BR UR
    {33, 34, 44, 43}, {33, 30, 26, 23}, {44, 41, 26, 25},  // DBR: DB BR DR
    {35, 34, 42, 43}, {35, 32, 51, 48}, {42, 39, 51, 52},  // DBL: DB BL DL
}};

// Edge facelets: positions 1, 3, 5 and 7 of every face, each matched against its centre.
constexpr int edgeFacelet(int k) {
    return 9 * (k / 4) + 1 + 2 * (k % 4);
}

// The block between D and B: its six pair conditions and its ten edge facelets.
inline constexpr int kFirstBlockPair = 18;
inline constexpr std::array<int, 10> kBlockEdgeFacelets{23, 25, 30, 32, 34, 39, 41, 43, 48, 52};

// Joined corner-edge pairs plus edge facelets that match their centre: 0..48, 48 only when
// the cube is solved.
std::int32_t pairScore(const CubeState& cube);

// The block score of a complete 2x2x3 block.
inline constexpr std::int32_t kCompleteBlockScore = 16;

// The pair score restricted to the 2x2x3 block that F and U turns never move:
// 0..kCompleteBlockScore, kCompleteBlockScore when the block is complete.
std::int32_t blockScore(const CubeState& cube);

// Whether F and U turns can solve the F and U layers: every F/U-layer edge position holds an
// F/U-layer edge turned the way F and U turns leave it, and the six F/U-layer corners stand in
// one of the 120 arrangements those turns produce. Corner twist and the block's own positions
// are not examined. A block corner standing among the F/U-layer corners gives false. Colours
// must be 0..5.
bool inTwoGenGroup(const CubeState& cube);

// --- Tables of the two-generator test, shared with the fast path. ---

// Edge positions of the F and U layers: primary facelet (matched against the F centre) and
// secondary facelet (matched against the U centre).
struct EdgePosition {
    int primary, secondary;
};
inline constexpr std::array<EdgePosition, 7> kTwoGenEdges{
    {{1, 16}, {3, 50}, {5, 21}, {7, 37}, {28, 10}, {46, 12}, {19, 14}}};

// Corner positions FDL FDR FUL FUR UBL UBR (key digits 1..6) by their three facelets, and
// the six F/U-layer corner pieces, in the same order, by the centres whose colours they carry.
inline constexpr std::array<std::array<int, 3>, 6> kTwoGenCornerPositions{
    {{6, 36, 53}, {8, 38, 24}, {0, 15, 47}, {2, 17, 18}, {29, 9, 45}, {27, 11, 20}}};
inline constexpr std::array<std::array<int, 3>, 6> kTwoGenCornerPieces{
    {{4, 40, 49}, {4, 40, 22}, {4, 13, 49}, {4, 13, 22}, {31, 13, 49}, {31, 13, 22}}};

// Class of each piece in the two classifications.
inline constexpr std::array<int, 6> kClassA{0, 1, 2, 2, 0, 1};
inline constexpr std::array<int, 6> kClassB{0, 1, 0, 2, 1, 2};

// The keys (class digits of positions 1..6 read as a decimal number) that F and U turns
// produce; each classification must give one of them.
inline constexpr std::array<std::int32_t, 30> kAllowedKeys{
    1221,   2112,   10212,  11022,  12120,  12201,  20121,  21102,  21210,  22011,
    100122, 101202, 102021, 102210, 110220, 112002, 120012, 120201, 121020, 122100,
    200211, 201012, 201120, 202101, 210021, 210102, 211200, 212010, 220110, 221001};

}  // namespace cubega
