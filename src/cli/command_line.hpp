// The command line beside the dialogue: `cube-solver solve` solves one scramble given in
// standard notation, drawn at random, built in, or as a cube's 54 facelets, and prints its
// solution as text or JSON; `cube-solver batch` solves one scramble a line, several at once,
// and writes JSON Lines (or part K of N of its lines, which `cube-solver merge` joins with the
// other parts, checked against the input). Exit statuses: 0 done, 1 orderly stop (input or
// output failed, a batch line failed), 2 usage error, 3 a solution failed its own check, 4 a
// budget ended a solve before its cube was solved.
#pragma once

#include <istream>
#include <ostream>

#include "request/solve_task.hpp"

namespace cubega {

struct CommandLineStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;  // progress is drawn there only then
    SolveFunction solve;         // the solve itself (tests plant faults here); solve() if empty
};

int runCommandLine(int argc, const char* const* argv, CommandLineStreams& streams);

}  // namespace cubega
