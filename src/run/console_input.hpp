// Answers typed at the console, read in free form: leading blanks skipped, the first item
// of the line taken, the rest ignored. Lines of blanks only are skipped while waiting.
// Answers that are not understood are refused with a one-line message and asked for again.
#pragma once

#include <cstdint>
#include <istream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "io/record_writer.hpp"

namespace cubega {

// The first item of a line: leading blanks (space, tab, carriage return) skipped, then up
// to the next blank, comma or slash.
std::string_view firstItem(std::string_view line);

// A whole number written with an optional sign and decimal digits that fits 32 bits.
std::optional<std::int32_t> parseWholeNumber(std::string_view item);

// The range an integer answer must lie in, and what to say when it does not.
struct IntegerRule {
    std::int32_t minimum = std::numeric_limits<std::int32_t>::min();
    std::int32_t maximum = std::numeric_limits<std::int32_t>::max();
    std::string_view belowMinimum;  // message for a value below the minimum
    std::string_view aboveMaximum;  // message for a value above the maximum
};

class ConsoleInput {
  public:
    ConsoleInput(std::istream& in, RecordWriter& console) : in_(&in), console_(&console) {}

    // The next line that holds more than blanks, or nothing at the end of the input.
    // Over-long lines keep their first kMaxLineLength characters.
    std::optional<std::string> nextAnswer();

    // Writes the prompt (unless empty) and reads a whole number that obeys the rule; a
    // refused answer gets a message and the prompt again. Throws RunError naming `needed`
    // when the input ends first.
    std::int32_t askInteger(std::string_view prompt, const IntegerRule& rule,
                            std::string_view needed);

    // Reads one typed move: the first item of a line, which must begin with a face letter.
    // Returns its first two characters, a one-character item padded with a blank.
    std::string readMoveText(std::string_view needed);

    static constexpr std::size_t kMaxLineLength = 1000;

  private:
    std::string answerOrStop(std::string_view needed);

    std::istream* in_;
    RecordWriter* console_;
};

}  // namespace cubega
