// A solve request as JSON, as a batch line or the web page sends it:
// {"scramble": "R U2 F'", "generations": 500, "seed": 7}, with "facelets" (54 letters) or
// "random" (a length) in place of "scramble". Every value is checked by the request's rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

#include "request/solve_task.hpp"

namespace cubega {

// The task of a JSON object, starting from `task` for what the object leaves out. Throws
// UsageError naming the first key that breaks a rule.
SolveTask taskFromJson(const nlohmann::json& object, SolveTask task = {});

// The same from JSON text; text that is not a JSON object is refused too.
SolveTask taskFromJsonText(std::string_view text, SolveTask task = {});

// What a batch gives every line that does not say otherwise.
struct BatchDefaults {
    std::int32_t generations = kDefaultGenerations;
    std::optional<std::uint32_t> seed;  // line k gets seed + k unless it names its own
};

struct NoTask {};
struct LineError {
    std::string message;
};

using BatchLine = std::variant<NoTask, SolveTask, LineError>;

// The task of line `lineNumber` (from 1) of a batch: a scramble in standard notation or a
// JSON object; blank lines and lines that begin with # hold none.
BatchLine parseBatchLine(std::string_view line, std::size_t lineNumber,
                         const BatchDefaults& defaults);

}  // namespace cubega
