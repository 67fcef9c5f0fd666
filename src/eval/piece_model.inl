// The evaluation's model of the cube as its pieces (see piece_model.hpp), for back ends
// without a byte gather: plain C++, a move rewrites eight small numbers and each score
// condition is a table lookup.
//
// Included by eval_kernels.inl in each back end's namespace; only the portable back end uses
// it.

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

// A corner state shifted by 0..2 (row 0..2). An edge state flipped is the state ^ 1.
inline constexpr std::size_t kStates = 24;
static_assert(kCornerStates == kStates && kEdgeStates == kStates);
inline constexpr auto kTurned = [] {
    std::array<std::uint8_t, 3 * kStates> turned{};
    for (std::size_t s = 0; s < kStates; ++s) {
        for (std::size_t j = 0; j < 3; ++j) {
            turned[j * kStates + s] = static_cast<std::uint8_t>(3 * (s / 3) + (s % 3 + j) % 3);
        }
    }
    return turned;
}();

// What a move does to the positions of its face's ring (FaceRing), k = 0..3 in ring order:
// corner position cornerTo[k] gets cornerFrom[k]'s state looked up in kTurned at
// cornerRow[k], and edge position edgeTo[k] gets edgeFrom[k]'s state ^ edgeFlip[k].
struct alignas(32) MoveCarries {
    std::array<std::uint8_t, 4> cornerTo, cornerFrom, cornerRow;
    std::array<std::uint8_t, 4> edgeTo, edgeFrom, edgeFlip;
    std::array<std::uint8_t, 4> offFace;
    std::uint16_t faceParts;  // offset of the face's tables in PieceModelTables::faceParts
};
inline constexpr auto kMoveCarries = [] {
    std::array<MoveCarries, kMoveCount> carries{};
    for (std::size_t m = 0; m < kMoveCount; ++m) {
        const PieceMoves& move = kPieceMoves[m];
        const std::size_t f = kFaceRings.ringOfMove[m];
        const FaceRing& ring = kFaceRings.rings[f];
        MoveCarries& c = carries[m];
        for (std::size_t k = 0; k < 4; ++k) {
            for (std::size_t n = 0; n < 4; ++n) {
                if (move.cornerTo[n] == ring.corners[k]) {
                    c.cornerTo[k] = move.cornerTo[n];
                    c.cornerFrom[k] = move.cornerFrom[n];
                    c.cornerRow[k] = static_cast<std::uint8_t>(move.cornerTurn[n] * kStates);
                }
                if (move.edgeTo[n] == ring.edges[k]) {
                    c.edgeTo[k] = move.edgeTo[n];
                    c.edgeFrom[k] = move.edgeFrom[n];
                    c.edgeFlip[k] = move.edgeTurn[n];
                }
            }
        }
        c.offFace = ring.offFace;
        c.faceParts = static_cast<std::uint16_t>(PieceModelTables::facePartIndex(f, 0, 0, 0, 0));
    }
    return carries;
}();
static_assert(
    [] {
        for (const MoveCarries& c : kMoveCarries) {
            for (std::size_t k = 0; k < 4; ++k) {
                if (c.cornerTo[k] == c.cornerFrom[k] || c.edgeTo[k] == c.edgeFrom[k]) {
                    return false;
                }
            }
        }
        return true;
    }(),
    "every move carries the whole ring of its face");

class PieceModel {
    static constexpr std::size_t kPartTable = kCornerStates * kEdgeStates;

  public:
    using Cube = PieceCube;
    // The cube itself: its numbers are written one byte at a time, and a copy read as a whole
    // right after would wait for all those writes.
    using View = const PieceCube*;
    static constexpr bool kEdgesTestIsCostly = true;
    static constexpr std::size_t kWays = 8;

    explicit PieceModel(const EvalStart& start)
        : start_(&start), tables_(start.pieceTables.get()), startCube_() {
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

    // The new states of the pieces a move carries, in ring order.
    struct Carried {
        std::array<std::uint8_t, 4> corners, edges;
    };
    static Carried carried(const Cube& cube, const MoveCarries& move) {
        Carried states;
        for (std::size_t k = 0; k < 4; ++k) {
            states.corners[k] = kTurned[std::size_t{move.cornerRow[k]} +
                                        std::size_t{cube.corners[move.cornerFrom[k]]}];
            states.edges[k] =
                static_cast<std::uint8_t>(cube.edges[move.edgeFrom[k]] ^ move.edgeFlip[k]);
        }
        return states;
    }
    static void place(Cube& cube, const MoveCarries& move, const Carried& states) {
        for (std::size_t k = 0; k < 4; ++k) {
            cube.corners[move.cornerTo[k]] = states.corners[k];
            cube.edges[move.edgeTo[k]] = states.edges[k];
        }
    }

    void step(Cube& cube, std::size_t code, View& after) const {
        const MoveCarries& move = kMoveCarries[code];
        place(cube, move, carried(cube, move));
        after = &cube;
    }

    // Only the parts of the score that the move can change are worked out again: those of the
    // four corners it turns, from their new states and those of the edges beside them on the
    // face, all at hand, and of the edges off the face, which the move leaves.
    std::int32_t pairStep(Cube& cube, std::size_t code) const {
        const MoveCarries& move = kMoveCarries[code];
        const Carried states = carried(cube, move);
        place(cube, move, states);
        const std::uint8_t* face = tables_->faceParts.data() + move.faceParts;
        std::int32_t change = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const std::uint8_t* tables =
                face + PieceModelTables::facePartIndex(0, k, 0, states.corners[k], 0);
            const auto part = static_cast<std::uint8_t>(
                tables[states.edges[k]] +
                tables[kPartTable + std::size_t{states.edges[(k + 3) % 4]}] +
                tables[2 * kPartTable + std::size_t{cube.edges[move.offFace[k]]}]);
            std::uint8_t& kept = cube.cornerParts[move.cornerTo[k]];
            change += part - kept;
            kept = part;
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
