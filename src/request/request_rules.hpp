// The rules of a solve request, written once for every front end: the command line's options,
// a batch line's JSON, the web page and the Python module check a value with the same
// function and refuse it with the same message. Each checked... function returns the value it
// was given, or throws UsageError naming the value as its front end spells it (an option
// "--seed", a JSON key "\"seed\"") and the range it must lie in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "run/scramble.hpp"

namespace cubega {

// How a front end names its values: command-line options or JSON keys.
enum class Spelling { option, key };

// One value of a request, by both of its names.
struct RequestField {
    std::string_view option;  // "--seed"
    std::string_view key;     // "seed"

    std::string nameIn(Spelling spelling) const;
};

// A whole number and its range.
struct WholeNumberRule {
    RequestField field;
    std::int64_t minimum = 0;
    std::int64_t maximum = 0;
};

inline constexpr std::int64_t kMaxScrambleMoves = kMaxScrambleLength;

inline constexpr WholeNumberRule kGenerationsRule{{"--generations", "generations"}, 1, 2147483647};
inline constexpr WholeNumberRule kSeedRule{{"--seed", "seed"}, 0, 4294967295};
inline constexpr WholeNumberRule kRandomLengthRule{{"--random", "random"}, 1, kMaxScrambleMoves};
inline constexpr WholeNumberRule kJobsRule{{"--jobs", "jobs"}, 1, 1024};

// "--seed must be a whole number from 0 to 4294967295": the message of a value out of range,
// or of a value that is not a whole number at all.
std::string wholeNumberMessage(const WholeNumberRule& rule, Spelling spelling);

std::int64_t checkedWholeNumber(const WholeNumberRule& rule, std::int64_t value, Spelling spelling);

// The moves of a scramble in standard notation, at most kMaxScrambleMoves of them.
std::vector<MoveCode> checkedScramble(std::string_view text);

// The cube of a 54-letter facelet text, if face turns can reach it.
CubeState checkedFacelets(std::string_view text);

// A request names exactly one scramble: `given` is how many sources it named.
void checkOneScramble(int given, Spelling spelling);

}  // namespace cubega
