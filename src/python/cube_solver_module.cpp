// The solver as a Python module (pybind11): solve() and solve_many() over the request layer,
// whose JSON request and record they share with the command line, and the readers of
// scrambles and facelet states. The solves run with the GIL released; Ctrl-C stops them.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "cube/notation.hpp"
#include "python/ordered_solves.hpp"
#include "python/problem.hpp"
#include "python/python_values.hpp"
#include "python/solve_job.hpp"
#include "request/request_rules.hpp"
#include "run/run_error.hpp"
#include "stages/search_settings.hpp"

namespace py = pybind11;
using namespace pybind11::literals;

namespace cubega {

namespace {

// How long a wait for the solves goes before Python's signal handlers run again.
constexpr std::chrono::milliseconds kSignalInterval{20};
// Requests read ahead of the caller, per thread: a thread whose result waits for an earlier,
// slower solve takes the next request meanwhile.
constexpr std::size_t kReadAheadPerThread = 8;

// Thrown from a solve's observer when Python has an error to raise (KeyboardInterrupt): the
// search unwinds at once and the error is raised.
struct PythonError {};

// Runs Python's signal handlers a few times a second from inside the search, taking the GIL
// for a moment: Ctrl-C becomes KeyboardInterrupt, which stops the solve.
class SignalCheck final : public SolveObserver {
  public:
    void stageProgress(const StageProgress&) override {
        const py::gil_scoped_acquire gil;
        if (PyErr_CheckSignals() != 0) {
            throw PythonError{};
        }
    }
};

// A search parameter's default as its shortest decimal (0.05, not 0.0500000007), as help()
// shows it and as it reads back to the same single-precision value.
double shortestDecimal(float value) {
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) {
            break;
        }
    }
    return std::strtod(text, nullptr);
}

py::dict solveOne(const py::dict& arguments) {
    const SolveJob job = jobOf(arguments);
    SignalCheck signals;
    JobResult result;
    bool interrupted = false;
    {
        const py::gil_scoped_release released;
        try {
            result = runJob(job, &signals);
        } catch (const PythonError&) {
            interrupted = true;
        }
    }
    if (interrupted) {
        throw py::error_already_set();  // the error PyErr_CheckSignals left
    }
    return resultDict(result);
}

py::dict solveFromPython(const std::optional<std::string>& scramble,
                         const std::optional<std::string>& facelets,
                         std::optional<std::int64_t> random, std::int64_t generations,
                         std::optional<std::int64_t> seed, std::int64_t population,
                         std::int64_t length, std::optional<std::int64_t> immigrants,
                         double mutationRate, double crossoverRate, double selectionPressure,
                         std::int64_t entryGenerations, std::int64_t finishGenerations,
                         bool stopAtGoal, std::optional<std::int64_t> maxGenerations,
                         std::optional<double> timeLimit, bool log,
                         std::optional<std::int64_t> logEvery) {
    return solveOne(py::dict(
        "scramble"_a = scramble, "facelets"_a = facelets, "random"_a = random,
        "generations"_a = generations, "seed"_a = seed, "population"_a = population,
        "length"_a = length, "immigrants"_a = immigrants, "mutation_rate"_a = mutationRate,
        "crossover_rate"_a = crossoverRate, "selection_pressure"_a = selectionPressure,
        "entry_generations"_a = entryGenerations, "finish_generations"_a = finishGenerations,
        "stop_at_goal"_a = stopAtGoal, "max_generations"_a = maxGenerations,
        "time_limit"_a = timeLimit, "log"_a = log, "log_every"_a = logEvery));
}

