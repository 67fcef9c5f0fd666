// Setting up the scramble: random, typed move by move, or the built-in 37 moves.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "genetic/population.hpp"
#include "genetic/random_source.hpp"
#include "io/record_writer.hpp"
#include "run/console_input.hpp"

namespace cubega {

// The dialogue's scramble types: its answer 1 draws a random scramble, 2 reads one typed move
// by move, anything else keeps the built-in scramble.
enum class ScrambleType { random, typed, builtIn };

constexpr ScrambleType scrambleTypeOf(std::int32_t answer) {
    return answer == 1   ? ScrambleType::random
           : answer == 2 ? ScrambleType::typed
                         : ScrambleType::builtIn;
}

// Longer scrambles are refused: they add nothing a solver needs and would cost memory and
// time without bound.
inline constexpr std::int32_t kMaxScrambleLength = 10000;

inline constexpr std::array<MoveCode, 37> kDefaultScramble{
    2,  4, 2, 3, 11, 4, 15, 5, 0,  4, 15, 5, 0,  4,  15, 5, 0, 8, 4,
    12, 7, 3, 2, 16, 7, 3,  2, 16, 7, 3,  2, 16, 11, 2,  4, 7, 6};

struct Scramble {
    MoveSequence moves;
    std::string text;  // three characters a move
};

// `length` moves drawn in the reset form, then simplified so that no two neighbours turn the
// same face (the refills drawn too): the random scramble.
MoveSequence drawRandomScramble(std::int32_t length, RandomSource& random);

// A random scramble asks for a length and draws that many moves (reset form), then simplifies
// them so no two neighbours turn the same face; a typed one asks for a length and reads the
// moves one per line; the built-in one is kept unsimplified. A length below 1 gives an empty
// scramble.
Scramble setUpScramble(ScrambleType type, ConsoleInput& input, RecordWriter& console,
                       RandomSource& random);

// The scramble's moves applied to a cube; each code that turns no face leaves the record
// " move error" on the console.
CubeState applyScramble(const CubeState& cube, std::span<const MoveCode> moves,
                        RecordWriter& console);

// The scramble text on the console, and "Scramble : " with the text in the log.
void recordScramble(const Scramble& scramble, RecordWriter& console, RecordWriter& log);

}  // namespace cubega
