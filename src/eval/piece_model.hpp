// The cube as its pieces, for the portable back end: which start-cube facelets the stickers
// of each corner and edge position came from. Face turns carry a corner's three stickers
// together to another corner with a cyclic shift, and an edge's two to another edge, flipped
// or not, so 8 + 12 small numbers describe where every facelet came from, and a move changes
// 8 of them. Every score condition compares facelets of one corner and one edge, or one edge
// and a centre, so it is a lookup in a table made for the start cube. This holds for any
// start colours: nothing assumes a real cube.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "cube/cube_state.hpp"
#include "cube/lane_cube.hpp"
#include "cube/move_tables.hpp"
#include "cube/pieces.hpp"
#include "eval/byte_cube_scores.hpp"
#include "eval/scores.hpp"

namespace cubega {

inline constexpr std::size_t kCornerCount = 8;
inline constexpr std::size_t kEdgeCount = 12;
inline constexpr std::size_t kCornerStates = 3 * kCornerCount;  // position * 3 + shift
inline constexpr std::size_t kEdgeStates = 2 * kEdgeCount;      // position * 2 + flip

template <std::size_t N, std::size_t Count>
constexpr int pieceHolding(const std::array<std::array<int, N>, Count>& pieces, int facelet,
                           int& index) {
    for (std::size_t p = 0; p < Count; ++p) {
        for (std::size_t i = 0; i < N; ++i) {
            if (pieces[p][i] == facelet) {
                index = static_cast<int>(i);
                return static_cast<int>(p);
            }
        }
    }
    index = -1;
    return -1;
}

// The pieces are the cube's own table (cube/pieces.hpp): its lists run clockwise round every
// corner, so each turn carries a corner's facelets in order to another corner's, shifted
// cyclically (the assertion below holds it).

// Where move m takes its stickers: position `to` receives position `from`'s, shifted by `turn`
// (its facelet i gets the facelet turn + i of `from`, cyclically). Four corners and four edges
// move in every face turn.
struct PieceMoves {
    std::array<std::uint8_t, 4> cornerTo{}, cornerFrom{}, cornerTurn{};
    std::array<std::uint8_t, 4> edgeTo{}, edgeFrom{}, edgeTurn{};
};

template <std::size_t N, std::size_t Count>
constexpr bool carriesPieces(const std::array<std::array<int, N>, Count>& pieces,
                             const FaceletPermutation& move, std::array<std::uint8_t, 4>& to,
                             std::array<std::uint8_t, 4>& from, std::array<std::uint8_t, 4>& turn) {
    std::size_t moved = 0;
    for (std::size_t y = 0; y < Count; ++y) {
        int j = 0;
        const int x = pieceHolding(pieces, move.source[static_cast<std::size_t>(pieces[y][0])], j);
        for (std::size_t i = 0; i < N; ++i) {  // the whole piece, in order, shifted by j
            const auto expected =
                pieces[static_cast<std::size_t>(x)][(static_cast<std::size_t>(j) + i) % N];
            if (move.source[static_cast<std::size_t>(pieces[y][i])] != expected) {
                return false;
            }
        }
        if (x == static_cast<int>(y) && j == 0) {
            continue;
        }
        if (moved == 4) {
            return false;
        }
        to[moved] = static_cast<std::uint8_t>(y);
        from[moved] = static_cast<std::uint8_t>(x);
        turn[moved] = static_cast<std::uint8_t>(j);
        ++moved;
    }
    return moved == 4;
}

constexpr std::array<PieceMoves, kMoveCount> makePieceMoves(bool& valid) {
    std::array<PieceMoves, kMoveCount> moves{};
    valid = true;
    for (std::size_t m = 0; m < kMoveCount; ++m) {
        PieceMoves& p = moves[m];
        valid =
            valid &&
            carriesPieces(kCornerFacelets, kMovePermutations[m], p.cornerTo, p.cornerFrom,
                          p.cornerTurn) &&
            carriesPieces(kEdgeFacelets, kMovePermutations[m], p.edgeTo, p.edgeFrom, p.edgeTurn);
    }
    return moves;
}

inline constexpr auto kPieceMoves = [] {
    bool valid = false;
    return makePieceMoves(valid);
}();
static_assert(
    [] {
        bool valid = false;
        makePieceMoves(valid);
        return valid;
    }(),
    "every face turn carries whole pieces, in order, cyclically shifted");

// The facelet that the sticker at facelet i of a position in state s came from.
constexpr int cornerSource(std::size_t state, std::size_t i) {
    return kCornerFacelets[state / 3][(state % 3 + i) % 3];
}
constexpr int edgeSource(std::size_t state, std::size_t i) {
    return kEdgeFacelets[state / 2][(state % 2 + i) % 2];
}

// A pair condition as one corner and one edge: facelets a and c are facelets ia and ic of
// corner `corner`, b and d facelets ib and id of edge `edge`.
struct PiecePair {
    std::uint8_t corner = 0, edge = 0;
    std::uint8_t ia = 0, ic = 0, ib = 0, id = 0;
};

inline constexpr auto kPiecePairs = [] {
    std::array<PiecePair, kPairConditions.size()> pairs{};
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        const PairCondition& c = kPairConditions[p];
        int ia = 0, ic = 0, ib = 0, id = 0;
        const int corner = pieceHolding(kCornerFacelets, c.a, ia);
        const int corner2 = pieceHolding(kCornerFacelets, c.c, ic);
        const int edge = pieceHolding(kEdgeFacelets, c.b, ib);
        const int edge2 = pieceHolding(kEdgeFacelets, c.d, id);
        if (corner < 0 || corner != corner2 || edge < 0 || edge != edge2) {
            throw "a pair condition must compare one corner with one edge";
        }
        pairs[p] = {static_cast<std::uint8_t>(corner), static_cast<std::uint8_t>(edge),
                    static_cast<std::uint8_t>(ia),     static_cast<std::uint8_t>(ic),
                    static_cast<std::uint8_t>(ib),     static_cast<std::uint8_t>(id)};
    }
    return pairs;
}();

