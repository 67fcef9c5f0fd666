#include "cube/notation_reader.hpp"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "cube/rotations.hpp"
#include "support/test_support.hpp"

namespace cubega {
namespace {

constexpr std::size_t kLimit = 10000;

// The face turns a text reads as, in standard notation, or its error.
std::string expansionOf(std::string_view text) {
    const MoveText read = readMoveText(text, kLimit);
    if (read.error) {
        return "error: " + describeMoveTextError(*read.error);
    }
    return standardNotation(read.moves);
}

TEST(NotationReader, ExpandsEveryConstructIntoFaceTurns) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"R U R' U'", "R U R' U'"},
        {"RUR'U'", "R U R' U'"},
        {" R2'\tR'2\nR3 U2 ", "R2 R2 R' U2"},
        {"(R U R' U')3", "R U R' U' R U R' U' R U R' U'"},
        {"(R U)'", "U' R'"},
        {"(R U)2'", "U' R' U' R'"},
        {"(R U)'2", "U' R' U' R'"},
        {"((R)2 U)2", "R R U R R U"},
        {"()3", ""},
        {"[R, U]", "R U R' U'"},
        {"[R: U]", "R U R'"},
        {"[R: U]'", "R U' R'"},
        {"[R, U]2", "R U R' U' R U R' U'"},
        {"[R U: [R, U]]", "R U R U R' U' U' R'"},
        {"[F: (R U)2]", "F R U R U F'"},
        // Wides, slices and rotations move the centres; the turns are named as the cube is
        // held at the end.
        {"Rw", "L"},
        {"r'", "L'"},
        {"Uw2", "D2"},
        {"f", "B"},
        {"Lw", "R"},
        {"d'", "U'"},
        {"Bw", "F"},
        {"M", "R L'"},
        {"M'", "R' L"},
        {"E2", "U2 D2"},
        {"S", "B F'"},
        {"x y2 z'", ""},
        {"x R", "R"},
        {"U x", "B"},
        {"F y", "L"},
        {"U z", "R"},
        {"U M", "F R L'"},
        {"Rw U", "L U"},
        {"[x: U]", "F"},
        {"U (x)13", "B"},
        {"U (x)12", "U"},
        {"U (x)100000000000000000001", "B"},  // the count is 5 more than a multiple of 12
    };
    for (const auto& [text, expansion] : cases) {
        EXPECT_EQ(expansionOf(text), expansion) << text;
    }
}

TEST(NotationReader, TellsWhetherTheTextWasPlainFaceTurns) {
    for (const auto& [text, plain] : {std::pair{"", true},
                                      {"R U2 F'", true},
                                      {"RU2'F3", true},
                                      {"Rw", false},
                                      {"r", false},
                                      {"M", false},
                                      {"y", false},
                                      {"(R)", false},
                                      {"[R: U]", false}}) {
        const MoveText read = readMoveText(text, kLimit);
        ASSERT_FALSE(read.error) << text;
        EXPECT_EQ(read.plainFaceTurns, plain) << text;
    }
    // Standard notation reads as its moves, unchanged.
    std::mt19937 rng(5);
    for (int trial = 0; trial < 50; ++trial) {
        const std::vector<MoveCode> moves = testing::randomMoves(rng, trial);
        const MoveText read = readMoveText(standardNotation(moves), kLimit);
        EXPECT_EQ(read.moves, moves);
        EXPECT_EQ(read.cube, applySequence(solvedCube(), moves));
    }
}

