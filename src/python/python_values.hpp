// Between Python's values and the request layer's JSON: a solve's keyword arguments become
// the JSON request (checked by the request's rules, which name them as keywords), and the JSON
// result becomes dicts and lists. Call with the GIL held.
#pragma once

#include <pybind11/pybind11.h>

#include <nlohmann/json.hpp>

#include "python/solve_job.hpp"

namespace cubega {

// The job of solve()'s keyword arguments (a value of None is one not given). Throws UsageError
// with the message of the first rule broken.
SolveJob jobOf(const pybind11::dict& arguments);

// JSON as Python values: objects as dicts (in their order), arrays as lists.
pybind11::object pythonOf(const nlohmann::ordered_json& json);

// A job's result as solve() returns it: the JSON record, with "log" when its logbook was kept.
pybind11::dict resultDict(const JobResult& result);

}  // namespace cubega
