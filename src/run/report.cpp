#include "run/report.hpp"

namespace cubega {

void writeReport(const SolveState& solution, RecordWriter& console, ResultsLog& log) {
    console.write({"Whole cube was solved in ", solution.totalMoves, " moves :)"});
    console.writeBlank();
    log.logRecord({"Solution : "});
    log.logRecord({solution.blockText});
    log.logRecord({solution.entryText});
    log.logRecord({solution.finishText});
    log.logRecord({"total moves # : ", solution.totalMoves});
    log.close();
}

}  // namespace cubega
