#include "run/report.hpp"

#include <string>

#include "run/run_error.hpp"

namespace cubega {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

void writeReport(const SolveResult& solution, RecordWriter& console, ResultsLog& log) {
    const bool solves = solution.selfCheckPassed;
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
