#include "python/problem.hpp"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "eval/evaluate.hpp"
#include "platform/back_end.hpp"
#include "python/python_values.hpp"
#include "request/logbook_text.hpp"
#include "request/request_rules.hpp"
#include "request/solve_task.hpp"
#include "stages/stage_problem.hpp"

namespace py = pybind11;
using namespace pybind11::literals;

namespace cubega {

namespace {

// From this many rows on, evaluate() lets other Python threads run while it works.
constexpr std::size_t kRowsWithoutGil = 64;
constexpr MoveCode kLastMoveCode = kMoveCount - 1;

// ---------------------------------------------------------------------------------------------
// Integer arrays from Python: any integer dtype, any strides, any byte order.

std::string shapeText(const py::array& array) {
    std::string text = "(";
    for (py::ssize_t axis = 0; axis < array.ndim(); ++axis) {
        text += (axis > 0 ? ", " : "") + std::to_string(array.shape(axis));
    }
    return text + (array.ndim() == 1 ? ",)" : ")");
}

// `value` as a numpy array of integers in the machine's byte order; `what` names it in the
// message of anything else.
py::array integerArray(const py::handle& value, const std::string& what) {
    py::array array = py::array::ensure(value);
    if (!array) {
        throw py::value_error(what + " must be an array of integers");
    }
    const char kind = array.dtype().kind();
    if (kind != 'i' && kind != 'u') {
        throw py::value_error(what + " must hold integers, not " +
                              py::str(array.dtype()).cast<std::string>());
    }
    if (!array.dtype().attr("isnative").cast<bool>()) {
        array = array.attr("astype")(array.dtype().attr("newbyteorder")("=")).cast<py::array>();
    }
    return array;
}

// Calls read(T{}) with T the array's integer type.
template <typename Read>
void withIntegerType(const py::array& array, Read&& read) {
    const bool isSigned = array.dtype().kind() == 'i';
    switch (array.itemsize()) {
        case 1:
            return isSigned ? read(std::int8_t{}) : read(std::uint8_t{});
        case 2:
            return isSigned ? read(std::int16_t{}) : read(std::uint16_t{});
        case 4:
            return isSigned ? read(std::int32_t{}) : read(std::uint32_t{});
        default:
            return isSigned ? read(std::int64_t{}) : read(std::uint64_t{});
    }
}

// The T `offset` bytes from `base`, which may be unaligned.
template <typename T>
T elementAt(const char* base, py::ssize_t offset) {
    T value;
    std::memcpy(&value, base + offset, sizeof value);
    return value;
}

// Rows of move codes, read and checked.
struct Rows {
    std::vector<MoveCode> codes;  // row after row
    std::size_t count = 0;
};

// Whether a code lies outside 0..17: one unsigned comparison, negative codes included.
template <typename T>
constexpr bool outOfRange(T code) {
    return static_cast<std::make_unsigned_t<T>>(code) > std::make_unsigned_t<T>{kLastMoveCode};
}

[[noreturn]] void refuseCode(std::size_t index, std::size_t length, const std::string& code) {
    throw py::value_error("row " + std::to_string(index / length) + ", slot " +
                          std::to_string(index % length) + ": " + code +
                          " is not a move code (0 to 17)");
}

// A code as the problem judges it: folded onto F and U when it folds.
template <bool kFold>
MoveCode judgedCode(MoveCode code) {
    return kFold ? foldOntoTwoFaces(code) : code;
}

// Codes stored one after another, aligned: two plain passes the compiler vectorises (for the
// base instruction set, which has no 64-bit comparison), the first narrowing the codes and
// gathering any bits above the low five, the second checking and folding 32-bit codes. The
// offender is looked for only when there is one.
template <bool kFold, typename T>
void copyContiguous(const T* source, std::size_t length, std::vector<MoveCode>& codes) {
    using Unsigned = std::make_unsigned_t<T>;
    Unsigned highBits = 0;  // a negative code has them too
    for (std::size_t i = 0; i < codes.size(); ++i) {
        highBits |= static_cast<Unsigned>(static_cast<Unsigned>(source[i]) >> 5);
        codes[i] = static_cast<MoveCode>(source[i]);
    }
    MoveCode aboveLast = 0;
    for (MoveCode& code : codes) {
        aboveLast |= code > kLastMoveCode ? 1 : 0;
        code = judgedCode<kFold>(code);
    }
    if (highBits != 0 || aboveLast != 0) {
        const auto bad = std::find_if(source, source + codes.size(), outOfRange<T>);
        refuseCode(static_cast<std::size_t>(bad - source), length, std::to_string(*bad));
    }
}

// Any strides, any alignment.
template <bool kFold, typename T>
void copyStrided(const char* base, py::ssize_t rowStride, py::ssize_t slotStride,
                 std::size_t length, std::vector<MoveCode>& codes) {
    for (std::size_t row = 0, i = 0; i < codes.size(); ++row) {
        const char* slots = base + static_cast<py::ssize_t>(row) * rowStride;
        for (std::size_t slot = 0; slot < length; ++slot, ++i) {
            const T code = elementAt<T>(slots, static_cast<py::ssize_t>(slot) * slotStride);
            if (outOfRange(code)) {
                refuseCode(i, length, std::to_string(code));
            }
            codes[i] = judgedCode<kFold>(static_cast<MoveCode>(code));
        }
    }
}

template <bool kFold>
void copyCodes(const py::array& array, std::size_t length, bool oneRow,
               std::vector<MoveCode>& codes) {
    const bool contiguous = (array.flags() & py::array::c_style) != 0;
    withIntegerType(array, [&]<typename T>(T) {
        if (contiguous && reinterpret_cast<std::uintptr_t>(array.data()) % alignof(T) == 0) {
            copyContiguous<kFold>(static_cast<const T*>(array.data()), length, codes);
        } else {
            copyStrided<kFold, T>(static_cast<const char*>(array.data()),
                                  oneRow ? 0 : array.strides(0), array.strides(oneRow ? 0 : 1),
                                  length, codes);
        }
    });
}

// How rows are read: `length` codes 0..17 a row, folded onto F and U or not.
struct RowForm {
    std::size_t length = 0;
    bool fold = false;
};

// The codes of an (n, L) array, or of one row of L when `oneRow`.
Rows readRows(const py::array& array, RowForm form, bool oneRow) {
    Rows rows;
    rows.count = oneRow ? 1 : static_cast<std::size_t>(array.shape(0));
    rows.codes.resize(rows.count * form.length);
    if (form.fold) {
        copyCodes<true>(array, form.length, oneRow, rows.codes);
    } else {
        copyCodes<false>(array, form.length, oneRow, rows.codes);
    }
    return rows;
}

// An (n, L) array of rows; with `rowAlone`, one row of L counts as n = 1.
Rows rowsOf(const py::handle& value, RowForm form, bool rowAlone = false) {
    const py::array array = integerArray(value, "rows");
    const auto length = static_cast<py::ssize_t>(form.length);
    if (rowAlone && array.ndim() == 1 && array.shape(0) == length) {
        return readRows(array, form, true);
    }
    if (array.ndim() != 2 || array.shape(1) != length) {
        throw py::value_error("rows must be an (n, " + std::to_string(length) +
                              ") array of move codes, not one of shape " + shapeText(array));
    }
    return readRows(array, form, false);
}

// One row of L codes.
std::vector<MoveCode> rowOf(const py::handle& value, RowForm form) {
    const py::array array = integerArray(value, "a row");
    if (array.ndim() != 1 || array.shape(0) != static_cast<py::ssize_t>(form.length)) {
        throw py::value_error("a row must be " + std::to_string(form.length) +
                              " move codes, not an array of shape " + shapeText(array));
    }
    return std::move(readRows(array, form, true).codes);
}

// A 1-D array of whole numbers (an optimizer's objectives or move counts), each within 32 bits.
std::vector<std::int32_t> numbersOf(const py::handle& value, const std::string& what) {
    const py::array array = integerArray(value, what);
    if (array.ndim() != 1 || array.shape(0) == 0) {
        throw py::value_error(what + " must be a non-empty 1-D array, not one of shape " +
                              shapeText(array));
    }
    std::vector<std::int32_t> numbers(static_cast<std::size_t>(array.shape(0)));
    const auto* base = static_cast<const char*>(array.data());
    withIntegerType(array, [&]<typename T>(T) {
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            const T number = elementAt<T>(base, static_cast<py::ssize_t>(i) * array.strides(0));
            if (!std::in_range<std::int32_t>(number)) {
                throw py::value_error(what + "[" + std::to_string(i) + "] is beyond 32 bits");
            }
            numbers[i] = static_cast<std::int32_t>(number);
        }
    });
    return numbers;
}

std::int32_t narrowed(std::int64_t value) {
    return std::in_range<std::int32_t>(value) ? static_cast<std::int32_t>(value) : INT32_MIN;
}

// ---------------------------------------------------------------------------------------------
// The start cube and the stage.

Stage stageOf(const std::string& name) {
    for (const Stage stage : {Stage::block, Stage::entry, Stage::finish}) {
        if (stageName(stage) == name) {
            return stage;
        }
    }
    throw py::value_error("stage must be block, entry or finish, not '" + name + "'");
}

CubeState startCubeOf(const std::optional<std::string>& scramble,
                      const std::optional<std::string>& facelets) {
    if (scramble.has_value() == facelets.has_value()) {
        throw py::value_error(scramble ? "give one start cube only: a scramble or facelets"
                                       : "give the start cube: a scramble or facelets");
    }
    return scramble ? applySequence(solvedCube(), checkedScramble(*scramble))
                    : checkedFacelets(*facelets);
}

StageProblem problemOf(Stage stage, const CubeState& cube, std::optional<std::int64_t> location,
                       std::int64_t length) {
    if (!location && stage == Stage::block) {
        throw py::value_error("a block problem needs its location: 0 to 11");
    }
    return makeStageProblem(stage, cube, narrowed(location.value_or(0)), narrowed(length));
}

// ---------------------------------------------------------------------------------------------
// The program's own search, run without the GIL.

// Thrown from the search's observer when Python has an error to raise (KeyboardInterrupt).
struct PythonError {};

// Runs Python's signal handlers a few times a second from inside the search: Ctrl-C stops it.
class SignalCheck final : public ProgressFollower {
  public:
    void stageProgress(const StageProgress&) override {
        const py::gil_scoped_acquire gil;
        if (PyErr_CheckSignals() != 0) {
            throw PythonError{};
        }
    }
};

struct SearchArguments {
    std::int64_t generations = 0;
    std::int64_t seed = 0;
    std::int64_t population = kPopulationSize;
    std::optional<std::int64_t> immigrants;
    double mutationRate = 0, crossoverRate = 0, selectionPressure = 0;
    std::optional<std::int64_t> logEvery;
};

// The setup of a search, every value checked by the rules solve() applies to it; the logbook
// is always kept, every K-th generation too for log_every = K.
StageSearchSetup searchSetupOf(const SearchArguments& arguments, std::int32_t length,
                               std::int32_t& logEvery) {
    RequestValues values;
    values.set(FieldId::population, arguments.population);
    values.set(FieldId::length, std::int64_t{length});
    if (arguments.immigrants) {
        values.set(FieldId::immigrants, *arguments.immigrants);
    }
    values.set(FieldId::mutationRate, arguments.mutationRate);
    values.set(FieldId::crossoverRate, arguments.crossoverRate);
    values.set(FieldId::selectionPressure, arguments.selectionPressure);
    values.set(FieldId::generations, arguments.generations);
    values.set(FieldId::seed, arguments.seed);
    values.set(FieldId::log, true);
    if (arguments.logEvery) {
        values.set(FieldId::logEvery, *arguments.logEvery);
    }
    SolveTask task;
    applyValues(task, values, Spelling::keyword);
    StageSearchSetup setup;
    setup.params = task.settings.params;
    setup.generations = task.settings.blockGenerations;
    setup.seed = *task.seed;
    logEvery = task.logEvery;
    return setup;
}

py::list logRowsOf(const std::vector<LogbookRow>& rows) {
    py::list list;
    for (const LogbookRow& row : rows) {
        list.append(pythonOf(logbookRowJson(row)));
    }
    return list;
}

// ---------------------------------------------------------------------------------------------
// Problem

class ProblemObject {
  public:
    ProblemObject(const std::string& stage, const std::optional<std::string>& scramble,
                  const std::optional<std::string>& facelets, std::optional<std::int64_t> location,
                  std::int64_t length)
        : problem_(problemOf(stageOf(stage), startCubeOf(scramble, facelets), location, length)),
          evaluate_(problem_.start, problem_.mode) {}

