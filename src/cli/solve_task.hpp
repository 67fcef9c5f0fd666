// One solve as the command line asks for it, from its options or from a line of a batch:
// where the scramble comes from, the generations, and the seed that makes the run repeatable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "run/results_log.hpp"
#include "run/solve.hpp"

namespace cubega {

inline constexpr std::int32_t kDefaultGenerations = 500;

struct SolveTask {
    enum class Source { moves, random, builtIn, facelets };
    Source source = Source::moves;
    std::vector<MoveCode> moves;    // Source::moves
    std::int32_t randomLength = 0;  // Source::random: moves drawn from the run's stream
    std::string facelets;           // Source::facelets: the text, already checked
    CubeState faceletCube;          // and its cube
    std::int32_t generations = kDefaultGenerations;
    // The clocks stand still at (0 ms, seed s): the run is the dialogue's run under clocks
    // frozen there. Without a seed the real clocks are read.
    std::optional<std::uint32_t> seed;
};

struct TaskOutcome {
    std::vector<MoveCode> scramble;  // the moves that were solved (none for facelets)
    SolveResult result;
};

// Seeds a random source from the task's clocks, sets up the scramble (a random one drawn from
// that source, as the dialogue draws it) and solves it. With a log, results.txt is written in
// its usual layout (the scramble line empty for facelets); a failed self-check then throws
// InternalFault after its record.
TaskOutcome runTask(const SolveTask& task, SolveObserver* observer, ResultsLog* log);

}  // namespace cubega
