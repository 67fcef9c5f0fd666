// libFuzzer target: arbitrary bytes as the console input of the opening dialogue and the
// scramble set-up, stopping before the search. Whatever comes, the dialogue must end in
// settings and a scramble that make sense, or in an orderly stop; never a crash or a hang.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "cube/moves.hpp"
#include "dialogue/driver.hpp"
#include "genetic/clock.hpp"
#include "genetic/random_source.hpp"
#include "run/console_input.hpp"
#include "run/run_error.hpp"
#include "run/scramble.hpp"

namespace {

class CountingWriter final : public cubega::RecordWriter {
  public:
    std::size_t lines = 0;

  protected:
    void writeLines(std::string_view text) override {
        for (const char c : text) {
            lines += c == '\n' ? 1 : 0;
        }
    }
};

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The text reads back as the same moves, and the scramble turns a solved cube into one that
// still shows nine facelets of each colour.
bool scrambleIsConsistent(const cubega::Scramble& scramble) {
    using namespace cubega;
    for (std::size_t i = 0; i < scramble.moves.size(); ++i) {
        MoveCode parsed = -1;
        parseMove(std::string_view(scramble.text).substr(3 * i, 2), parsed);
        if (parsed != scramble.moves[i]) {
            return false;
        }
    }
    const CubeState cube = applySequence(solvedCube(), scramble.moves);
    int counts[6] = {};
    for (int i = 0; i < kFaceletCount; ++i) {
        ++counts[cube[i]];
    }
    for (const int count : counts) {
        if (count != 9) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cubega;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CountingWriter console;
    CountingWriter log;
    ConsoleInput input(in, console);
    FixedClock clock({17, 1765000000});
    RandomSource random(clock);
    random.seedFromClock();
    try {
        const DialogueAnswers settings = askDialogueAnswers(input, console);
        require(settings.generations >= 1);
        const Scramble scramble = setUpScramble(settings.scrambleType, input, console, random);
        require(scramble.moves.size() <= static_cast<std::size_t>(kMaxScrambleLength) ||
                scramble.moves.size() == kDefaultScramble.size());
        require(scramble.text.size() == 3 * scramble.moves.size());
        for (const MoveCode move : scramble.moves) {
            require(move >= 0 && move < kMoveCount);
        }
        require(scrambleIsConsistent(scramble));
        recordScramble(scramble, console, log);
        require(log.lines >= 2);
    } catch (const RunError&) {
        // The input ended before the dialogue was complete: an orderly stop.
    }
    return 0;
}
