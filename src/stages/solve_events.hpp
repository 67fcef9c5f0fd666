// What a solve's search tells whoever follows it, as typed events on one channel: the console
// dialogue renders its transcript from them, the command line its progress bar, the logbook
// its rows, the page and the Python module their views, and a front end that may stop a
// solve listens for its moment. Nothing here writes text; a front end includes only this.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "cube/moves.hpp"
#include "cube/rotations.hpp"
#include "eval/evaluation.hpp"

namespace cubega {

enum class Stage { block, entry, finish };

// The places where the block stage tries its 2x2x3 block (the cube turned whole to each).
inline constexpr std::int32_t kLocationCount = 12;

// "block", "entry" or "finish": the stage's name in every output.
constexpr std::string_view stageName(Stage stage) {
    switch (stage) {
        case Stage::block:
            return "block";
        case Stage::entry:
            return "entry";
        case Stage::finish:
            return "finish";
    }
    return "";
}

// How much searching a stage did: its runs of the generation loop (for the block stage its
// passes over the twelve locations) and their generations together.
struct StageRuns {
    std::int32_t runs = 0;
    std::int64_t generations = 0;
};

// Where a run of a stage's search stands in the solve: the stage, the run (from 1; the block
// stage's pass) and the block stage's location (-1 in the other stages).
struct StageRunAt {
    Stage stage = Stage::block;
    std::int32_t run = 1;
    std::int32_t location = -1;
};

// A run of a stage's search begins: its generations, and whether it searches with F and U
// turns alone (in the block stage, a location whose cube F and U turns can finish).
struct RunBegan {
    StageRunAt at;
    std::int32_t generations = 0;
    bool twoFaces = false;
};

// Every P generations of a run (P the stage's progress interval): the elite and the mean
// objective, truncated toward zero.
struct ProgressPointReached {
    StageRunAt at;
    std::int32_t generation = 0;
    Evaluation best;
    std::int32_t meanObjective = 0;
};

// Where a stage's search stands, a few times a second at most: the run (from 1; the block
// stage's pass) and, in the block stage, the location searched, with the generations done of
// the run's budget.
struct StageProgress {
    Stage stage = Stage::block;
    std::int32_t run = 1;
    std::int32_t location = 0;
    std::int32_t generationsDone = 0;
    std::int32_t generationsOfRun = 0;
};

// One row of a solve's logbook: a generation of one run of a stage's search.
struct LogbookRow {
    Stage stage = Stage::block;
    std::int32_t location = -1;    // the block stage's location, 0..11; -1 in the other stages
    std::int32_t run = 1;          // the block stage's pass, the other stages' run, from 1
    std::int32_t generation = 1;   // in the run, from 1
    std::int64_t evaluations = 0;  // sequences evaluated so far in the solve
    std::int32_t best = 0;         // the best objective and its move count
    std::int32_t bestMoves = 0;
    double mean = 0;  // the exact mean objective
    std::int32_t worst = 0;
    std::int32_t distinct = 0;  // distinct rows of the population
    double seconds = 0;         // since the solve began
};

// A run of a stage's search ended: its best row's evaluation and counted moves, whether they
// meet the stage's goal, and (entry stage) whether the cube was in the group of F and U turns
// before the stage began.
struct RunEnded {
    StageRunAt at;
    Evaluation best;
    std::vector<MoveCode> bestMoves;
    bool goalMet = false;
    bool startedInGroup = false;
};

// A stage's search goes on with another run (the block stage: another pass over the twelve
// locations), since the last one missed its goal.
struct RunExtended {
    Stage stage = Stage::block;
};

// A pass of the block stage over the twelve locations ended.
struct PassEnded {
    std::int32_t pass = 1;
};

// The twelve locations by their best blocks, best first; the first is committed.
struct LocationsRanked {
    std::array<std::int32_t, kLocationCount> order{};
};

// The cube is turned whole, to the committed block's location: one event a rotation.
struct CubeRotated {
    Rotation rotation = Rotation::y;
};

// A stage's result: the moves it adds to the solution (none when the entry stage's cube was in
// the group already) and its best row's evaluation.
struct StageDone {
    Stage stage = Stage::block;
    std::vector<MoveCode> moves;
    Evaluation best;
};

using SolveEvent = std::variant<RunBegan, ProgressPointReached, StageProgress, LogbookRow, RunEnded,
                                RunExtended, PassEnded, LocationsRanked, CubeRotated, StageDone>;

// Follows a solve. Rows of the logbook (LogbookRow) come only to a listener whose
// logbookEvery() has a value: each run's first and last generation, every generation whose
// best objective rises, every multiple of the stage's progress interval and every K-th
// generation for K = logbookEvery() > 0. StageProgress comes a few times a second at most. A
// listener may stop the solve by throwing from onEvent, which unwinds the search.
class SolveListener {
  public:
    virtual ~SolveListener() = default;
    virtual void onEvent(const SolveEvent& event) = 0;
    virtual std::optional<std::int32_t> logbookEvery() const { return std::nullopt; }
};

// Several listeners as one, told in the order they were added; the logbook's rows go to each
// that keeps one, at the first such listener's K.
class SolveListeners final : public SolveListener {
  public:
    SolveListeners() = default;
    SolveListeners(std::initializer_list<SolveListener*> listeners) {
        for (SolveListener* listener : listeners) {
            add(listener);
        }
    }
    void add(SolveListener* listener) {
        if (listener != nullptr) {
            listeners_.push_back(listener);
        }
    }
    bool empty() const { return listeners_.empty(); }

    void onEvent(const SolveEvent& event) override {
        const bool row = std::holds_alternative<LogbookRow>(event);
        for (SolveListener* listener : listeners_) {
            if (!row || listener->logbookEvery()) {
                listener->onEvent(event);
            }
        }
    }
    std::optional<std::int32_t> logbookEvery() const override {
        for (const SolveListener* listener : listeners_) {
            if (const auto every = listener->logbookEvery()) {
                return every;
            }
        }
        return std::nullopt;
    }

  private:
    std::vector<SolveListener*> listeners_;
};

// A listener that keeps the logbook's rows and follows nothing else: every K-th generation too
// for K = every() > 0.
class Logbook : public SolveListener {
  public:
    virtual std::int32_t every() const { return 0; }
    virtual void logRow(const LogbookRow& row) = 0;

    void onEvent(const SolveEvent& event) final {
        if (const auto* row = std::get_if<LogbookRow>(&event)) {
            logRow(*row);
        }
    }
    std::optional<std::int32_t> logbookEvery() const final { return every(); }
};

// A listener that follows where the search stands, a few times a second, and nothing else.
class ProgressFollower : public SolveListener {
  public:
    virtual void stageProgress(const StageProgress& progress) = 0;

    void onEvent(const SolveEvent& event) final {
        if (const auto* progress = std::get_if<StageProgress>(&event)) {
            stageProgress(*progress);
        }
    }
};

// Where a solve ended when its budget allowed no further generation: the run it was in, the
// generations the run had done and, if it had done any, its best objective and move count.
struct StopPoint {
    Stage stage = Stage::block;
    std::int32_t location = -1;
    std::int32_t run = 1;
    std::int32_t generation = 0;
    std::optional<std::int32_t> best;
    std::optional<std::int32_t> bestMoves;
};

}  // namespace cubega
