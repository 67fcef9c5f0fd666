// The closing report: the solution length on the console, the solution and its total in
// results.txt, which is then closed.
#pragma once

#include "run/record_writer.hpp"
#include "run/results_log.hpp"
#include "stages/solve_state.hpp"

namespace cubega {

// The three stage texts are written as the stages left them, one record each (an empty text
// is a blank line), neither joined nor simplified.
void writeReport(const SolveState& solution, RecordWriter& console, ResultsLog& log);

}  // namespace cubega
