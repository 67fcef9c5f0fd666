#include "request/request_rules.hpp"

#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "run/run_error.hpp"

namespace cubega {

std::string RequestField::nameIn(Spelling spelling) const {
    if (spelling == Spelling::option) {
        return std::string(option);
    }
    std::string quoted(1, '"');
    quoted.append(key).push_back('"');
    return quoted;
}

std::string wholeNumberMessage(const WholeNumberRule& rule, Spelling spelling) {
    return rule.field.nameIn(spelling) + " must be a whole number from " +
           std::to_string(rule.minimum) + " to " + std::to_string(rule.maximum);
}

std::int64_t checkedWholeNumber(const WholeNumberRule& rule, std::int64_t value,
                                Spelling spelling) {
    if (value < rule.minimum || value > rule.maximum) {
        throw UsageError(wholeNumberMessage(rule, spelling));
    }
    return value;
}

std::vector<MoveCode> checkedScramble(std::string_view text) {
    const ParsedMoves parsed = parseStandardMoves(text);
    if (parsed.error) {
        throw UsageError(describeNotationError(*parsed.error, "the scramble"));
    }
    if (parsed.moves.size() > static_cast<std::size_t>(kMaxScrambleMoves)) {
        throw UsageError("a scramble can have at most " + std::to_string(kMaxScrambleMoves) +
                         " moves");
    }
    return parsed.moves;
}

CubeState checkedFacelets(std::string_view text) {
    const FaceletCube cube = cubeFromFaceletText(text);
    if (cube.error) {
        throw UsageError("the facelets: " + *cube.error);
    }
    return cube.cube;
}

void checkOneScramble(int given, Spelling spelling) {
    if (given == 1) {
        return;
    }
    const std::string sources = spelling == Spelling::option
                                    ? "moves, --scramble, --random N, --default or --facelets"
                                    : "\"scramble\", \"facelets\" or \"random\"";
    throw UsageError(std::string(given == 0 ? "give a scramble" : "give one scramble only") + ": " +
                     sources);
}

}  // namespace cubega
