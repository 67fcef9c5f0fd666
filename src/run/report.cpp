#include "run/report.hpp"

#include <optional>
#include <string>
#include <vector>

#include "cube/moves.hpp"
#include "run/run_error.hpp"
#include "stages/block_stage.hpp"

namespace cubega {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

bool solutionSolves(const CubeState& scrambled, const SolveState& solution) {
    CubeState cube = turnedToLocation(scrambled, solution.blockLocation);
    for (const std::string* text :
         {&solution.blockText, &solution.entryText, &solution.finishText}) {
        const std::optional<std::vector<MoveCode>> moves = movesFromText(*text);
        if (!moves) {
            return false;
        }
        cube = applySequence(cube, *moves);
    }
    return isSolved(cube);
}

void writeReport(const CubeState& scrambled, const SolveState& solution, RecordWriter& console,
                 ResultsLog& log) {
    const bool solves = solutionSolves(scrambled, solution);
    // The log is written and closed before the console reports the solution, so a run whose
    // log failed never shows a closing report.
    log.write({"Solution : "});
    log.write({solution.blockText});
    log.write({solution.entryText});
    log.write({solution.finishText});
    if (!solves) {
        log.write({"The solution above does not solve the scrambled cube: internal fault."});
        log.close();
        throw InternalFault("the solution does not solve the scrambled cube (block " +
                            quoted(solution.blockText) + ", entry " + quoted(solution.entryText) +
                            ", finish " + quoted(solution.finishText) + ")");
    }
    log.write({"total moves # : ", solution.totalMoves});
    log.close();
    console.write({"Whole cube was solved in ", solution.totalMoves, " moves :)"});
    console.writeBlank();
}

}  // namespace cubega
