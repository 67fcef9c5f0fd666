// The closing report: the solution length on the console, the solution and its total in
// results.txt, which is then closed. The solution is checked first.
#pragma once

#include "cube/cube_state.hpp"
#include "io/record_writer.hpp"
#include "run/results_log.hpp"
#include "stages/stage_context.hpp"

namespace cubega {

// Whether the solution, as it is about to be logged, solves the scrambled cube: the
// whole-cube rotations of its block location, then the moves read back from the three stage
// texts, each a plain turn made of quarter turns. It answers for the fast evaluation paths,
// which the search trusted to say that the cube was solved.
bool solutionSolves(const CubeState& scrambled, const SolveState& solution);

// The three stage texts are written as the stages left them, one record each (an empty text
// is a blank line), neither joined nor simplified. A solution that does not solve the
// scrambled cube gets, in place of its total, a record saying so; the log is closed, nothing
// goes to the console, and InternalFault is thrown.
void writeReport(const CubeState& scrambled, const SolveState& solution, RecordWriter& console,
                 ResultsLog& log);

}  // namespace cubega
