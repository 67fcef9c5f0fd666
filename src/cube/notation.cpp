#include "cube/notation.hpp"

namespace cubega {

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

}  // namespace cubega
