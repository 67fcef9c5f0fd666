#include "request/solve_task.hpp"

#include "genetic/clock.hpp"
#include "request/request_rules.hpp"
#include "request/solve_engine.hpp"
#include "run/report.hpp"
#include "run/run_error.hpp"
#include "run/scramble.hpp"
#include "run/transcript.hpp"

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

CubeState cubeOf(const SolveTask& task, const std::vector<MoveCode>& moves, RecordWriter& console) {
    return task.source == SolveTask::Source::facelets ? task.faceletCube
                                                      : applyScramble(solvedCube(), moves, console);
}

// The clocks a task's random source is seeded from: frozen at (0 ms, seed s) when it has a
// seed, else the real ones.
class TaskClocks {
  public:
    explicit TaskClocks(const SolveTask& task)
        : frozen_({0, task.seed.value_or(0)}), seeded_(task.seed.has_value()) {}
    Clock& clock() { return seeded_ ? static_cast<Clock&>(frozen_) : real_; }

  private:
    SystemClock real_;
    FixedClock frozen_;
    bool seeded_;
};

}  // namespace

TaskScramble scrambleOf(const SolveTask& task, RandomSource& random) {
    TaskScramble scramble;
    scramble.moves = scrambleMovesOf(task, random);
    DiscardingRecordWriter nowhere;
    scramble.cube = cubeOf(task, scramble.moves, nowhere);
    return scramble;
}

void setScrambleText(SolveTask& task, std::string_view text) {
    const MoveText read = checkedMoveText(text);
    task.source = SolveTask::Source::moves;
    task.moves = read.moves;
    task.notation = read.plainFaceTurns ? "" : std::string(text);
}

TaskScramble scrambleNow(const SolveTask& task) {
    TaskClocks clocks(task);
    RandomSource random(clocks.clock());
    random.seedFromClock();
    return scrambleOf(task, random);
}

std::optional<TaskScramble> reproducibleScrambleOf(const SolveTask& task) {
    if (task.source == SolveTask::Source::random && !task.seed) {
        return std::nullopt;
    }
    return scrambleNow(task);
}

namespace {

// A cube that is already solved needs no search: no moves, answered at once.
SolveResult answeredAtOnce(const SolveRequest& request) {
    SolveResult result;
    result.searched = false;
    result.selfCheckPassed = solutionSolves(request.scrambledCube, result);
    return result;
}

TaskOutcome runOneTry(const SolveTask& task, const TaskServices& services) {
    TaskClocks clocks(task);
    std::optional<RandomSource> ownRandom;
    if (services.random == nullptr) {
        ownRandom.emplace(clocks.clock());
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
    outcome.scramble.cube = cubeOf(task, outcome.scramble.moves, console);
    Transcript transcript(console, log);
    SolveListeners listeners{reported ? &transcript : nullptr, services.listener};
    SolveRequest request;
    request.scrambledCube = outcome.scramble.cube;
    request.settings = task.settings;
    request.budget = task.budget;
    request.listener = listeners.empty() ? nullptr : &listeners;
    if (!task.searchSolvedCube && isSolved(request.scrambledCube)) {
        outcome.result = answeredAtOnce(request);
    } else {
        outcome.result = services.solve ? services.solve(request, random) : solve(request, random);
    }
    if (reported) {
        writeReport(outcome.result, console, log);
    }
    return outcome;
}

}  // namespace

std::uint32_t firstSeedOf(const SolveTask& task) {
    if (task.seed) {
        return *task.seed;
    }
    SystemClock clocks;
    const ClockReading now = clocks.read();
    return static_cast<std::uint32_t>(now.millisecondsSinceStart) +
           static_cast<std::uint32_t>(now.calendarSeconds);
}

SolveTask tryOf(const SolveTask& task, std::int32_t k, std::uint32_t firstSeed) {
    SolveTask one = task;
    one.tries = 1;
    one.seed = firstSeed + static_cast<std::uint32_t>(k);  // wraps past 2^32
    return one;
}

TaskOutcome runTask(const SolveTask& task, const TaskServices& services) {
    if (task.tries > 1) {
        return runTries(task, 0, services.resultsLog, services.solve);
    }
    return runOneTry(task, services);
}

}  // namespace cubega
