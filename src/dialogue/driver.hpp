// The console dialogue, the program's run without arguments: the greeting and two questions,
// the scramble's questions, then the solve with its console records and results.txt, and a
// last answer that holds the window open.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <ostream>

#include "genetic/clock.hpp"
#include "io/record_writer.hpp"
#include "run/console_input.hpp"
#include "run/results_log.hpp"
#include "run/scramble.hpp"

namespace cubega {

// The answers of the opening dialogue.
struct DialogueAnswers {
    ScrambleType scrambleType = ScrambleType::builtIn;
    std::int32_t generations = 0;  // per block-stage search
};

// The greeting and the two questions. Throws RunError when the input ends.
DialogueAnswers askDialogueAnswers(ConsoleInput& input, RecordWriter& console);

// Where the dialogue reads, writes and seeds from; the program passes the process's own.
struct DialogueEnvironment {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    Clock& clock;
    std::filesystem::path resultsPath = kResultsFileName;
};

// The whole dialogue, the program's run without arguments. Returns the exit status: 0 when it
// ran to the end, 1 after an orderly stop (input ended, results.txt not writable), 3 when the
// solution failed its own check; the reason goes to the error stream.
int holdDialogue(DialogueEnvironment& environment);

}  // namespace cubega
