// Moves in the standard notation of cube timers and most cube programs: blank-separated
// tokens, each a face letter F U R B D L (upper case) alone for a clockwise quarter turn, with
// 2 (or 2') for a half turn, or with ' for an anticlockwise quarter turn: "R U2 F' L D2 B".
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cube/moves.hpp"

namespace cubega {

// Why a text is not a sequence of moves: which token (from 1) and what it was.
struct NotationError {
    std::size_t moveNumber = 0;
    std::string token;

    friend bool operator==(const NotationError&, const NotationError&) = default;
};

struct ParsedMoves {
    std::vector<MoveCode> moves;         // when the whole text is moves
    std::optional<NotationError> error;  // the first token that is not a move
};

// The moves of a text in standard notation; blanks (spaces, tabs, line ends) separate them and
// an empty text is no moves.
ParsedMoves parseStandardMoves(std::string_view text);

// The moves 0..17 in standard notation, one blank between moves.
std::string standardNotation(std::span<const MoveCode> moves);

// `move 3 of the scramble, "X2", is not a face turn (F U R B D L, then nothing, 2 or ')`,
// with `what` naming the text ("the scramble").
std::string describeNotationError(const NotationError& error, std::string_view what);

}  // namespace cubega
