// The batch command: one task a line in, one JSON record a task out, in input order, each
// written and flushed as soon as it and all before it are done, with several solves at once.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>

#include "request/request_json.hpp"

namespace cubega {

struct BatchOptions {
    BatchDefaults defaults;
    std::size_t jobs = 1;  // solves at once, one thread each
    SolveFunction solve;   // the solve itself (tests plant faults here); solve() when empty
};

// Returns the exit status: 0 when every task was solved, 1 when a line could not be (its record
// says why, the others go on) or the output failed (then everything stops), 3 when a solution
// failed its own check.
int runBatch(std::istream& in, std::ostream& out, std::ostream& err, const BatchOptions& options);

}  // namespace cubega
