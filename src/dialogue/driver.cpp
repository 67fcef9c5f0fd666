#include "dialogue/driver.hpp"

#include "genetic/random_source.hpp"
#include "request/solve_task.hpp"
#include "run/run_error.hpp"
#include "run/scramble.hpp"

namespace cubega {

namespace {

void writeGreeting(RecordWriter& console) {
    console.write({"Genetic melvo's cube solver, version 2.1"});
    console.writeBlank();
    console.write({"Solves the 3x3x3 cube in three genetic searches: a 2x2x3 block,"});
    console.write({"then the group of F and U turns, then F and U turns to the end."});
    console.writeBlank();
}

// The run from the scramble's questions to the report; the log is open throughout. The
// scramble is drawn or read here, from the random source seeded at the start, and the solve
// is a task of those moves.
void runDialogueTask(const DialogueAnswers& answers, ConsoleInput& input, RecordWriter& console,
                     RandomSource& random, RecordWriter& log) {
    SolveTask task;
    task.source = SolveTask::Source::moves;
    task.moves = setUpScramble(answers.scrambleType, input, console, random).moves;
    task.settings.blockGenerations = answers.generations;
    task.searchSolvedCube = true;  // the dialogue searches every cube
    TaskServices services;
    services.random = &random;
    services.console = &console;
    services.resultsLog = &log;
    runTask(task, services);
}

}  // namespace

DialogueAnswers askDialogueAnswers(ConsoleInput& input, RecordWriter& console) {
    writeGreeting(console);
    DialogueAnswers answers;
    answers.scrambleType = scrambleTypeOf(input.askInteger(
        "Enter scramble type : 1 = random, 2 = User-defined", IntegerRule{}, "the scramble type"));
    console.writeBlank();
    IntegerRule atLeastOne;
    atLeastOne.minimum = 1;
    atLeastOne.belowMinimum = "The number of generations must be at least 1.";
    answers.generations = input.askInteger(
        "Enter number of generations for simulation : ", atLeastOne, "the number of generations");
    return answers;
}

int holdDialogue(DialogueEnvironment& environment) {
    StreamRecordWriter console(environment.out);
    ConsoleInput input(environment.in, console);
    const int status = exitStatusOf(
        [&] {
            RandomSource random(environment.clock);
            random.seedFromClock();
            const DialogueAnswers answers = askDialogueAnswers(input, console);
            ResultsLog log(environment.resultsPath);
            runDialogueTask(answers, input, console, random, log);
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
