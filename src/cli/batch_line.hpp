// One line of a batch: a scramble in standard notation, or a JSON object
// {"scramble": "R U2 F'", "generations": 500, "seed": 7} (or "facelets" in place of
// "scramble"); blank lines and lines that begin with # hold no task.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "cli/solve_task.hpp"

namespace cubega {

struct BatchDefaults {
    std::int32_t generations = kDefaultGenerations;
    std::optional<std::uint32_t> seed;  // line k gets seed + k unless it names its own
};

struct NoTask {};
struct LineError {
    std::string message;
};

using BatchLine = std::variant<NoTask, SolveTask, LineError>;

// The task of line `lineNumber` (from 1).
BatchLine parseBatchLine(std::string_view line, std::size_t lineNumber,
                         const BatchDefaults& defaults);

// The limits every task is checked against, on the command line and in a batch.
inline constexpr std::int32_t kMaxScrambleMoves = 10000;

// Why a number of generations cannot be used, if it cannot.
std::optional<std::string> generationsError(std::int64_t generations);

}  // namespace cubega