    const StageProblem& problem() const { return problem_; }
    std::size_t length() const { return static_cast<std::size_t>(problem_.length); }
    // Rows as the stage judges them (prepareRows' folding, done while they are read).
    RowForm form() const { return {length(), problem_.folded}; }
    std::int64_t evaluations() const { return evaluations_; }
    void reset() { evaluations_ = 0; }

    py::array_t<std::int64_t> bound(std::int64_t value) const {
        py::array_t<std::int64_t> bounds(static_cast<py::ssize_t>(length()));
        std::fill_n(bounds.mutable_data(), length(), value);
        return bounds;
    }

    std::int32_t objective(const py::handle& row) {
        const std::vector<MoveCode> codes = rowOf(row, form());
        ++evaluations_;
        return evaluate_(codes).objective;
    }

    py::tuple evaluate(const py::handle& rows) {
        const std::vector<Evaluation> results = evaluated(rowsOf(rows, form()));
        py::array_t<std::int32_t> objectives(static_cast<py::ssize_t>(results.size()));
        py::array_t<std::int32_t> moveCounts(static_cast<py::ssize_t>(results.size()));
        std::int32_t* objective = objectives.mutable_data();
        std::int32_t* moveCount = moveCounts.mutable_data();
        for (const Evaluation& result : results) {
            *objective++ = result.objective;
            *moveCount++ = result.moveCount;
        }
        evaluations_ += static_cast<std::int64_t>(results.size());
        return py::make_tuple(std::move(objectives), std::move(moveCounts));
    }

