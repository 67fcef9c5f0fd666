// A solve request as JSON, as a batch line or the web page sends it:
// {"scramble": "R U2 F'", "generations": 500, "seed": 7}, with "facelets" (54 letters) or
// "random" (a length) in place of "scramble". Every value is checked by the request's rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

#include "request/request_rules.hpp"
#include "request/solve_task.hpp"

namespace cubega {

// The keys a request may hold: "scramble", "facelets", "random", "generations", "seed", ...
std::span<const std::string_view> requestKeys();

// What a request's JSON leaves out: the search's values (the command line's options, for a
// batch) and the seed.
struct TaskDefaults {
    SearchValues search;
    std::optional<std::uint32_t> seed;
};

// The task of a JSON object, its values checked together with the defaults it leaves in
// place. Throws UsageError naming the first key that breaks a rule, as `spelling` names it (the
// Python module builds its requests as JSON and names its keyword arguments).
SolveTask taskFromJson(const nlohmann::json& object, const TaskDefaults& defaults = {},
                       Spelling spelling = Spelling::key);

// The same from JSON text; text that is not a JSON object is refused too.
SolveTask taskFromJsonText(std::string_view text, const TaskDefaults& defaults = {});

// What a batch gives every line that does not say otherwise; line k gets the seed + k.
using BatchDefaults = TaskDefaults;

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
