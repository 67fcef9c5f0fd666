// Moves written in the standard notation of cube timers and most cube programs: blank-separated
// tokens, each a face letter F U R B D L alone for a clockwise quarter turn, with 2 for a half
// turn, or with ' for an anticlockwise quarter turn: "R U2 F' L D2 B". (notation_reader.hpp
// reads this notation and more.)
#pragma once

#include <span>
#include <string>

#include "cube/moves.hpp"

namespace cubega {

// The moves 0..17 in standard notation, one blank between moves.
std::string standardNotation(std::span<const MoveCode> moves);

}  // namespace cubega