// The results of solve_many(), one a next(): read the requests a few at a time, solve them on
// the threads of an OrderedSolves, hand back each result in input order.
class SolveMany {
  public:
    SolveMany(py::iterator requests, std::size_t threads)
        : requests_(std::move(requests)),
          solves_(threads),
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
        if (solves_.waiting() == 0) {
            close();
            if (inputError_) {  // the requests' own error, after the results before it
                py::error_already_set error = std::move(*inputError_);
                inputError_.reset();
                throw error;
            }
            throw py::stop_iteration();
        }
        const JobResult result = nextResult();
        try {
            readAhead();  // keeps the threads busy while Python works with this result
        } catch (...) {
            close();
            throw;
        }
        return resultDict(result);
    }

    // Stops the solves that run and joins their threads.
    void close() {
        closed_ = true;
        const py::gil_scoped_release released;
        solves_.stop();
    }

  private:
    // Waits for the next result without the GIL, running the signal handlers between waits;
    // KeyboardInterrupt stops every solve before it is raised.
    JobResult nextResult() {
        for (;;) {
            std::optional<JobResult> result;
            {
                const py::gil_scoped_release released;
                result = solves_.takeNext(kSignalInterval);
            }
            if (result) {
                return std::move(*result);
            }
            if (PyErr_CheckSignals() != 0) {
                py::error_already_set error;
                close();
                throw error;
            }
        }
    }

    void readAhead() {
        while (!inputEnded_ && solves_.waiting() < readAhead_) {
            PyObject* request = PyIter_Next(requests_.ptr());
            if (request == nullptr) {
                inputEnded_ = true;
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
        JobResult refused;
        try {
            solves_.add(jobOf(argumentsOf(request)));
            return;
        } catch (const UsageError& error) {
            refused.error = error.what();
        } catch (py::error_already_set& error) {
            if (!error.matches(PyExc_Exception)) {
                throw;
            }
            refused.error = error.what();
        } catch (const std::exception& error) {  // a value pybind11 could not convert
            refused.error = error.what();
        }
        solves_.addResult(std::move(refused));
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
    OrderedSolves solves_;
    std::size_t readAhead_;
    bool inputEnded_ = false;
    bool closed_ = false;
    std::optional<py::error_already_set> inputError_;
};

std::unique_ptr<SolveMany> solveMany(const py::object& requests, std::optional<std::int64_t> jobs) {
    const std::size_t threads =
        jobs ? static_cast<std::size_t>(checkedWholeNumber(kJobsRule, *jobs, Spelling::keyword))
             : std::max(1U, std::thread::hardware_concurrency());
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
as `cube-solver solve --seed S`).

Returns the command line's JSON record as a dict: scramble (or facelets),
generations, seed, parameters, solved, stoppedAt (when max_generations or
time_limit ended the search), location, rotations, stages, totalMoves,
solution, evaluations, seconds, selfCheck. With log=True or log_every=K it also
holds "log": the logbook's rows as a list of dicts (stage, location, run,
generation, evaluations, best, bestMoves, mean, worst, distinct, seconds), which
pandas.DataFrame takes as they are.

The search runs with the GIL released; Ctrl-C (KeyboardInterrupt) stops it.
Raises ValueError with the rule a value breaks.)";

constexpr const char* kSolveManyDoc = R"(Solve many scrambles on several threads.

Each request is a dict of solve()'s keyword arguments or a scramble string.
Yields the results in input order, each as soon as it and all before it are
done; a request that breaks a rule yields {"error": message} in its place.
jobs: solves at once (default: the processors available). The requests are
read a few at a time as the solves go on. Ctrl-C (KeyboardInterrupt) stops every
solve; close() stops them too.)";

}  // namespace

}  // namespace cubega

PYBIND11_MODULE(cube_solver, module) {
    using namespace cubega;
    module.doc() =
        "Solves a scrambled 3x3x3 cube with a genetic search: solve(), solve_many() on "
        "threads, parse() and check_facelets().";

    py::register_local_exception_translator([](std::exception_ptr error) {
        try {
            if (error) {
                std::rethrow_exception(error);
            }
        } catch (const UsageError& usage) {
            PyErr_SetString(PyExc_ValueError, usage.what());
        }
    });

    const SearchSettings defaults;
    const SearchParams& params = defaults.params;
    module.def("solve", &solveFromPython, kSolveDoc, py::arg("scramble") = py::none(),
               py::kw_only(), py::arg("facelets") = py::none(), py::arg("random") = py::none(),
               py::arg("generations") = defaults.blockGenerations, py::arg("seed") = py::none(),
               py::arg("population") = params.populationSize,
               py::arg("length") = params.sequenceLength, py::arg("immigrants") = py::none(),
               py::arg("mutation_rate") = shortestDecimal(params.mutationRate),
               py::arg("crossover_rate") = shortestDecimal(params.crossoverRate),
               py::arg("selection_pressure") = shortestDecimal(params.selectionPressure),
               py::arg("entry_generations") = defaults.entryGenerations,
               py::arg("finish_generations") = defaults.finishGenerations,
               py::arg("stop_at_goal") = defaults.stopAtGoal,
               py::arg("max_generations") = py::none(), py::arg("time_limit") = py::none(),
               py::arg("log") = false, py::arg("log_every") = py::none());

    py::class_<SolveMany>(module, "SolveMany",
                          "The results of solve_many(), in input order; close() stops the "
                          "solves that run.")
        .def("__iter__", [](py::object self) { return self; })
        .def("__next__", &SolveMany::next)
        .def("close", &SolveMany::close, "Stop the solves that run and end the results.");

    module.def("solve_many", &solveMany, kSolveManyDoc, py::arg("requests"),
               py::arg("jobs") = py::none());

    module.def("parse", &parse,
               "The moves of a scramble in standard notation, as the command line reads them:\n"
               "parse(\"R U2 F'\") == ['R', 'U2', \"F'\"]. Raises ValueError naming the first\n"
               "token that is not a move.",
               py::arg("notation"));
    module.def("check_facelets", &checkFacelets,
               "Check a cube's 54 facelet letters (faces U R F D L B, each row by row): returns\n"
               "None for a cube that face turns reach, else raises ValueError with the first\n"
               "rule it breaks.",
               py::arg("state"));

    registerProblem(module);
}