    // The plain evaluation, row by row: the reference evaluate() must equal. Not counted.
    py::tuple referenceEvaluate(const py::handle& rows) const {
        const Rows read = rowsOf(rows, form());
        py::list objectives, moveCounts;
        for (std::size_t r = 0; r < read.count; ++r) {
            const Evaluation result = evaluateSequenceReference(
                problem_.start, std::span(read.codes).subspan(r * length(), length()),
                problem_.mode);
            objectives.append(result.objective);
            moveCounts.append(result.moveCount);
        }
        return py::make_tuple(objectives, moveCounts);
    }

    py::array_t<bool> goalMet(const py::handle& rows) const {
        const std::vector<Evaluation> results = evaluated(rowsOf(rows, form(), true));
        py::array_t<bool> met(static_cast<py::ssize_t>(results.size()));
        std::transform(
            results.begin(), results.end(), met.mutable_data(),
            [&](const Evaluation& result) { return stageGoalMet(problem_.stage, result); });
        return met;
    }

    std::vector<MoveCode> counted(const py::handle& row) const {
        return countedMoves(problem_, rowOf(row, form()));
    }

    py::dict search(const SearchArguments& arguments) const {
        std::int32_t logEvery = 0;
        StageSearchSetup setup = searchSetupOf(arguments, problem_.length, logEvery);
        KeptRows log(logEvery);
        SignalCheck signals;
        SolveListeners listeners{&log, &signals};
        setup.listener = &listeners;
        StageSearchResult result;
        bool interrupted = false;
        {
            const py::gil_scoped_release released;
            try {
                result = searchStageProblem(problem_, setup);
            } catch (const PythonError&) {
                interrupted = true;
            }
        }
        if (interrupted) {
            throw py::error_already_set();  // the error PyErr_CheckSignals left
        }
        return recordOf(setup, result, logRowsOf(log.rows));
    }