// The three pair conditions of every corner, in condition order.
inline constexpr auto kCornerPairs = [] {
    std::array<std::array<std::uint8_t, 3>, kCornerCount> pairs{};
    std::array<std::size_t, kCornerCount> found{};
    for (std::size_t p = 0; p < kPiecePairs.size(); ++p) {
        const std::size_t corner = kPiecePairs[p].corner;
        if (found[corner] == 3) {
            throw "a corner has three pair conditions";
        }
        pairs[corner][found[corner]++] = static_cast<std::uint8_t>(p);
    }
    return pairs;
}();

// The edge of each of a corner's three pair conditions.
inline constexpr auto kCornerEdges = [] {
    std::array<std::array<std::uint8_t, 3>, kCornerCount> edges{};
    for (std::size_t x = 0; x < kCornerCount; ++x) {
        for (std::size_t i = 0; i < 3; ++i) {
            edges[x][i] = kPiecePairs[kCornerPairs[x][i]].edge;
        }
    }
    return edges;
}();

// The block's edges: their facelets are the block's edge facelets.
inline constexpr std::array<std::uint8_t, 5> kBlockEdges{7, 4, 6, 11, 10};  // DB DR DL BR BL
// The block's corners, DBR and DBL: their pair conditions are the block's six.
inline constexpr std::array<std::uint8_t, 2> kBlockCorners{7, 6};

// Every edge's centre matches are counted by one of the corners beside it, at the pair
// condition they share: any turn that moves an edge moves that corner too, so a corner's
// count (its part) changes only when the corner moves. The block's edges go to the block's
// corners, so the block score is the parts of those two corners.
inline constexpr auto kCountsEdgeCentres = [] {
    std::array<std::array<bool, 3>, kCornerCount> counts{};
    std::array<bool, kEdgeCount> given{};
    const auto give = [&](std::size_t x) {
        for (std::size_t i = 0; i < 3; ++i) {
            const std::size_t y = kCornerEdges[x][i];
            if (!given[y]) {
                given[y] = true;
                counts[x][i] = true;
            }
        }
    };
    for (const std::uint8_t x : kBlockCorners) {
        give(x);
    }
    for (std::size_t x = 0; x < kCornerCount; ++x) {
        give(x);
    }
    for (const bool g : given) {
        if (!g) {
            throw "every edge lies beside a corner";
        }
    }
    return counts;
}();

// A face as the pair score turns it: its four corners in order around it, the edge between
// corners[k] and corners[k + 1] as edges[k], and each corner's third edge, off the face, as
// offFace[k]. Every turn of the face carries these positions among themselves, so the part
// of a turned corner k reads the new states of edges k and k - 1 of the same turn.
struct FaceRing {
    std::array<std::uint8_t, 4> corners{}, edges{}, offFace{};
    // The condition (0..2) of corners[k] whose edge is edges[k], edges[k - 1] and offFace[k].
    std::array<std::array<std::uint8_t, 3>, 4> conditions{};
};

