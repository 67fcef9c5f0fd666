#include "cube/moves.hpp"

namespace cubega {

CubeState applyMove(const CubeState& cube, MoveCode code) {
    const int face = faceOf(code);
    if (face < 0) {
        return cube;
    }
    CubeState result = cube;
    for (int q = quarterTurnsOf(code); q > 0; --q) {
        result = quarterTurn(result, face);
    }
    return result;
}

CubeState applySequence(const CubeState& cube, std::span<const MoveCode> moves) {
    CubeState result = cube;
    for (const MoveCode code : moves) {
        result = applyMove(result, code);
    }
    return result;
}

std::string movesToText(std::span<const MoveCode> moves) {
    std::string text;
    text.reserve(3 * moves.size());
    for (const MoveCode code : moves) {
        const int face = faceOf(code);
        char suffix = ' ';
        if (code >= 6) {
            suffix = '2';
        }
        if (code >= 12) {
            suffix = '\'';
        }
        text += face >= 0 ? kFaceLetters[static_cast<std::size_t>(face)] : ' ';
        text += suffix;
        text += ' ';
    }
    return text;
}

void parseMove(std::string_view twoCharacters, MoveCode& move) {
    for (const char c : twoCharacters.substr(0, 2)) {
        const std::size_t face = kFaceLetters.find(c);
        if (face != std::string_view::npos) {
            move = static_cast<MoveCode>(face);
        } else if (c == '2') {
            move += 6;
        } else if (c == '\'') {
            move += 12;
        }
    }
}

std::optional<std::vector<MoveCode>> movesFromText(std::string_view text) {
    std::vector<MoveCode> moves;
    moves.reserve(text.size() / 3);
    for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
        if (!beginsWithFaceLetter(text.substr(i))) {
            return std::nullopt;
        }
        MoveCode move = 0;
        parseMove(text.substr(i, 2), move);
        moves.push_back(move);
    }
    return moves;
}

bool beginsWithFaceLetter(std::string_view text) {
    return !text.empty() && kFaceLetters.find(text.front()) != std::string_view::npos;
}

}  // namespace cubega