    std::string repr() const {
        return "cube_solver.Problem('" + std::string(stageName(problem_.stage)) +
               "', location=" + std::to_string(problem_.location) +
               ", length=" + std::to_string(problem_.length) + ")";
    }

  private:
    // Rows judged as the stage judges them; without the GIL when there are many.
    std::vector<Evaluation> evaluated(const Rows& rows) const {
        std::vector<Evaluation> results(rows.count);
        std::optional<py::gil_scoped_release> released;
        if (rows.count >= kRowsWithoutGil) {
            released.emplace();
        }
        evaluate_.evaluateRows(rows.codes, length(), results);
        return results;
    }

    py::dict recordOf(const StageSearchSetup& setup, const StageSearchResult& result,
                      py::list log) const {
        const auto moves =
            std::span(result.bestRow).first(static_cast<std::size_t>(result.best.moveCount));
        py::dict record;
        record["stage"] = std::string(stageName(problem_.stage));
        record["location"] = problem_.location;
        record["seed"] = setup.seed;
        record["solved"] = result.goalMet;
        record["evaluations"] = result.evaluations;
        record["generations"] = result.generations;
        record["best"] = result.best.objective;
        record["bestMoves"] = result.best.moveCount;
        record["moves"] = standardNotation(moves);
        record["row"] = result.bestRow;
        record["seconds"] = result.seconds;
        record["log"] = std::move(log);
        return record;
    }

