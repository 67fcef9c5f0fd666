#include "run/report.hpp"

#include <string>

#include "cube/moves.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

void writeReport(const SolveResult& solution, RecordWriter& console, RecordWriter& log) {
    const bool solves = solution.selfCheckPassed;
    // The log is written and closed before the console reports the solution, so a run whose
    // log failed never shows a closing report.
    log.write({"Solution : "});
    const std::string blockText = movesToText(solution.blockMoves);
    const std::string entryText = movesToText(solution.entryMoves);
    const std::string finishText = movesToText(solution.finishMoves);
    log.write({blockText});
    log.write({entryText});
    log.write({finishText});
    if (!solution.solved()) {
        log.write({"Not solved: the budget ended the search."});
        log.close();
        return;
    }
    if (!solves) {
        log.write({"The solution above does not solve the scrambled cube: internal fault."});
        log.close();
        throw InternalFault("the solution does not solve the scrambled cube (block " +
                            quoted(blockText) + ", entry " + quoted(entryText) + ", finish " +
                            quoted(finishText) + ")");
    }
    log.write({"total moves # : ", solution.totalMoves});
    log.close();
    console.write({"Whole cube was solved in ", solution.totalMoves, " moves :)"});
    console.writeBlank();
}

}  // namespace cubega
