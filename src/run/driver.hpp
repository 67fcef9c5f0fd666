// The run from greeting to the last answer: dialogue, scramble, the three stages, report.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <ostream>

#include "cube/cube_state.hpp"
#include "genetic/clock.hpp"
#include "run/results_log.hpp"
#include "run/scramble.hpp"
#include "run/solve.hpp"

namespace cubega {

// The answers of the opening dialogue.
struct RunSettings {
    std::int32_t scrambleType = 0;
    std::int32_t generations = 0;  // per block-stage search
};

// Everything one run holds from start to exit.
struct RunState {
    RunSettings settings;
    Scramble scramble;
    CubeState scrambledCube;  // the solved cube after the scramble, as the scramble left it
    SolveResult solution;
};

// The greeting and the two questions. Throws RunError when the input ends.
RunSettings askRunSettings(ConsoleInput& input, RecordWriter& console);

// Where a run reads, writes and seeds from; the program passes the process's own.
struct RunEnvironment {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    Clock& clock;
    std::filesystem::path resultsPath = kResultsFileName;
};

// Runs `run` and gives the exit status of how it ended: 0 when it returned, 1 after an
// orderly stop (RunError), 3 when the program found a fault of its own (InternalFault); the
// reason goes to `err`.
int exitStatusOf(const std::function<void()>& run, std::ostream& err);

// One whole run. Returns the exit status: 0 when it ran to the end, 1 after an orderly stop
// (input ended, results.txt not writable), 3 when the solution failed its own check; the
// reason goes to the error stream.
int runSolver(RunEnvironment& environment);

}  // namespace cubega
