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

#include "request/request_rules.hpp"
#include "request/solve_task.hpp"

namespace cubega {

// The values of a JSON object's keys, checked for their kinds only. A key that names no field
// read there is refused: the JSON keys, or with Spelling::keyword the Python module's.
RequestValues valuesOfJson(const nlohmann::json& object, Spelling spelling);

// The task of a JSON object, its values checked together with the defaults it leaves in
// place. Throws UsageError naming the first key that breaks a rule, as `spelling` names it (the
// Python module builds its requests as JSON and names its keyword arguments).
SolveTask taskFromJson(const nlohmann::json& object, const RequestValues& defaults = {},
                       Spelling spelling = Spelling::key);

// The same from JSON text; text that is not a JSON object is refused too.
SolveTask taskFromJsonText(std::string_view text, const RequestValues& defaults = {});

// What a batch gives every line that does not say otherwise (the command line's options), and
// its seed S: line k gets the seed S + k.
struct BatchDefaults {
    RequestValues values;
    std::optional<std::uint32_t> seed;
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
