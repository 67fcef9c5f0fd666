// The solver as a Python module (pybind11): solve() and solve_many() over the request layer,
// whose fields, JSON request and record they share with the command line, and the readers of
// scrambles and facelet states. The solves run on the request layer's engine with the GIL
// released; Ctrl-C stops them.
#include <pybind11/eval.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cube/notation.hpp"
#include "python/problem.hpp"
#include "python/python_values.hpp"
#include "request/request_fields.hpp"
#include "request/request_rules.hpp"
#include "request/solve_engine.hpp"
#include "run/run_error.hpp"

namespace py = pybind11;
using namespace pybind11::literals;

namespace cubega {

namespace {

// How long a wait for the solves goes before Python's signal handlers run again.
constexpr std::chrono::milliseconds kSignalInterval{20};
// Requests read ahead of the caller, per thread: a thread whose result waits for an earlier,
// slower solve takes the next request meanwhile.
constexpr std::size_t kReadAheadPerThread = 8;

// The next result of an engine, waited for without the GIL, Python's signal handlers run
// between waits: KeyboardInterrupt stops every solve before it is raised. Nothing when the
// engine has no more.
std::optional<EngineTaken> nextResult(SolveEngine& engine) {
    for (;;) {
        std::optional<EngineTaken> taken;
        bool more = true;
        {
            const py::gil_scoped_release released;
            taken = engine.takeNext(kSignalInterval);
            more = taken || engine.waiting() > 0;
        }
        if (taken || !more) {
            return taken;
        }
        if (PyErr_CheckSignals() != 0) {
            py::error_already_set error;
            const py::gil_scoped_release released;
            engine.stop();
            throw error;
        }
    }
}

// solve(): one request, its tries side by side.
py::dict solveArguments(const py::dict& arguments) {
    const SolveTask task = taskOf(arguments);
    SolveEngine engine(
        std::min<std::size_t>(processorsAvailable(), static_cast<std::size_t>(task.tries)));
    EngineJob job;
    job.task = task;
    engine.add(std::move(job));
    return resultDict(*nextResult(engine));
}

// The results of solve_many(), one a next(): read the requests a few at a time, solve them on
// the engine's threads, hand back each result in input order.
class SolveMany {
  public:
    SolveMany(py::iterator requests, std::size_t threads)
        : requests_(std::move(requests)),
          engine_(threads),
          readAhead_(threads * kReadAheadPerThread) {}

    py::dict next() {
        if (closed_) {
            throw py::stop_iteration();
        }
        try {
            readAhead();
        } catch (...) {
            close();
            throw;
        }
        std::optional<EngineTaken> taken;
        try {
            taken = nextResult(engine_);
        } catch (const py::error_already_set&) {  // KeyboardInterrupt: the solves are stopped
            closed_ = true;
            throw;
        } catch (const std::exception& fault) {  // a fault that ended one solve: in its place
            taken = EngineRefusal{0, std::string("internal fault: ") + fault.what()};
        }
        if (!taken) {
            close();
            if (inputError_) {  // the requests' own error, after the results before it
                py::error_already_set error = std::move(*inputError_);
                inputError_.reset();
                throw error;
            }
            throw py::stop_iteration();
        }
        try {
            readAhead();  // keeps the threads busy while Python works with this result
        } catch (...) {
            close();
            throw;
        }
        return resultDict(*taken);
    }

    // Stops the solves that run and joins their threads.
    void close() {
        closed_ = true;
        const py::gil_scoped_release released;
        engine_.stop();
    }

  private:
    void readAhead() {
        while (!inputEnded_ && engine_.waiting() < readAhead_) {
            PyObject* request = PyIter_Next(requests_.ptr());
            if (request == nullptr) {
                inputEnded_ = true;
                engine_.closeInput();
                if (PyErr_Occurred() != nullptr) {
                    py::error_already_set error;
                    if (!error.matches(PyExc_Exception)) {  // KeyboardInterrupt: at once
                        throw error;
                    }
                    inputError_ = std::move(error);
                }
                return;
            }
            add(py::reinterpret_steal<py::object>(request));
        }
    }

    // A request's job, or its error in its place.
    void add(const py::object& request) {
        EngineRefusal refused;
        try {
            EngineJob job;
            job.task = taskOf(argumentsOf(request));
            engine_.add(std::move(job));
            return;
        } catch (const UsageError& error) {
            refused.message = error.what();
        } catch (py::error_already_set& error) {
            if (!error.matches(PyExc_Exception)) {
                throw;
            }
            refused.message = error.what();
        } catch (const std::exception& error) {  // a value pybind11 could not convert
            refused.message = error.what();
        }
        engine_.addRefusal(std::move(refused));
    }

    static py::dict argumentsOf(const py::object& request) {
        if (py::isinstance<py::str>(request)) {
            return py::dict("scramble"_a = request);
        }
        if (!py::hasattr(request, "keys")) {  // what dict() takes as a mapping
            throw UsageError("a request is a scramble or a dict of solve()'s keyword arguments");
        }
        return py::dict(request);
    }

