#include "request/solve_task.hpp"

#include "genetic/clock.hpp"
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

void setSearchValues(SolveTask& task, const SearchValues& values, Spelling spelling) {
    const CheckedSearch search = checkedSearch(values, spelling);
    task.settings = search.settings;
    task.budget = search.budget;
    task.tries = search.tries;
    task.firstTry = search.first;
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

// Whether try a answers before try b: solved before not, then fewer moves, then in try order.
bool answersBefore(const TaskOutcome& a, const TaskOutcome& b) {
    if (a.result.solved() != b.result.solved()) {
        return a.result.solved();
    }
    return a.result.solved() && a.result.solution.size() < b.result.solution.size();
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

TaskOutcome answerOfTries(const SolveTask& task, std::uint32_t firstSeed, std::vector<TryRun> runs,
                          std::optional<std::size_t> firstFinished, RecordWriter* resultsLog) {
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t answer = task.firstTry ? firstFinished.value_or(kNone) : kNone;
    for (std::size_t k = 0; !task.firstTry && k < runs.size(); ++k) {
        if (runs[k].outcome &&
            (answer == kNone || answersBefore(*runs[k].outcome, *runs[answer].outcome))) {
            answer = k;
        }
    }
    if (answer == kNone || !runs[answer].outcome) {
        throw RunError("no try of the cube finished");
    }
    TaskOutcome outcome = *runs[answer].outcome;
    for (std::size_t k = 0; k < runs.size(); ++k) {
        TryResult result;
        result.seed = firstSeed + static_cast<std::uint32_t>(k);
        result.answers = k == answer;
        if (runs[k].outcome) {
            const SolveResult& solved = runs[k].outcome->result;
            result.finished = true;
            result.solved = solved.solved();
            result.solutionMoves = solved.solution.size();
            result.seconds = solved.seconds;
        }
        outcome.tries.push_back(result);
    }
    if (resultsLog != nullptr) {
        resultsLog->writeFormatted(runs[answer].resultsLog);
        resultsLog->close();
    }
    return outcome;
}

TaskOutcome runTask(const SolveTask& task, const TaskServices& services) {
    if (task.tries <= 1) {
        return runOneTry(task, services);
    }
    // One after another here; the command line runs them side by side.
    const std::uint32_t firstSeed = firstSeedOf(task);
    std::vector<TryRun> runs(static_cast<std::size_t>(task.tries));
    for (std::int32_t k = 0; k < task.tries; ++k) {
        TextRecordWriter log;
        TaskServices one = services;
        one.resultsLog = services.resultsLog != nullptr ? &log : nullptr;
        runs[static_cast<std::size_t>(k)].outcome = runOneTry(tryOf(task, k, firstSeed), one);
        runs[static_cast<std::size_t>(k)].resultsLog = log.text();
    }
    return answerOfTries(task, firstSeed, std::move(runs), 0, services.resultsLog);
}

}  // namespace cubega