constexpr int conditionWithEdge(std::size_t x, std::size_t y) {
    for (std::size_t i = 0; i < 3; ++i) {
        if (kCornerEdges[x][i] == y) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

constexpr int sharedEdge(std::size_t x, std::size_t z) {
    for (const std::uint8_t y : kCornerEdges[x]) {
        if (conditionWithEdge(z, y) >= 0) {
            return y;
        }
    }
    return -1;
}

// The ring of the face a move turns, from the set of corners it carries: the smallest first,
// then each next one the corner beside the last (sharing an edge) not yet taken, the smaller
// of two. Every turn of a face gives the same ring.
constexpr FaceRing faceRingOf(const PieceMoves& move) {
    std::array<std::uint8_t, 4> set = move.cornerTo;
    std::sort(set.begin(), set.end());
    FaceRing ring;
    std::array<bool, 4> taken{true, false, false, false};
    ring.corners[0] = set[0];
    for (std::size_t k = 1; k < 4; ++k) {
        for (std::size_t n = 0; n < 4; ++n) {
            if (!taken[n] && sharedEdge(ring.corners[k - 1], set[n]) >= 0) {
                taken[n] = true;
                ring.corners[k] = set[n];
                break;
            }
        }
    }
    for (std::size_t k = 0; k < 4; ++k) {
        const int y = sharedEdge(ring.corners[k], ring.corners[(k + 1) % 4]);
        if (y < 0) {
            throw "the corners of a face lie in a ring";
        }
        ring.edges[k] = static_cast<std::uint8_t>(y);
    }
    for (std::size_t k = 0; k < 4; ++k) {
        const std::uint8_t x = ring.corners[k];
        const std::array<std::uint8_t, 2> onFace{ring.edges[k], ring.edges[(k + 3) % 4]};
        for (const std::uint8_t y : kCornerEdges[x]) {
            if (y != onFace[0] && y != onFace[1]) {
                ring.offFace[k] = y;
            }
        }
        const std::array<std::uint8_t, 3> edges{onFace[0], onFace[1], ring.offFace[k]};
        for (std::size_t j = 0; j < 3; ++j) {
            const int i = conditionWithEdge(x, edges[j]);
            if (i < 0 || (j == 2 && (edges[2] == onFace[0] || edges[2] == onFace[1]))) {
                throw "a face's corner has two edges on the face and one off it";
            }
            ring.conditions[k][j] = static_cast<std::uint8_t>(i);
        }
    }
    return ring;
}

// The six rings, and the ring of each move's face.
struct FaceRings {
    std::array<FaceRing, kFaceCount> rings{};
    std::array<std::uint8_t, kMoveCount> ringOfMove{};
};
inline constexpr FaceRings kFaceRings = [] {
    FaceRings faces;
    std::size_t count = 0;
    for (std::size_t m = 0; m < kMoveCount; ++m) {
        const FaceRing ring = faceRingOf(kPieceMoves[m]);
        std::size_t f = 0;
        while (f < count && faces.rings[f].corners != ring.corners) {
            ++f;
        }
        if (f == count) {
            if (count == faces.rings.size()) {
                throw "six faces";
            }
            faces.rings[count++] = ring;
        }
        faces.ringOfMove[m] = static_cast<std::uint8_t>(f);
    }
    return faces;
}();

// The edges of the two-generator test, each with the index (0 or 1) of its primary facelet.
struct TwoGenEdgePiece {
    std::uint8_t edge = 0, primary = 0;
};
inline constexpr auto kTwoGenEdgePieces = [] {
    std::array<TwoGenEdgePiece, kTwoGenEdges.size()> edges{};
    for (std::size_t k = 0; k < edges.size(); ++k) {
        int ip = 0, is = 0;
        const int edge = pieceHolding(kEdgeFacelets, kTwoGenEdges[k].primary, ip);
        if (edge < 0 || pieceHolding(kEdgeFacelets, kTwoGenEdges[k].secondary, is) != edge) {
            throw "a group-test edge must be one edge";
        }
        edges[k] = {static_cast<std::uint8_t>(edge), static_cast<std::uint8_t>(ip)};
    }
    return edges;
}();

static_assert(
    [] {
        std::array<int, 10> facelets{};
        std::size_t n = 0;
        for (const std::uint8_t e : kBlockEdges) {
            for (const int f : kEdgeFacelets[e]) {
                facelets[n++] = f;
            }
        }
        for (const int f : kBlockEdgeFacelets) {
            bool found = false;
            for (const int g : facelets) {
                found = found || f == g;
            }
            if (!found) {
                return false;
            }
        }
        return true;
    }(),
    "the block's edges hold exactly the block's edge facelets");

// The tables of one start cube: each condition's answer for every state of its pieces.
struct PieceModelTables {
    // parts[x][i][c][e]: pair condition i of corner x with the corner in state c and the
    // condition's edge in state e: 1 when it holds, plus the edge facelets matching their
    // centres when the corner counts them (0..3).
    std::array<std::array<std::array<std::array<std::uint8_t, kEdgeStates>, kCornerStates>, 3>,
               kCornerCount>
        parts{};
    // The same tables by face: faceParts[facePartIndex(f, k, j, c, e)] is
    // parts[x][conditions[k][j]][c][e] for x corner k of ring f (see FaceRing), so a turned
    // corner's tables follow from its place in the ring.
    static constexpr std::size_t facePartIndex(std::size_t f, std::size_t k, std::size_t j,
                                               std::size_t c, std::size_t e) {
        return (((f * 4 + k) * 3 + j) * kCornerStates + c) * kEdgeStates + e;
    }
    std::array<std::uint8_t, kFaceCount * 4 * 3 * kCornerStates * kEdgeStates> faceParts{};
    // Bit e of twoGenEdgePasses[k]: edge k of the group test passes in state e.
    std::array<std::uint32_t, kTwoGenEdges.size()> twoGenEdgePasses{};

    PieceModelTables() = default;
    explicit PieceModelTables(const LaneCube& start) {
        const auto colour = [&start](int facelet) {
            return start.lanes[static_cast<std::size_t>(facelet)];
        };
        const auto centreMatches = [&colour](std::size_t y, std::size_t e) {
            int matching = 0;
            for (std::size_t i = 0; i < 2; ++i) {
                matching += colour(edgeSource(e, i)) == colour(centreOfFacelet(kEdgeFacelets[y][i]))
                                ? 1
                                : 0;
            }
            return matching;
        };
        for (std::size_t x = 0; x < kCornerCount; ++x) {
            for (std::size_t i = 0; i < 3; ++i) {
                const PiecePair& pair = kPiecePairs[kCornerPairs[x][i]];
                for (std::size_t c = 0; c < kCornerStates; ++c) {
                    for (std::size_t e = 0; e < kEdgeStates; ++e) {
                        const bool first =
                            colour(cornerSource(c, pair.ia)) == colour(edgeSource(e, pair.ib));
                        const bool second =
                            colour(cornerSource(c, pair.ic)) == colour(edgeSource(e, pair.id));
                        const int centres =
                            kCountsEdgeCentres[x][i] ? centreMatches(pair.edge, e) : 0;
                        parts[x][i][c][e] =
                            static_cast<std::uint8_t>((first && second ? 1 : 0) + centres);
                    }
                }
            }
        }
        for (std::size_t f = 0; f < kFaceRings.rings.size(); ++f) {
            const FaceRing& ring = kFaceRings.rings[f];
            for (std::size_t k = 0; k < 4; ++k) {
                for (std::size_t j = 0; j < 3; ++j) {
                    const auto& table = parts[ring.corners[k]][ring.conditions[k][j]];
                    for (std::size_t c = 0; c < kCornerStates; ++c) {
                        for (std::size_t e = 0; e < kEdgeStates; ++e) {
                            faceParts[facePartIndex(f, k, j, c, e)] = table[c][e];
                        }
                    }
                }
            }
        }
        for (std::size_t k = 0; k < kTwoGenEdgePieces.size(); ++k) {
            const TwoGenEdgePiece& piece = kTwoGenEdgePieces[k];
            std::uint32_t passes = 0;
            for (std::size_t e = 0; e < kEdgeStates; ++e) {
                const bool primary =
                    colour(edgeSource(e, piece.primary)) == colour(centreOf(kFront));
                const bool secondary =
                    colour(edgeSource(e, 1 - piece.primary)) == colour(centreOf(kUp));
                passes |= (primary || secondary ? 1U : 0U) << e;
            }
            twoGenEdgePasses[k] = passes;
        }
    }
};

}  // namespace cubega
