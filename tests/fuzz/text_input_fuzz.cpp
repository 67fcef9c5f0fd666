// libFuzzer target: arbitrary bytes as the texts the command line reads: scrambles in standard
// notation, lines of a batch (JSON objects included) and 54-letter facelet states. Whatever
// comes, each is read as moves that print back to the same moves, a task whose numbers are in
// range, or an error with a message; never a crash or a hang.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "cube/pieces.hpp"
#include "request/request_json.hpp"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkMoves(std::string_view text) {
    const cubega::ParsedMoves parsed = cubega::parseStandardMoves(text);
    if (parsed.error) {
        check(parsed.moves.empty() && parsed.error->moveNumber >= 1);
        check(!cubega::describeNotationError(*parsed.error, "the scramble").empty());
        return;
    }
    const cubega::ParsedMoves again =
        cubega::parseStandardMoves(cubega::standardNotation(parsed.moves));
    check(!again.error && again.moves == parsed.moves);
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
        check(task->generations >= 1);
        check(task->moves.size() <= 10000);
    } else if (const auto* error = std::get_if<cubega::LineError>(&parsed)) {
        check(!error->message.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkMoves(text);
    checkFacelets(text);
    std::istringstream lines(text);
    std::size_t number = 0;
    for (std::string line; std::getline(lines, line);) {
        checkBatchLine(line, ++number);
        checkFacelets(line);
    }
    return 0;
}