    py::iterator requests_;
    SolveEngine engine_;
    std::size_t readAhead_;
    bool inputEnded_ = false;
    bool closed_ = false;
    std::optional<py::error_already_set> inputError_;
};

std::unique_ptr<SolveMany> solveMany(const py::object& requests, std::optional<std::int64_t> jobs) {
    const std::size_t threads =
        jobs ? static_cast<std::size_t>(checkedWholeNumber(kJobsKeyword, *jobs))
             : processorsAvailable();
    return std::make_unique<SolveMany>(py::iter(requests), threads);
}

std::vector<std::string> parse(const std::string& notation) {
    std::vector<std::string> moves;
    for (const MoveCode move : checkedScramble(notation)) {
        moves.push_back(standardNotation({&move, 1}));
    }
    return moves;
}

void checkFacelets(const std::string& state) {
    checkedFacelets(state);
}

constexpr const char* kSolveDoc = R"(Solve a scrambled cube with the genetic search.

Give the scramble as moves in standard notation ("R U2 F'", read as the command
line reads it), as facelets (54 letters, faces U R F D L B) or as random=N (a
random scramble of N moves). The other arguments set the search as the command
line's options of the same names do; seed=S makes the run repeatable (the same
as `cube-solver solve --seed S`); with tries=K the K tries run side by side.

Returns the command line's JSON record as a dict: scramble (or facelets),
generations, seed, parameters, solved, stoppedAt (when max_generations or
time_limit ended the search), location, rotations, stages, totalMoves,
solution, evaluations, seconds, selfCheck. With log=True it also holds "log":
the logbook's rows as a list of dicts (stage, location, run, generation,
evaluations, best, bestMoves, mean, worst, distinct, seconds), which
pandas.DataFrame takes as they are.

The search runs with the GIL released; Ctrl-C (KeyboardInterrupt) stops it.
Raises ValueError with the rule a value breaks.)";

constexpr const char* kSolveManyDoc = R"(Solve many scrambles on several threads.

Each request is a dict of solve()'s keyword arguments or a scramble string.
Yields the results in input order, each as soon as it and all before it are
done; a request that breaks a rule yields {"error": message} in its place.
jobs: solves at once, a request's tries side by side too (default: the
processors available). The requests are read a few at a time as the solves go
on. Ctrl-C (KeyboardInterrupt) stops every solve; close() stops them too.)";

// A keyword's default in solve()'s signature: none for the scramble's sources and for a
// default that follows other values.
std::string keywordDefault(const RequestField& field) {
    if (field.group == FieldGroup::scramble || field.defaultFollowsOthers()) {
        return "None";
    }
    return pythonLiteral(field.defaultValue());
}

// The docstring's lines on the arguments, from the field table.
std::string argumentsDoc() {
    std::string doc = "\n\nArguments:\n";
    for (const RequestField& field : requestFields()) {
        if ((field.use & kInPython) == 0) {
            continue;
        }
        std::string facts = rangeText(field);
        if (!field.unit.empty()) {
            facts += (facts.empty() ? "" : ", ") + std::string(field.unit);
        }
        doc += "  " + field.keyword() + ": " + std::string(field.help) +
               (facts.empty() ? "" : " (" + facts + ")") + "\n";
    }
    return doc;
}

// solve() as a Python function whose signature holds every keyword of the field table with its
// default, so that help() and inspect show them; it hands its arguments to _solve().
std::string solveSource() {
    std::string parameters;
    std::string names;
    for (const RequestField& field : requestFields()) {
        if ((field.use & kInPython) == 0) {
            continue;
        }
        const std::string keyword = field.keyword();
        parameters += keyword + "=" + keywordDefault(field) + ", ";
        if (field.id == FieldId::scramble) {
            parameters += "*, ";
        }
        names += "\"" + keyword + "\": " + keyword + ", ";
    }
    return "def solve(" + parameters.substr(0, parameters.size() - 2) + "):\n" +
           "    return _solve({" + names + "})\n";
}

}  // namespace

}  // namespace cubega

PYBIND11_MODULE(cube_solver, module) {
    using namespace cubega;
    module.doc() =
        "Solves a scrambled 3x3x3 cube with a genetic search: solve(), solve_many() on "
        "threads, parse(), check_facelets() and fields(), the table of solve()'s arguments.";

    py::register_local_exception_translator([](std::exception_ptr error) {
        try {
            if (error) {
                std::rethrow_exception(error);
            }
        } catch (const UsageError& usage) {
            PyErr_SetString(PyExc_ValueError, usage.what());
        }
    });

    module.def("_solve", &solveArguments, "solve() with its arguments as one dict.",
               py::arg("arguments"));
    py::exec(solveSource(), module.attr("__dict__"));
    module.attr("solve").attr("__doc__") = std::string(kSolveDoc) + argumentsDoc();
    module.attr("solve").attr("__module__") = "cube_solver";

    py::class_<SolveMany>(module, "SolveMany",
                          "The results of solve_many(), in input order; close() stops the "
                          "solves that run.")
        .def("__iter__", [](py::object self) { return self; })
        .def("__next__", &SolveMany::next)
        .def("close", &SolveMany::close, "Stop the solves that run and end the results.");

    module.def("solve_many", &solveMany, kSolveManyDoc, py::arg("requests"),
               py::arg("jobs") = py::none());

    module.def("parse", &parse,
               "The moves of a scramble in the notation the command line reads (face turns,\n"
               "wide turns, slices, rotations, groups, commutators), as face turns:\n"
               "parse(\"R U2 F'\") == ['R', 'U2', \"F'\"]. Raises ValueError naming where the\n"
               "text is not a move.",
               py::arg("notation"));
    module.def("check_facelets", &checkFacelets,
               "Check a cube's 54 facelet letters (faces U R F D L B, each row by row): returns\n"
               "None for a cube that face turns reach, else raises ValueError with the first\n"
               "rule it breaks.",
               py::arg("state"));
    module.def(
        "fields", [] { return pythonOf(fieldTableJson()); },
        "The table of a request's fields: for each its key, option, keyword, kind, group,\n"
        "range, default (None for none), unit and help.");

    registerProblem(module);
}
