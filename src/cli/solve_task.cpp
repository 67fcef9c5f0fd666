#include "cli/solve_task.hpp"

#include "genetic/clock.hpp"
#include "run/report.hpp"
#include "run/scramble.hpp"

namespace cubega {

TaskOutcome runTask(const SolveTask& task, SolveObserver* observer, ResultsLog* log) {
    SystemClock realClocks;
    FixedClock frozenClocks({0, task.seed.value_or(0)});
    RandomSource random(task.seed ? static_cast<Clock&>(frozenClocks) : realClocks);
    random.seedFromClock();

    TaskOutcome outcome;
    CubeState scrambled = task.faceletCube;
    switch (task.source) {
        case SolveTask::Source::moves:
            outcome.scramble = task.moves;
            break;
        case SolveTask::Source::random:
            outcome.scramble = drawRandomScramble(task.randomLength, random);
            break;
        case SolveTask::Source::builtIn:
            outcome.scramble.assign(kDefaultScramble.begin(), kDefaultScramble.end());
            break;
        case SolveTask::Source::facelets:
            break;
    }
    if (task.source != SolveTask::Source::facelets) {
        scrambled = applySequence(solvedCube(), outcome.scramble);
    }
    DiscardingRecordWriter nowhere;
    if (log != nullptr) {
        recordScramble({outcome.scramble, movesToText(outcome.scramble)}, nowhere, *log);
    }
    SolveRequest request;
    request.scrambledCube = scrambled;
    request.generations = task.generations;
    request.log = log;
    request.observer = observer;
    outcome.result = solve(request, random);
    if (log != nullptr) {
        writeReport(outcome.result, nowhere, *log);
    }
    return outcome;
}

}  // namespace cubega
