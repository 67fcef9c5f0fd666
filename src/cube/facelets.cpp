#include "cube/facelets.hpp"

#include <array>

#include "cube/pieces.hpp"

namespace cubega {

namespace {

// The program's face (F U R B D L = 0..5) of each face of the text's order.
constexpr std::array<int, 6> kFaceOfTextFace{kUp, kRight, kFront, kDown, kLeft, kBack};

constexpr int faceletOfTextIndex(std::size_t k) {
    return 9 * kFaceOfTextFace[k / 9] + static_cast<int>(k % 9);
}

std::optional<std::string> countError(std::string_view text) {
    if (text.size() != 54) {
        return "the state has " + std::to_string(text.size()) +
               " letters; it needs 54, nine for each face (U R F D L B)";
    }
    std::array<int, 6> counts{};
    for (std::size_t k = 0; k < text.size(); ++k) {
        const std::size_t letter = kFaceletFaceOrder.find(text[k]);
        if (letter == std::string_view::npos) {
            const char c = text[k] >= ' ' && text[k] <= '~' ? text[k] : '?';
            return "letter " + std::to_string(k + 1) + " of the state, \"" + std::string(1, c) +
                   "\", is not a face (U R F D L B)";
        }
        ++counts[letter];
    }
    for (std::size_t letter = 0; letter < counts.size(); ++letter) {
        if (counts[letter] != 9) {
            return "the state has " + std::to_string(counts[letter]) + " " +
                   std::string(1, kFaceletFaceOrder[letter]) +
                   " letters; every face letter needs nine";
        }
    }
    return std::nullopt;
}

}  // namespace

FaceletCube cubeFromFaceletText(std::string_view text) {
    FaceletCube result;
    if (auto error = countError(text)) {
        result.error = std::move(error);
        return result;
    }
    // Each letter is the colour of the centre that has it.
    std::array<int, 6> colourOfLetter{-1, -1, -1, -1, -1, -1};
    for (std::size_t face = 0; face < 6; ++face) {
        const std::size_t letter = kFaceletFaceOrder.find(text[9 * face + 4]);
        if (colourOfLetter[letter] >= 0) {
            result.error =
                "two centres have the same letter, " + std::string(1, text[9 * face + 4]);
            return result;
        }
        colourOfLetter[letter] = kFaceOfTextFace[face];
    }
    for (std::size_t k = 0; k < text.size(); ++k) {
        result.cube[faceletOfTextIndex(k)] = colourOfLetter[kFaceletFaceOrder.find(text[k])];
    }
    result.error = unreachableReason(result.cube);
    return result;
}

int faceletTextIndex(int facelet) {
    for (int k = 0; k < kFaceletCount; ++k) {
        if (faceletOfTextIndex(static_cast<std::size_t>(k)) == facelet) {
            return k;
        }
    }
    return -1;
}

std::string faceletText(const CubeState& cube) {
    std::string text(54, '?');
    for (std::size_t k = 0; k < text.size(); ++k) {
        const std::int32_t colour = cube[faceletOfTextIndex(k)];
        for (std::size_t face = 0; face < 6; ++face) {
            if (cube[centreOf(kFaceOfTextFace[face])] == colour) {
                text[k] = kFaceletFaceOrder[face];
            }
        }
    }
    return text;
}

}  // namespace cubega
