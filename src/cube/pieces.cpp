#include "cube/pieces.hpp"

#include <algorithm>

namespace cubega {

namespace {

// The colours the solved cube shows at these facelets: the colours of their faces' centres.
template <std::size_t N>
std::array<std::int32_t, N> solvedColours(const CubeState& cube, const std::array<int, N>& at) {
    std::array<std::int32_t, N> colours{};
    for (std::size_t i = 0; i < N; ++i) {
        colours[i] = cube[centreOfFacelet(at[i])];
    }
    return colours;
}

template <std::size_t N>
std::array<std::int32_t, N> coloursAt(const CubeState& cube, const std::array<int, N>& at) {
    std::array<std::int32_t, N> colours{};
    for (std::size_t i = 0; i < N; ++i) {
        colours[i] = cube[at[i]];
    }
    return colours;
}

// The piece whose colours stand at a position, and how far they are turned: the position's
// colours are the piece's turned by `turn` places. `mirrored` when a piece has these colours
// only in the other order round the corner (two stickers swapped); nothing when no piece has
// them.
struct Placed {
    std::size_t piece = 0;
    std::size_t turn = 0;
    bool mirrored = false;
};

template <std::size_t N, std::size_t Count>
std::optional<Placed> placedPiece(const CubeState& cube,
                                  const std::array<std::array<int, N>, Count>& positions,
                                  std::size_t position) {
    const auto colours = coloursAt(cube, positions[position]);
    for (std::size_t piece = 0; piece < Count; ++piece) {
        const auto own = solvedColours(cube, positions[piece]);
        for (std::size_t turn = 0; turn < N; ++turn) {
            bool same = true;
            for (std::size_t i = 0; i < N; ++i) {
                same = same && colours[i] == own[(i + turn) % N];
            }
            if (same) {
                return Placed{piece, turn};
            }
        }
        if (std::is_permutation(colours.begin(), colours.end(), own.begin())) {
            return Placed{piece, 0, true};
        }
    }
    return std::nullopt;
}

// Whether a permutation, given as the piece at each position, is odd.
template <std::size_t Count>
bool isOdd(const std::array<std::size_t, Count>& pieceAt) {
    std::array<bool, Count> seen{};
    std::size_t cycles = 0;
    for (std::size_t start = 0; start < Count; ++start) {
        if (!seen[start]) {
            ++cycles;
            for (std::size_t at = start; !seen[at]; at = pieceAt[at]) {
                seen[at] = true;
            }
        }
    }
    return (Count - cycles) % 2 == 1;
}

// The pieces at every position with their turns, or the reason they are not real pieces.
template <std::size_t N, std::size_t Count>
std::optional<std::string> placeAll(const CubeState& cube,
                                    const std::array<std::array<int, N>, Count>& positions,
                                    const std::array<std::string_view, Count>& names,
                                    std::string_view kind, std::array<std::size_t, Count>& pieceAt,
                                    std::size_t& turns) {
    std::array<bool, Count> taken{};
    turns = 0;
    for (std::size_t position = 0; position < Count; ++position) {
        const std::optional<Placed> placed = placedPiece(cube, positions, position);
        const std::string where =
            "the " + std::string(kind) + " at " + std::string(names[position]);
        if (!placed) {
            return where + " has colours that no " + std::string(kind) + " has";
        }
        if (placed->mirrored) {
            return where + " has two stickers swapped";
        }
        if (taken[placed->piece]) {
            return "two " + std::string(kind) + "s are the same piece (" +
                   std::string(names[placed->piece]) + ")";
        }
        taken[placed->piece] = true;
        pieceAt[position] = placed->piece;
        turns += placed->turn;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> unreachableReason(const CubeState& cube) {
    std::array<std::size_t, 8> cornerAt{};
    std::array<std::size_t, 12> edgeAt{};
    std::size_t twists = 0;
    std::size_t flips = 0;
    if (auto reason = placeAll(cube, kCornerFacelets, kCornerNames, "corner", cornerAt, twists)) {
        return reason;
    }
    if (auto reason = placeAll(cube, kEdgeFacelets, kEdgeNames, "edge", edgeAt, flips)) {
        return reason;
    }
    if (twists % 3 != 0) {
        return std::string("a corner is twisted");
    }
    if (flips % 2 != 0) {
        return std::string("an edge is flipped");
    }
    if (isOdd(cornerAt) != isOdd(edgeAt)) {
        return std::string("two edges are swapped (or two corners)");
    }
    return std::nullopt;
}

}  // namespace cubega
