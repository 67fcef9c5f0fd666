// Move codes, their three-character text, and applying moves and sequences to a cube.
//
// A code's face is code % 6 (F U R B D L); codes 0..5 are clockwise quarter turns,
// 6..11 half turns, 12..17 anticlockwise quarter turns. Moves count in the half-turn
// metric: every code is one move.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube_state.hpp"

namespace cubega {

using MoveCode = std::int32_t;

inline constexpr int kMoveCount = 18;
inline constexpr std::string_view kFaceLetters = "FURBDL";

// Face of a code, truncating: negative for a negative code that is not a multiple of 6.
constexpr int faceOf(MoveCode code) {
    return code % 6;
}

// Clockwise quarter turns of a move 0..17: 1, then one more for each of code >= 6 and
// code >= 12. Compares rather than a division by 6, so that loops over many codes vectorise.
constexpr int quarterTurnsOfMove(MoveCode code) {
    return 1 + (code >= 6 ? 1 : 0) + (code >= 12 ? 1 : 0);
}

// Clockwise quarter turns any code stands for: one more for code >= 18 (so 18 and up turn
// four times, which changes nothing).
constexpr int quarterTurnsOf(MoveCode code) {
    return quarterTurnsOfMove(code) + (code >= 18 ? 1 : 0);
}

// The folding onto F and U of a move 0..17: keeps the kind of turn, maps F R D to F and U B L
// to U. That is code % 2 + 6 * (code / 6), written with quarterTurnsOfMove's compares so that
// a loop over a population vectorises.
constexpr MoveCode foldOntoTwoFaces(MoveCode code) {
    return (code & 1) + 6 * (quarterTurnsOfMove(code) - 1);
}
static_assert([] {
    for (MoveCode code = 0; code < 18; ++code) {
        if (foldOntoTwoFaces(code) != code % 2 + 6 * (code / 6)) {
            return false;
        }
    }
    return true;
}());

// Whether a code turns a face: every code but those with a negative face (never one the
// program makes: typed moves begin with a face letter, drawn ones lie in 0..17).
constexpr bool turnsAFace(MoveCode code) {
    return faceOf(code) >= 0;
}

// The cube after one move, made of repeated quarter turns. A code that turns no face turns
// nothing.
CubeState applyMove(const CubeState& cube, MoveCode code);

// The cube after all moves in order; an empty sequence returns the input.
CubeState applySequence(const CubeState& cube, std::span<const MoveCode> moves);

// Three characters per move: face letter, then ' ' / '2' / '\'', then a blank.
std::string movesToText(std::span<const MoveCode> moves);

// Reads two typed characters in order: a face letter sets `move` to its face, '2' adds 6,
// '\'' adds 12, anything else leaves it as it is. Case-sensitive.
void parseMove(std::string_view twoCharacters, MoveCode& move);

// The moves of a sequence text, three characters a move (the form movesToText writes); none
// when a move does not begin with a face letter.
std::optional<std::vector<MoveCode>> movesFromText(std::string_view text);

// True when text begins with one of the six face letters, so parseMove sets its face.
bool beginsWithFaceLetter(std::string_view text);

}  // namespace cubega
