// Several tries of one cube side by side, one thread each: the shortest answers, or the first
// to finish, and then the others are stopped within a fraction of a second.
#pragma once

#include <cstddef>

#include "request/solve_task.hpp"

namespace cubega {

// Runs task.tries solves of the task's cube, seeds S, S + 1, ..., `jobs` at once, and gives
// the outcome that answers (see answerOfTries); the results log, if any, gets the answering
// try's. No thread is left running when it returns.
TaskOutcome runTriesSideBySide(const SolveTask& task, const TaskServices& services,
                               std::size_t jobs);

}  // namespace cubega