TEST(NotationReader, NamesWhereAndWhyATextIsNotMoves) {
    const std::string notAMove =
        " is not a move (a face F U R B D L, a wide turn Rw or r, a slice M E S, a rotation x y "
        "z, or \"(\" \"[\")";
    const std::string deep = std::string(100000, '(');
    const std::tuple<std::string_view, std::size_t, std::string> cases[] = {
        {"R U Q", 5, "\"Q\"" + notAMove},
        {"R2''", 4, "\"'\"" + notAMove},
        {"rw", 2, "\"w\"" + notAMove},
        {"R \xEF\xBB\xBF", 3, "\"\\xEF\"" + notAMove},
        {"R\x01", 2, "\"\\x01\"" + notAMove},
        {"(R U R' U'", 11, "a group opened at character 1 is not closed"},
        {"((R) U", 7, "a group opened at character 1 is not closed"},
        {"(R U]", 5, "\"]\" where \")\" is expected to close the group opened at character 1"},
        {"(R, U)", 3, "\",\" where \")\" is expected to close the group opened at character 1"},
        {"R U)", 4, "\")\" closes no group"},
        {"R]", 2, "\"]\" closes no bracket"},
        {"R, U", 2, "\",\" outside a commutator [A, B]"},
        {"R: U", 2, "\":\" outside a conjugate [A: B]"},
        {"[R U", 5, "a bracket opened at character 1 is not closed"},
        {"[R U]", 5, "\"]\" where \",\" or \":\" is expected in the bracket opened at character 1"},
        {"[R)", 3, "\")\" where \",\" or \":\" is expected in the bracket opened at character 1"},
        {"x [R, U", 8, "a commutator opened at character 3 is not closed"},
        {"[R: U", 6, "a conjugate opened at character 1 is not closed"},
        {"[R: U)", 6, "\")\" where \"]\" is expected to close the conjugate opened at character 1"},
        {"[R, U, F]", 6,
         "\",\" where \"]\" is expected to close the commutator opened at character 1"},
        {"(R)00", 4, "a repeat count must be 1 or more"},
        {"[R, U]0", 7, "a repeat count must be 1 or more"},
        {deep, 101, "groups and brackets nested more than 100 deep"},
        {"((R)1000)1000", 0, "expands to more than 10000 face turns"},
        {"(R)5000 (U)5001", 0, "expands to more than 10000 face turns"},
        {"(M)5001", 0, "expands to more than 10000 face turns"},
        {"[(R)2500, (U)2501]", 0, "expands to more than 10000 face turns"},
        {"(R)99999999999999999999999", 0, "expands to more than 10000 face turns"},
    };
    for (const auto& [text, position, detail] : cases) {
        const MoveText read = readMoveText(text, kLimit);
        ASSERT_TRUE(read.error) << text;
        EXPECT_EQ(*read.error, (MoveTextError{position, detail})) << text;
        EXPECT_TRUE(read.moves.empty());
        EXPECT_EQ(read.cube, solvedCube());
    }
    EXPECT_FALSE(readMoveText("(R)5000 (U)5000", kLimit).error);
    EXPECT_FALSE(readMoveText("[(R)2500, (U)2500]", kLimit).error);
    EXPECT_EQ(describeMoveTextError({5, "\"Q\" is not a move"}, "the scramble"),
              "character 5 of the scramble: \"Q\" is not a move");
    EXPECT_EQ(describeMoveTextError({0, "expands to more than 10000 face turns"}),
              "the text expands to more than 10000 face turns");
}

// An independent model of the cube in space: every sticker a position and a direction, a turn a
// quarter rotation of the stickers of some layers about a face's axis.
struct Vector {
    int x = 0, y = 0, z = 0;
    friend bool operator==(const Vector&, const Vector&) = default;
};

