// libFuzzer target: arbitrary bytes as the texts the command line reads: scrambles in standard
// notation and in the full notation (wides, slices, rotations, groups, brackets), lines of a
// batch (JSON objects included) and 54-letter facelet states. Whatever comes, each is read as
// moves that print back to the same moves, a task whose numbers are in range, or an error with
// a message; never a crash or a hang. Moves read are simplified too, which must keep their cube.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cube/facelets.hpp"
#include "cube/move_sequences.hpp"
#include "cube/notation.hpp"
#include "cube/notation_reader.hpp"
#include "cube/pieces.hpp"
#include "request/request_json.hpp"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool isPrintable(std::string_view text) {
    for (const char c : text) {
        if (c < ' ' || c > '~') {
            return false;
        }
    }
    return true;
}

void checkSimplified(const std::vector<cubega::MoveCode>& moves, const cubega::CubeState& cube) {
    const std::vector<cubega::MoveCode> simplified = cubega::simplifyMoves(moves);
    check(simplified.size() <= moves.size());
    check(cubega::applySequence(cubega::solvedCube(), simplified) == cube);
    check(cubega::simplifyMoves(simplified) == simplified);
    check(cubega::quarterTurnCount(simplified) <= cubega::quarterTurnCount(moves));
}

void checkMoveText(std::string_view text) {
    constexpr std::size_t kLimit = 10000;
    const cubega::MoveText read = cubega::readMoveText(text, kLimit);
    if (read.error) {
        check(read.moves.empty() && read.error->position <= text.size() + 1);
        check(isPrintable(cubega::describeMoveTextError(*read.error, "the scramble")));
        return;
    }
    check(read.moves.size() <= kLimit);
    for (const cubega::MoveCode move : read.moves) {
        check(move >= 0 && move < cubega::kMoveCount);
    }
    check(cubega::applySequence(cubega::solvedCube(), read.moves) == read.cube);
    const cubega::MoveText again =
        cubega::readMoveText(cubega::standardNotation(read.moves), kLimit);
    check(!again.error && again.plainFaceTurns && again.moves == read.moves);
    checkSimplified(read.moves, read.cube);
}

void checkFacelets(std::string_view text) {
    const cubega::FaceletCube read = cubega::cubeFromFaceletText(text);
    if (!read.error) {
        check(!cubega::unreachableReason(read.cube));
        check(cubega::faceletText(read.cube).size() == 54);
    }
}

void checkBatchLine(std::string_view line, std::size_t number) {
    cubega::BatchDefaults defaults;
    defaults.seed = 7;
    const cubega::BatchLine parsed = cubega::parseBatchLine(line, number, defaults);
    if (const auto* task = std::get_if<cubega::SolveTask>(&parsed)) {
        check(task->settings.blockGenerations >= 1 && task->tries >= 1);
        check(task->moves.size() <= 10000);
    } else if (const auto* error = std::get_if<cubega::LineError>(&parsed)) {
        check(!error->message.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkMoveText(text);
    checkFacelets(text);
    std::istringstream lines(text);
    std::size_t number = 0;
    for (std::string line; std::getline(lines, line);) {
        checkBatchLine(line, ++number);
        checkFacelets(line);
    }
    return 0;
}
