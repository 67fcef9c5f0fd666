#include "run/report.hpp"

namespace cubega {

void writeReport(const SolveState& solution, RecordWriter& console, ResultsLog& log) {
    // The log is written and closed before the console reports the solution, so a run whose
    // log failed never shows a closing report.
    log.logRecord({"Solution : "});
    log.logRecord({solution.blockText});
    log.logRecord({solution.entryText});
    log.logRecord({solution.finishText});
    log.logRecord({"total moves # : ", solution.totalMoves});
    log.close();
    console.write({"Whole cube was solved in ", solution.totalMoves, " moves :)"});
    console.writeBlank();
}

}  // namespace cubega
