// One solve as a front end asks for it: where the scramble comes from, the generations, and
// the seed that makes the run repeatable; and its run, from the seeding of the random source
// to the results log, the same for the dialogue, the command line, a batch and the web page.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "genetic/random_source.hpp"
#include "io/record_writer.hpp"
#include "run/solve.hpp"

namespace cubega {

struct SolveTask {
    enum class Source { moves, random, builtIn, facelets };
    Source source = Source::moves;
    std::vector<MoveCode> moves;    // Source::moves: face turns, as the cube is held at the end
    std::string notation;           // and the text they were read from, if it held more
    std::int32_t randomLength = 0;  // Source::random: moves drawn from the run's stream
    std::string facelets;           // Source::facelets: the text, already checked
    CubeState faceletCube;          // and its cube
    SearchSettings settings;        // the searches' parameters and generations
    SolveBudget budget;             // none: the solve goes on until the cube is solved
    // The clocks stand still at (0 ms, seed s): the run is the dialogue's run under clocks
    // frozen there. Without a seed the real clocks are read.
    std::optional<std::uint32_t> seed;
    // Solves of the same cube with seeds S, S + 1, ...: the shortest solution answers (of
    // equal ones the lowest seed's), or with firstTry the first to finish.
    std::int32_t tries = 1;
    bool firstTry = false;
    // The logbook of the searches, kept by the front end (of one try only): every K-th
    // generation too for logEvery = K > 0.
    bool keepLogbook = false;
    std::int32_t logEvery = 0;
    // A cube that is already solved is answered at once with no moves; the dialogue alone
    // searches it, as it always has.
    bool searchSolvedCube = false;
};

// Makes the task's scramble the moves of a text in the full notation, checked.
void setScrambleText(SolveTask& task, std::string_view text);

// The scramble a task solves: its moves (none for facelets) and the cube they leave.
struct TaskScramble {
    std::vector<MoveCode> moves;
    CubeState cube;
};

// The scramble of a task; a random one is drawn from `random`, as the dialogue draws it.
TaskScramble scrambleOf(const SolveTask& task, RandomSource& random);

// The scramble a task's run would solve now: a random one drawn from the task's clocks (frozen
// at its seed, else the real ones).
TaskScramble scrambleNow(const SolveTask& task);

// The scramble a task solves, when every run of the task solves the same one: all but a random
// scramble drawn from the real clocks.
std::optional<TaskScramble> reproducibleScrambleOf(const SolveTask& task);

// One of a task's tries: its seed and, unless it was stopped, how it ended.
struct TryResult {
    std::uint32_t seed = 0;
    bool finished = false;  // false: stopped when another try answered first
    bool solved = false;
    std::size_t solutionMoves = 0;
    double seconds = 0;
    bool answers = false;  // the try whose solution answers the task
};

struct TaskOutcome {
    TaskScramble scramble;
    SolveResult result;
    std::vector<TryResult> tries;  // when the task asked for more than one
};

using SolveFunction = std::function<SolveResult(const SolveRequest&, RandomSource&)>;

// What a task's run writes to, and who follows it.
struct TaskServices {
    // A random source already seeded (the dialogue seeds one at its start); when null, one is
    // seeded from the task's clocks.
    RandomSource* random = nullptr;
    RecordWriter* console = nullptr;     // the dialogue's transcript
    RecordWriter* resultsLog = nullptr;  // results.txt, in its usual layout
    // Who follows the search (a progress bar, a logbook, a stop flag), if anyone.
    SolveListener* listener = nullptr;
    SolveFunction solve;  // the solve itself (tests plant faults here); solve() when empty
};

// Seeds the random source, sets up the scramble (a random one drawn from that source), solves
// it and, with a console or a results log, reports: the records of the dialogue, results.txt
// in its usual layout (the scramble line empty for facelets). A failed self-check then throws
// InternalFault after its record; without either, the result says so and nothing is thrown.
// A solve that its budget ended is a result too, which says where it stopped. A task of
// several tries runs them one after another (see runTries, which runs them side by side),
// with no console.
TaskOutcome runTask(const SolveTask& task, const TaskServices& services = {});

// The seed of a task's first try: the task's, or one drawn from the real clocks.
std::uint32_t firstSeedOf(const SolveTask& task);

// Try k (from 0) of a task: one solve with seed firstSeed + k.
SolveTask tryOf(const SolveTask& task, std::int32_t k, std::uint32_t firstSeed);

}  // namespace cubega