    StageProblem problem_;
    SequenceEvaluator evaluate_;
    std::int64_t evaluations_ = 0;
};

// ---------------------------------------------------------------------------------------------
// Logbook

// The number of different rows.
std::int32_t distinctRows(const Rows& rows, std::size_t length) {
    std::vector<std::span<const MoveCode>> each;
    for (std::size_t r = 0; r < rows.count; ++r) {
        each.push_back(std::span(rows.codes).subspan(r * length, length));
    }
    const auto less = [](std::span<const MoveCode> a, std::span<const MoveCode> b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
    };
    std::sort(each.begin(), each.end(), less);
    const auto equal = [](std::span<const MoveCode> a, std::span<const MoveCode> b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    };
    return static_cast<std::int32_t>(std::unique(each.begin(), each.end(), equal) - each.begin());
}

class LogbookObject {
  public:
    LogbookObject(py::object problem, std::optional<std::int64_t> line)
        : problem_(std::move(problem)), start_(std::chrono::steady_clock::now()) {
        if (!py::isinstance<ProblemObject>(problem_)) {
            throw py::type_error("a Logbook is kept for a cube_solver.Problem");
        }
        if (line && *line < 1) {
            throw py::value_error("line must be a whole number from 1");
        }
        line_ = static_cast<std::size_t>(line.value_or(0));
    }

    py::object record(std::int64_t run, std::int64_t generation, const py::handle& objectives,
                      const py::handle& moveCounts, const py::handle& rows,
                      std::optional<std::int64_t> evaluations) {
        const ProblemObject& problem = problem_.cast<const ProblemObject&>();
        if (run < 1 || !std::in_range<std::int32_t>(run)) {
            throw py::value_error("run must be a whole number from 1");
        }
        if (generation < 0 || !std::in_range<std::int32_t>(generation)) {
            throw py::value_error("generation must be a whole number from 0");
        }
        const std::vector<std::int32_t> objective = numbersOf(objectives, "objectives");
        const std::vector<std::int32_t> moveCount = numbersOf(moveCounts, "move_counts");
        if (moveCount.size() != objective.size()) {
            throw py::value_error("objectives and move_counts must be of one length");
        }
        LogbookRow row;
        row.stage = problem.problem().stage;
        row.location = row.stage == Stage::block ? problem.problem().location : -1;
        row.run = static_cast<std::int32_t>(run);
        row.generation = static_cast<std::int32_t>(generation);
        row.evaluations = evaluations.value_or(problem.evaluations());
        spreadOf(objective, moveCount, row);
        row.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        nlohmann::ordered_json json = logbookRowJson(row, line_);
        if (rows.is_none()) {
            json["distinct"] = nullptr;
        } else {
            const Rows read = rowsOf(rows, {problem.length(), false});
            if (read.count != objective.size()) {
                throw py::value_error("rows and objectives must be of one length");
            }
            json["distinct"] = distinctRows(read, problem.length());
        }
        rows_.push_back(json);
        return pythonOf(json);
    }

    py::list rows() const {
        py::list list;
        for (const nlohmann::ordered_json& row : rows_) {
            list.append(pythonOf(row));
        }
        return list;
    }

    void writeJsonLines(const py::object& path, bool append) const {
        std::string text;
        for (const nlohmann::ordered_json& row : rows_) {
            text += row.dump() + "\n";
        }
        const py::object file = py::module_::import("io").attr("open")(path, append ? "a" : "w",
                                                                       "encoding"_a = "utf-8");
        const auto close = [&] { file.attr("close")(); };
        try {
            file.attr("write")(text);
        } catch (...) {
            close();
            throw;
        }
        close();
    }

  private:
    // The best (the first row of the highest objective) and how the objectives spread.
    static void spreadOf(const std::vector<std::int32_t>& objective,
                         const std::vector<std::int32_t>& moveCount, LogbookRow& row) {
        const auto best = std::max_element(objective.begin(), objective.end());
        row.best = *best;
        row.bestMoves = moveCount[static_cast<std::size_t>(best - objective.begin())];
        row.worst = *std::min_element(objective.begin(), objective.end());
        std::int64_t sum = 0;
        for (const std::int32_t value : objective) {
            sum += value;
        }
        row.mean = static_cast<double>(sum) / static_cast<double>(objective.size());
    }