int dot(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vector cross(const Vector& a, const Vector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct Sticker {
    Vector place;      // the centre of its piece, each coordinate -1..1 (x right, y up, z front)
    Vector direction;  // out of the face it lies on
    friend bool operator==(const Sticker&, const Sticker&) = default;
};

// Facelet numbering as the program's net draws it: rows top to bottom, columns left to right,
// each face seen from outside.
Sticker stickerOf(int facelet) {
    const int row = facelet % 9 / 3;
    const int column = facelet % 3;
    switch (facelet / 9) {
        case kFront:
            return {{column - 1, 1 - row, 1}, {0, 0, 1}};
        case kUp:
            return {{column - 1, 1, row - 1}, {0, 1, 0}};
        case kRight:
            return {{1, 1 - row, 1 - column}, {1, 0, 0}};
        case kBack:
            return {{1 - column, 1 - row, -1}, {0, 0, -1}};
        case kDown:
            return {{column - 1, -1, 1 - row}, {0, -1, 0}};
        default:
            return {{-1, 1 - row, column - 1}, {-1, 0, 0}};
    }
}

int faceletOf(const Sticker& sticker) {
    for (int facelet = 0; facelet < kFaceletCount; ++facelet) {
        if (stickerOf(facelet) == sticker) {
            return facelet;
        }
    }
    ADD_FAILURE() << "no facelet there";
    return 0;
}

// A quarter turn clockwise as seen from outside along `axis`.
Vector turnedClockwise(const Vector& v, const Vector& axis) {
    const Vector c = cross(axis, v);
    const int along = dot(axis, v);
    return {axis.x * along - c.x, axis.y * along - c.y, axis.z * along - c.z};
}

// Turns of layers about one face's axis: the layers from `nearest` (1, the face itself) to
// `farthest` (-1, the opposite face) turn together as that face does.
struct LayerTurn {
    int face = 0;
    int nearest = 1;
    int farthest = 1;
    int quarterTurns = 1;
};

CubeState played(const CubeState& cube, const LayerTurn& turn) {
    const Vector axis = stickerOf(centreOf(turn.face)).direction;
    CubeState result = cube;
    for (int q = 0; q < turn.quarterTurns; ++q) {
        const CubeState before = result;
        for (int facelet = 0; facelet < kFaceletCount; ++facelet) {
            const Sticker sticker = stickerOf(facelet);
            const int layer = dot(axis, sticker.place);
            if (layer <= turn.nearest && layer >= turn.farthest) {
                result[faceletOf({turnedClockwise(sticker.place, axis),
                                  turnedClockwise(sticker.direction, axis)})] = before[facelet];
            }
        }
    }
    return result;
}

TEST(NotationReader, SpaceModelTurnsAsTheProgramDoes) {
    const CubeState cube = testing::distinctFacelets();
    for (int face = 0; face < kFaceCount; ++face) {
        EXPECT_EQ(played(cube, {face, 1, 1, 1}), applyMove(cube, face)) << face;
    }
    EXPECT_EQ(played(cube, {kRight, 1, -1, 1}), rotateX(cube));
    EXPECT_EQ(played(cube, {kUp, 1, -1, 1}), rotateY(cube));
}

// A random text and the layer turns it stands for, made apart from the reader.
struct RandomText {
    std::string text;
    std::vector<LayerTurn> turns;
};

std::vector<LayerTurn> undone(const std::vector<LayerTurn>& turns) {
    std::vector<LayerTurn> inverse(turns.rbegin(), turns.rend());
    for (LayerTurn& turn : inverse) {
        turn.quarterTurns = 4 - turn.quarterTurns;
    }
    return inverse;
}

void append(RandomText& into, const RandomText& piece, bool blank) {
    into.text += (blank ? " " : "") + piece.text;
    into.turns.insert(into.turns.end(), piece.turns.begin(), piece.turns.end());
}

RandomText randomMove(std::mt19937& rng) {
    constexpr std::array<std::pair<std::string_view, int>, 6> kSuffixes{
        {{"", 1}, {"2", 2}, {"'", 3}, {"2'", 2}, {"'2", 2}, {"3", 3}}};
    const auto& [suffix, quarterTurns] = kSuffixes[rng() % kSuffixes.size()];
    const auto face = static_cast<int>(rng() % 6);
    const std::size_t f = static_cast<std::size_t>(face);
    switch (rng() % 5) {
        case 0:
            return {std::string(1, kFaceLetters[f]) + "w" + std::string(suffix),
                    {{face, 1, 0, quarterTurns}}};
        case 1:
            return {std::string(1, "furbdl"[f]) + std::string(suffix),
                    {{face, 1, 0, quarterTurns}}};
        case 2: {
            const std::size_t slice = f % 3;  // M E S turn as L D F
            return {std::string(1, "MES"[slice]) + std::string(suffix),
                    {{std::array{kLeft, kDown, kFront}[slice], 0, 0, quarterTurns}}};
        }
        case 3: {
            const std::size_t axis = f % 3;  // x y z turn as R U F
            return {std::string(1, "xyz"[axis]) + std::string(suffix),
                    {{std::array{kRight, kUp, kFront}[axis], 1, -1, quarterTurns}}};
        }
        default:
            return {std::string(1, kFaceLetters[f]) + std::string(suffix),
                    {{face, 1, 1, quarterTurns}}};
    }
}

RandomText randomSequence(std::mt19937& rng, int depth);

RandomText randomItem(std::mt19937& rng, int depth) {
    const unsigned kind = depth > 0 ? static_cast<unsigned>(rng() % 8) : 0;
    if (kind < 5) {
        return randomMove(rng);
    }
    if (kind == 5) {  // a group, repeated and undone
        const RandomText inner = randomSequence(rng, depth - 1);
        const int count = 1 + static_cast<int>(rng() % 3);
        const bool inverted = rng() % 2 == 0;
        RandomText group{"(" + inner.text + ")" + (count > 1 ? std::to_string(count) : "") +
                             (inverted ? "'" : ""),
                         {}};
        for (int k = 0; k < count; ++k) {
            append(group, {"", inverted ? undone(inner.turns) : inner.turns}, false);
        }
        return group;
    }
    const RandomText a = randomSequence(rng, depth - 1);
    const RandomText b = randomSequence(rng, depth - 1);
    const bool commutator = kind == 6;
    RandomText bracket{"[" + a.text + (commutator ? ", " : ": ") + b.text + "]", a.turns};
    append(bracket, {"", b.turns}, false);
    append(bracket, {"", undone(a.turns)}, false);
    if (commutator) {
        append(bracket, {"", undone(b.turns)}, false);
    }
    return bracket;
}

RandomText randomSequence(std::mt19937& rng, int depth) {
    RandomText sequence;
    const int items = static_cast<int>(rng() % 5);
    for (int k = 0; k < items; ++k) {
        append(sequence, randomItem(rng, depth), k > 0 && rng() % 2 == 0);
    }
    return sequence;
}

// The cube a text leaves, by the space model: played with its centres moving, then its colours
// named by its centres.
CubeState heldCube(const std::vector<LayerTurn>& turns) {
    CubeState cube = solvedCube();
    for (const LayerTurn& turn : turns) {
        cube = played(cube, turn);
    }
    const FaceletCube read = cubeFromFaceletText(faceletText(cube));
    EXPECT_FALSE(read.error);
    return read.cube;
}

TEST(NotationReader, LeavesTheCubeThatTheTextTurnsInSpace) {
    std::mt19937 rng(2024);
    for (int trial = 0; trial < 400; ++trial) {
        const RandomText random = randomSequence(rng, 3);
        const MoveText read = readMoveText(random.text, kLimit);
        ASSERT_FALSE(read.error) << random.text << ": " << describeMoveTextError(*read.error);
        EXPECT_EQ(read.cube, heldCube(random.turns)) << random.text;
        EXPECT_EQ(applySequence(solvedCube(), read.moves), read.cube) << random.text;
    }
}

}  // namespace
}  // namespace cubega
