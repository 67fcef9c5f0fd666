// The closing report: the solution length on the console, the solution and its total in
// results.txt, which is then closed.
#pragma once

#include "cube/cube_state.hpp"
#include "io/record_writer.hpp"
#include "run/solve.hpp"

namespace cubega {

// The three stage texts are written as the stages left them, one record each (an empty text
// is a blank line), neither joined nor simplified. A solution that failed its own check (the
// search trusted the fast evaluation to say that the cube was solved) gets, in place of its
// total, a record saying so; the log is closed, nothing goes to the console, and InternalFault
// is thrown. A solve that its budget ended gets the stage texts it finished and a record saying
// it is not solved, and nothing on the console.
void writeReport(const SolveResult& solution, RecordWriter& console, RecordWriter& log);

}  // namespace cubega