    py::object problem_;
    std::size_t line_ = 0;  // none when 0
    std::chrono::steady_clock::time_point start_;
    std::vector<nlohmann::ordered_json> rows_;
};

// ---------------------------------------------------------------------------------------------
// Documentation

constexpr const char* kProblemDoc = R"(One stage of the solver as a problem for any optimizer.

Problem(stage, scramble=None, *, facelets=None, location=None, length=30)

stage: "block" (a 2x2x3 block), "entry" (into the group of F and U turns with the
block kept) or "finish" (solved with F and U turns). The start cube: a scramble
in standard notation (read as the command line reads it) or facelets (54
letters), turned to location (0..11; required for "block", 0 by default for the
others) as the block stage turns it. The turned cube must be where the stage
starts: a complete block for "entry", a complete block in the group of F and U
turns for "finish"; otherwise ValueError.

A row is `length` move codes 0..17 (face code % 6: F U R B D L; 0..5 quarter
turns, 6..11 half turns, 12..17 anticlockwise), played on the turned cube. Every
stage takes all 18 codes. The finish (and the block stage at a location whose
cube is already in the group of F and U turns) folds each code onto F and U
before judging it, as the stage's own search folds its population: F R D
become F, U B L become U, the kind of turn kept (`folded` says so). So a row's
objective is exactly what the program's search computes for it.

Objective (to maximize): 10 * best score - moves, where the best score is the
highest score any prefix of the row reaches (block score 0..16, entry score
0..170, pair score 0..48) and moves the length of the shortest such prefix.
`target` is the stage's goal as a best score; goal_met() applies the stage's
own goal test (block: complete in at most 20 moves).

The counter `evaluations` counts the rows judged by problem(row) and evaluate();
goal_met(), moves() and apply(), which look again at rows already judged, and
search() are not counted.)";

constexpr const char* kEvaluateDoc = R"(Judge many rows at once.

rows: an (n, length) array of move codes 0..17, any integer dtype. Returns
(objectives, move_counts), two int32 arrays of length n: the same results as
problem(row) row by row, on the fastest evaluation the processor has (the GIL
released from 64 rows on). A wrong shape, a dtype that is not integer or a code
out of range raises ValueError naming the row and slot.)";

constexpr const char* kSearchDoc = R"(Run the program's own genetic search on this problem.

One search with the stage's evaluation, folding and goal, seeded as
`cube-solver solve --seed SEED` seeds a solve, ending after the generation whose
best meets the goal or after `generations`. The other arguments are solve()'s.
Returns a record: stage, location, seed, solved (the goal met), evaluations
(population x generations), generations, best, bestMoves, moves (the best row's
counted moves), row (the best row, as judged), seconds and log (the logbook's
rows: the first generation, every one whose best rises, every log_every-th, the
last). The GIL is released; Ctrl-C stops it.)";

constexpr const char* kLogbookDoc =
    R"(An optimizer's generations in the columns of the program's logbook.

Logbook(problem, *, line=None): rows of problem's stage and location (location
in the block stage only, as the program writes it); with line=k each row begins
with "line": k, as a batch's logbook names its input line.

record(run, generation, objectives, move_counts, rows=None, *, evaluations=None)
adds a row for one generation's population: best (the highest objective, of the
first row that has it) and bestMoves, mean, worst, distinct (different rows,
when rows are given; else None), evaluations (problem.evaluations unless given)
and seconds since the Logbook was made. Returns the row as a dict; `rows` is the
list of them (the keys of solve(log=True)'s rows), write_jsonl(path) writes them
as JSON Lines.)";

}  // namespace

