// The portable back end: the engine over the cube as its pieces (piece_model.hpp), in plain
// C++. A move rewrites eight small numbers, and each score condition is a table lookup.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <span>

#include "eval/back_ends.hpp"

namespace cubega {

namespace portable {

#define CUBEGA_ENGINE_TARGET
#include "eval/engine.inl"

// Where the stickers of every position came from (see piece_model.hpp). For the pair score,
// which counts conditions all over the cube, the score and each corner's part of it are kept
// too: a corner's part is its three pair conditions and the centre matches of the edges it
// counts (kCountsEdgeCentres), and a move changes the parts of the four corners it turns and
// nothing else.
struct PieceCube {
    std::array<std::uint8_t, kCornerCount> corners;
    std::array<std::uint8_t, kEdgeCount> edges;
    std::array<std::uint8_t, kCornerCount> cornerParts;  // 0..7
    std::int32_t pairScore;
};

// A corner state shifted by 0..2 (rows 0..2) and an edge state flipped or not (rows 3..4), as
// one table, so a move reads each new state with one lookup at a precomputed row.
inline constexpr std::size_t kStates = 24;
static_assert(kCornerStates == kStates && kEdgeStates == kStates);
inline constexpr auto kTurned = [] {
    std::array<std::uint8_t, 5 * kStates> turned{};
    for (std::size_t s = 0; s < kStates; ++s) {
        for (std::size_t j = 0; j < 3; ++j) {
            turned[j * kStates + s] = static_cast<std::uint8_t>(3 * (s / 3) + (s % 3 + j) % 3);
        }
        for (std::size_t j = 0; j < 2; ++j) {
            turned[(3 + j) * kStates + s] =
                static_cast<std::uint8_t>(2 * (s / 2) + (s % 2 + j) % 2);
        }
    }
    return turned;
}();

// One piece a move carries: position `to` gets position `from`'s state looked up in kTurned
// at `row`.
struct Carry {
    std::uint8_t to, from, row;
};
struct MoveCarries {
    std::array<Carry, 4> corners, edges;
};
inline constexpr auto kMoveCarries = [] {
    std::array<MoveCarries, kMoveCount> carries{};
    for (std::size_t m = 0; m < kMoveCount; ++m) {
        const PieceMoves& move = kPieceMoves[m];
        for (std::size_t k = 0; k < 4; ++k) {
            carries[m].corners[k] = {move.cornerTo[k], move.cornerFrom[k],
                                     static_cast<std::uint8_t>(move.cornerTurn[k] * kStates)};
            carries[m].edges[k] = {move.edgeTo[k], move.edgeFrom[k],
                                   static_cast<std::uint8_t>((3 + move.edgeTurn[k]) * kStates)};
        }
    }
    return carries;
}();

class PieceModel {
  public:
    using Cube = PieceCube;
    // The cube itself: its numbers are written one byte at a time, and a copy read as a whole
    // right after would wait for all those writes.
    using View = const PieceCube*;
    static constexpr bool kEdgesTestIsCostly = true;
    static constexpr std::size_t kWays = 8;

    explicit PieceModel(const EvalStart& start)
        : start_(&start), tables_(&start.pieceTables), startCube_() {
        for (std::size_t x = 0; x < kCornerCount; ++x) {
            startCube_.corners[x] = static_cast<std::uint8_t>(3 * x);
        }
        for (std::size_t y = 0; y < kEdgeCount; ++y) {
            startCube_.edges[y] = static_cast<std::uint8_t>(2 * y);
        }
        startCube_.pairScore = 0;
        for (std::size_t x = 0; x < kCornerCount; ++x) {
            startCube_.cornerParts[x] = static_cast<std::uint8_t>(cornerPart(startCube_, x));
            startCube_.pairScore += startCube_.cornerParts[x];
        }
    }

    Cube start() const { return startCube_; }

