#include "run/console_input.hpp"

#include <charconv>

#include "cube/moves.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

constexpr std::string_view kBlanks = " \t\r";
constexpr std::string_view kItemEnds = " \t\r,/";

}  // namespace

std::string_view firstItem(std::string_view line) {
    const std::size_t start = line.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = line.substr(start);
    return rest.substr(0, rest.find_first_of(kItemEnds));
}

std::optional<std::int32_t> parseWholeNumber(std::string_view item) {
    if (!item.empty() && item.front() == '+') {
        item.remove_prefix(1);
        if (!item.empty() && item.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
    if (item.empty() || error != std::errc{} || end != item.data() + item.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> ConsoleInput::nextAnswer() {
    for (;;) {
        std::string line;
        bool sawAnything = false;
        for (int c = in_->get(); c != std::char_traits<char>::eof(); c = in_->get()) {
            sawAnything = true;
            if (c == '\n') {
                break;
            }
            if (line.size() < kMaxLineLength) {
                line += static_cast<char>(c);
            }
        }
        if (!sawAnything) {
            return std::nullopt;
        }
        if (line.find_first_not_of(kBlanks) != std::string::npos) {
            return line;
        }
    }
}

std::string ConsoleInput::answerOrStop(std::string_view needed) {
    std::optional<std::string> line = nextAnswer();
    if (!line) {
        throw RunError("the console input ended before " + std::string(needed) + " was given");
    }
    return *std::move(line);
}

std::int32_t ConsoleInput::askInteger(std::string_view prompt, const IntegerRule& rule,
                                      std::string_view needed) {
    for (;;) {
        if (!prompt.empty()) {
            console_->write({prompt});
        }
        const std::string line = answerOrStop(needed);
        const std::optional<std::int32_t> value = parseWholeNumber(firstItem(line));
        if (!value) {
            console_->write({"Please type a whole number, for example 100."});
        } else if (*value < rule.minimum) {
            console_->write({rule.belowMinimum});
        } else if (*value > rule.maximum) {
            console_->write({rule.aboveMaximum});
        } else {
            return *value;
        }
    }
}

std::string ConsoleInput::readMoveText(std::string_view needed) {
    for (;;) {
        const std::string line = answerOrStop(needed);
        const std::string_view item = firstItem(line);
        if (beginsWithFaceLetter(item)) {
            std::string text(item.substr(0, 2));
            text.resize(2, ' ');
            return text;
        }
        console_->write({"Not a move: type F, U, R, B, D or L, with nothing, 2 or ' after it."});
    }
}

}  // namespace cubega