void registerProblem(py::module_& module) {
    const SearchParams defaults;
    // The keyword defaults below, as solve() shows them.
    static_assert(SearchParams{}.mutationRate == 0.05F && SearchParams{}.crossoverRate == 0.8F &&
                  SearchParams{}.selectionPressure == 1.5F);
    py::class_<ProblemObject>(module, "Problem", kProblemDoc)
        .def(py::init<const std::string&, const std::optional<std::string>&,
                      const std::optional<std::string>&, std::optional<std::int64_t>,
                      std::int64_t>(),
             py::arg("stage"), py::arg("scramble") = py::none(), py::kw_only(),
             py::arg("facelets") = py::none(), py::arg("location") = py::none(),
             py::arg("length") = defaults.sequenceLength)
        .def_property_readonly("stage",
                               [](const ProblemObject& p) { return stageName(p.problem().stage); })
        .def_property_readonly("location",
                               [](const ProblemObject& p) { return p.problem().location; })
        .def_property_readonly("dimension",
                               [](const ProblemObject& p) { return p.problem().length; })
        .def_property_readonly(
            "lower", [](const ProblemObject& p) { return p.bound(0); },
            "The lowest code of each slot: 0.")
        .def_property_readonly(
            "upper", [](const ProblemObject& p) { return p.bound(kLastMoveCode); },
            "The highest code of each slot: 17.")
        .def_property_readonly(
            "target", [](const ProblemObject& p) { return stageTargetScore(p.problem().stage); },
            "The stage's goal as a best score: 16 (block), 170 (entry), 48 (finish).")
        .def_property_readonly("maximize", [](const ProblemObject&) { return true; })
        .def_property_readonly("folded", [](const ProblemObject& p) { return p.problem().folded; })
        .def_property_readonly(
            "facelets", [](const ProblemObject& p) { return faceletText(p.problem().start); },
            "The start cube turned to the location, where the rows are played (54 letters).")
        .def_property_readonly(
            "back_end", [](const ProblemObject&) { return backEndName(activeBackEnd()); },
            "The evaluation's back end (the fastest this processor runs).")
        .def_property_readonly("evaluations", &ProblemObject::evaluations,
                               "Rows judged by problem(row) and evaluate() since the last reset().")
        .def("reset", &ProblemObject::reset, "Set the evaluations counter to 0.")
        .def("__call__", &ProblemObject::objective, py::arg("row"),
             "The objective of one row of `length` move codes (counted).")
        .def("evaluate", &ProblemObject::evaluate, kEvaluateDoc, py::arg("rows"))
        .def("_reference_evaluate", &ProblemObject::referenceEvaluate, py::arg("rows"),
             "The plain evaluation, row by row, as two lists (not counted): a check of evaluate().")
        .def("goal_met", &ProblemObject::goalMet, py::arg("rows"),
             "Row by row, whether the row meets the stage's goal (a bool array; one row of\n"
             "`length` codes counts as one).")
        .def(
            "moves",
            [](const ProblemObject& p, const py::handle& row) {
                return standardNotation(p.counted(row));
            },
            py::arg("row"),
            "The row's counted moves (folded when the problem folds) in standard notation.")
        .def(
            "apply",
            [](const ProblemObject& p, const py::handle& row) {
                return faceletText(applySequence(p.problem().start, p.counted(row)));
            },
            py::arg("row"), "The facelets reached after the row's counted moves (54 letters).")
        .def(
            "search",
            [](const ProblemObject& p, std::int64_t generations, std::int64_t seed,
               std::int64_t population, std::optional<std::int64_t> immigrants, double mutationRate,
               double crossoverRate, double selectionPressure,
               std::optional<std::int64_t> logEvery) {
                return p.search({generations, seed, population, immigrants, mutationRate,
                                 crossoverRate, selectionPressure, logEvery});
            },
            kSearchDoc, py::arg("generations"), py::arg("seed"), py::kw_only(),
            py::arg("population") = defaults.populationSize, py::arg("immigrants") = py::none(),
            py::arg("mutation_rate") = 0.05, py::arg("crossover_rate") = 0.8,
            py::arg("selection_pressure") = 1.5, py::arg("log_every") = py::none())
        .def("__repr__", &ProblemObject::repr);

    py::class_<LogbookObject>(module, "Logbook", kLogbookDoc)
        .def(py::init<py::object, std::optional<std::int64_t>>(), py::arg("problem"), py::kw_only(),
             py::arg("line") = py::none())
        .def("record", &LogbookObject::record, py::arg("run"), py::arg("generation"),
             py::arg("objectives"), py::arg("move_counts"), py::arg("rows") = py::none(),
             py::kw_only(), py::arg("evaluations") = py::none())
        .def_property_readonly("rows", &LogbookObject::rows)
        .def("write_jsonl", &LogbookObject::writeJsonLines, py::arg("path"),
             py::arg("append") = false,
             "Write the rows as JSON Lines (appended to the file with append=True).");
}

}  // namespace cubega