    // In place: the eight new numbers are read before any is written.
    void move(Cube& cube, std::size_t code) const {
        const MoveCarries& move = kMoveCarries[code];
        std::uint8_t corners[4];
        std::uint8_t edges[4];
        for (std::size_t k = 0; k < 4; ++k) {
            corners[k] = kTurned[std::size_t{move.corners[k].row} +
                                 std::size_t{cube.corners[move.corners[k].from]}];
            edges[k] = kTurned[std::size_t{move.edges[k].row} +
                               std::size_t{cube.edges[move.edges[k].from]}];
        }
        for (std::size_t k = 0; k < 4; ++k) {
            cube.corners[move.corners[k].to] = corners[k];
            cube.edges[move.edges[k].to] = edges[k];
        }
    }

    void step(Cube& cube, std::size_t code, View& after) const {
        move(cube, code);
        after = &cube;
    }

    // Only the parts of the score that the move can change are worked out again.
    std::int32_t pairStep(Cube& cube, std::size_t code) const {
        move(cube, code);
        const MoveCarries& turned = kMoveCarries[code];
        std::int32_t change = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const std::size_t x = turned.corners[k].to;
            const auto part = static_cast<std::uint8_t>(cornerPart(cube, x));
            change += part - cube.cornerParts[x];
            cube.cornerParts[x] = part;
        }
        cube.pairScore += change;
        return cube.pairScore;
    }

    std::int32_t blockScore(View cube) const {
        return cornerPart(*cube, kBlockCorners[0]) + cornerPart(*cube, kBlockCorners[1]);
    }

    bool edgesPass(View cube) const {
        std::uint32_t pass = 1;
        for (std::size_t k = 0; k < kTwoGenEdgePieces.size(); ++k) {
            pass &= tables_->twoGenEdgePasses[k] >> cube->edges[kTwoGenEdgePieces[k].edge];
        }
        return (pass & 1U) != 0;
    }

    // Rarely reached: the corner facelets are written out and tested as on the byte cube.
    [[gnu::noinline]] bool cornersPass(const Cube& cube) const {
        LaneCube lanes = start_->lanes;
        for (std::size_t x = 0; x < kCornerCount; ++x) {
            for (std::size_t i = 0; i < 3; ++i) {
                lanes.lanes[static_cast<std::size_t>(kCornerFacelets[x][i])] =
                    start_->lanes.lanes[static_cast<std::size_t>(cornerSource(cube.corners[x], i))];
            }
        }
        return twoGenCornersPassLanes(lanes, start_->pieces);
    }

  private:
    std::int32_t cornerPart(const Cube& cube, std::size_t x) const {
        const auto& parts = tables_->parts[x];
        const std::uint8_t state = cube.corners[x];
        const std::uint32_t edges = kPackedCornerEdges[x];  // one load for the three
        return parts[0][state][cube.edges[edges & 0xFF]] +
               parts[1][state][cube.edges[(edges >> 8) & 0xFF]] +
               parts[2][state][cube.edges[edges >> 16]];
    }

    static constexpr auto kPackedCornerEdges = [] {
        std::array<std::uint32_t, kCornerCount> packed{};
        for (std::size_t x = 0; x < kCornerCount; ++x) {
            packed[x] = kCornerEdges[x][0] | (std::uint32_t{kCornerEdges[x][1]} << 8) |
                        (std::uint32_t{kCornerEdges[x][2]} << 16);
        }
        return packed;
    }();

    const EvalStart* start_;
    const PieceModelTables* tables_;
    Cube startCube_;
};

#undef CUBEGA_ENGINE_TARGET

}  // namespace portable

void evaluateRowsPortable(const EvalStart& start, std::span<const MoveCode> codes,
                          std::size_t length, EvalMode mode, std::span<Evaluation> out) {
    portable::evaluateRowsWith(portable::PieceModel(start), codes, length, mode, out);
}

}  // namespace cubega
