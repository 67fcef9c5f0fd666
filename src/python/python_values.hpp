// Between Python's values and the request layer: a solve's keyword arguments become the JSON
// request (checked by the request's rules, which name them as keywords), and the JSON result
// becomes dicts and lists. Call with the GIL held.
#pragma once

#include <pybind11/pybind11.h>

#include <nlohmann/json.hpp>

#include "request/request_fields.hpp"
#include "request/solve_engine.hpp"

namespace cubega {

// The task of solve()'s keyword arguments (a value of None is one not given). Throws
// UsageError with the message of the first rule broken.
SolveTask taskOf(const pybind11::dict& arguments);

// JSON as Python values: objects as dicts (in their order), arrays as lists.
pybind11::object pythonOf(const nlohmann::ordered_json& json);

// A solve's result as solve() returns it: the JSON record, with "log" when its logbook was
// kept; a refused request as {"error": message}.
pybind11::dict resultDict(const EngineTaken& taken);

// A Python literal of a field's value, for the signature of solve(): None, 51, 0.05, False.
std::string pythonLiteral(const FieldValue& value);

}  // namespace cubega
