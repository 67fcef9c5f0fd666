#include "run/driver.hpp"

#include "cube/moves.hpp"
#include "genetic/random_source.hpp"
#include "run/console_input.hpp"
#include "run/report.hpp"
#include "run/results_log.hpp"
#include "run/run_error.hpp"

namespace cubega {

namespace {

void writeGreeting(RecordWriter& console) {
    console.write({"Genetic melvo's cube solver, version 2.1"});
    console.writeBlank();
    console.write({"Solves the 3x3x3 cube in three genetic searches: a 2x2x3 block,"});
    console.write({"then the group of F and U turns, then F and U turns to the end."});
    console.writeBlank();
}

// The run from the scramble to the report; the log is open throughout.
void solve(RunState& run, ConsoleInput& input, RecordWriter& console, RandomSource& random,
           ResultsLog& log) {
    run.scramble = setUpScramble(run.settings.scrambleType, input, console, random);
    recordScramble(run.scramble, console, log);
    run.scrambledCube = applySequence(solvedCube(), run.scramble.moves, &console);

    SolveRequest request;
    request.scrambledCube = run.scrambledCube;
    request.generations = run.settings.generations;
    request.console = &console;
    request.log = &log;
    run.solution = solve(request, random);
    writeReport(run.solution, console, log);
}

}  // namespace

RunSettings askRunSettings(ConsoleInput& input, RecordWriter& console) {
    writeGreeting(console);
    RunSettings settings;
    settings.scrambleType = input.askInteger("Enter scramble type : 1 = random, 2 = User-defined",
                                             IntegerRule{}, "the scramble type");
    console.writeBlank();
    IntegerRule atLeastOne;
    atLeastOne.minimum = 1;
    atLeastOne.belowMinimum = "The number of generations must be at least 1.";
    settings.generations = input.askInteger(
        "Enter number of generations for simulation : ", atLeastOne, "the number of generations");
    return settings;
}

int exitStatusOf(const std::function<void()>& run, std::ostream& err) {
    try {
        run();
    } catch (const RunError& error) {
        err << "cube-solver: " << error.what() << '\n';
        return kStatusStopped;
    } catch (const InternalFault& fault) {
        err << "cube-solver: internal fault: " << fault.what() << '\n';
        return kStatusInternalFault;
    }
    return 0;
}

int runSolver(RunEnvironment& environment) {
    StreamRecordWriter console(environment.out);
    ConsoleInput input(environment.in, console);
    const int status = exitStatusOf(
        [&] {
            RandomSource random(environment.clock);
            random.seedFromClock();
            RunState run;
            run.settings = askRunSettings(input, console);
            ResultsLog log(environment.resultsPath);
            solve(run, input, console, random, log);
        },
        environment.err);
    if (status != 0) {
        return status;
    }
    console.write({"End of the program."});
    // The last answer only holds the window open: its value is not used, and an input that
    // ends here ends a run that is already complete.
    try {
        input.askInteger("", IntegerRule{}, "the last answer");
    } catch (const RunError&) {
    }
    return 0;
}

}  // namespace cubega
