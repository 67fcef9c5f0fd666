#include "cube/notation.hpp"

namespace cubega {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The code of one token, or nothing when it is not a move.
std::optional<MoveCode> moveOfToken(std::string_view token) {
    if (token.empty() || token.size() > 3) {
        return std::nullopt;
    }
    const std::size_t face = kFaceLetters.find(token.front());
    if (face == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view suffix = token.substr(1);
    const auto code = static_cast<MoveCode>(face);
    if (suffix.empty()) {
        return code;
    }
    if (suffix == "2" || suffix == "2'") {
        return code + 6;
    }
    if (suffix == "'") {
        return code + 12;
    }
    return std::nullopt;
}

}  // namespace

ParsedMoves parseStandardMoves(std::string_view text) {
    ParsedMoves parsed;
    std::size_t at = 0;
    while (true) {
        while (at < text.size() && isBlank(text[at])) {
            ++at;
        }
        if (at == text.size()) {
            return parsed;
        }
        std::size_t end = at;
        while (end < text.size() && !isBlank(text[end])) {
            ++end;
        }
        const std::string_view token = text.substr(at, end - at);
        const std::optional<MoveCode> move = moveOfToken(token);
        if (!move) {
            parsed.error = NotationError{parsed.moves.size() + 1, std::string(token)};
            parsed.moves.clear();
            return parsed;
        }
        parsed.moves.push_back(*move);
        at = end;
    }
}

std::string standardNotation(std::span<const MoveCode> moves) {
    std::string text;
    text.reserve(3 * moves.size());
    for (const MoveCode code : moves) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kFaceLetters[static_cast<std::size_t>(faceOf(code))];
        if (code >= 12) {
            text += '\'';
        } else if (code >= 6) {
            text += '2';
        }
    }
    return text;
}

std::string describeNotationError(const NotationError& error, std::string_view what) {
    // A token too long to show whole is cut, so that one line names it.
    constexpr std::size_t kShown = 20;
    std::string token;
    for (const char c : error.token.substr(0, kShown)) {
        token += c >= ' ' && c <= '~' ? c : '?';  // a message shows no control bytes
    }
    if (error.token.size() > kShown) {
        token += "...";
    }
    return "move " + std::to_string(error.moveNumber) + " of " + std::string(what) + ", \"" +
           token + "\", is not a face turn (F U R B D L, then nothing, 2 or ')";
}

}  // namespace cubega
