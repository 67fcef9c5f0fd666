#include "request/solve_task.hpp"

#include "genetic/clock.hpp"
#include "run/report.hpp"
#include "run/scramble.hpp"

namespace cubega {

namespace {

// The moves of a task's scramble (none for facelets); a random one is drawn from `random`.
std::vector<MoveCode> scrambleMovesOf(const SolveTask& task, RandomSource& random) {
    switch (task.source) {
        case SolveTask::Source::moves:
            return task.moves;
        case SolveTask::Source::random:
            return drawRandomScramble(task.randomLength, random);
        case SolveTask::Source::builtIn:
            return {kDefaultScramble.begin(), kDefaultScramble.end()};
        case SolveTask::Source::facelets:
            break;
    }
    return {};
}

CubeState cubeOf(const SolveTask& task, const std::vector<MoveCode>& moves, RecordWriter* console) {
    return task.source == SolveTask::Source::facelets ? task.faceletCube
                                                      : applySequence(solvedCube(), moves, console);
}

}  // namespace

TaskScramble scrambleOf(const SolveTask& task, RandomSource& random, RecordWriter* console) {
    TaskScramble scramble;
    scramble.moves = scrambleMovesOf(task, random);
    scramble.cube = cubeOf(task, scramble.moves, console);
    return scramble;
}

std::optional<TaskScramble> reproducibleScrambleOf(const SolveTask& task) {
    if (task.source == SolveTask::Source::random && !task.seed) {
        return std::nullopt;
    }
    FixedClock frozenClocks({0, task.seed.value_or(0)});
    RandomSource random(frozenClocks);
    random.seedFromClock();
    return scrambleOf(task, random);
}

TaskOutcome runTask(const SolveTask& task, const TaskServices& services) {
    SystemClock realClocks;
    FixedClock frozenClocks({0, task.seed.value_or(0)});
    std::optional<RandomSource> ownRandom;
    if (services.random == nullptr) {
        ownRandom.emplace(task.seed ? static_cast<Clock&>(frozenClocks) : realClocks);
        ownRandom->seedFromClock();
    }
    RandomSource& random = services.random != nullptr ? *services.random : *ownRandom;

    DiscardingRecordWriter nowhere;
    RecordWriter& console = services.console != nullptr ? *services.console : nowhere;
    RecordWriter& log = services.resultsLog != nullptr ? *services.resultsLog : nowhere;
    const bool reported = services.console != nullptr || services.resultsLog != nullptr;

    // The scramble is shown and logged before its moves go onto the cube.
    TaskOutcome outcome;
    outcome.scramble.moves = scrambleMovesOf(task, random);
    recordScramble({outcome.scramble.moves, movesToText(outcome.scramble.moves)}, console, log);
    outcome.scramble.cube = cubeOf(task, outcome.scramble.moves, &console);
    SolveRequest request;
    request.scrambledCube = outcome.scramble.cube;
    request.settings = task.settings;
    request.budget = task.budget;
    request.logbook = services.logbook;
    request.console = services.console;
    request.log = services.resultsLog;
    request.observer = services.observer;
    outcome.result = services.solve ? services.solve(request, random) : solve(request, random);
    if (reported) {
        writeReport(outcome.result, console, log);
    }
    return outcome;
}

}  // namespace cubega
