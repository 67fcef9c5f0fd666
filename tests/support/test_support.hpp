// Helpers shared by the tests: captured records, random cubes, running the real binary, and
// replaying a results.txt onto a solved cube.
#pragma once

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "io/record_writer.hpp"

namespace cubega::testing {

// What the dialogue writes before its scramble's questions: the greeting and its two questions.
inline constexpr const char* kGreetingAndQuestions =
    " Genetic melvo's cube solver, version 2.1\n"
    "\n"
    " Solves the 3x3x3 cube in three genetic searches: a 2x2x3 block,\n"
    " then the group of F and U turns, then F and U turns to the end.\n"
    "\n"
    " Enter scramble type : 1 = random, 2 = User-defined\n"
    "\n"
    " Enter number of generations for simulation : \n";

// What the system says of a file to be created where a folder is.
#ifdef _WIN32
inline const std::string kFolderInTheWay = "Permission denied";
#else
inline const std::string kFolderInTheWay = "Is a directory";
#endif

// Collects what is written, for exact comparison.
class CaptureWriter final : public RecordWriter {
  public:
    std::string text;

  protected:
    void writeLines(std::string_view lines) override { text += lines; }
};

// A cube reached from solved by `moves` random moves.
CubeState randomCube(std::mt19937& rng, int moves);

// A cube reached from solved by `moves` random F and U turns: inside the two-generator group.
CubeState randomTwoFaceCube(std::mt19937& rng, int moves);

// A random move sequence of codes 0..17.
std::vector<MoveCode> randomMoves(std::mt19937& rng, int count);

// A "cube" whose 54 facelets are all different (facelet i holds i).
CubeState distinctFacelets();

// The face turns of a text in the notation cube programs write ("R U2 F'"); throws on a text
// that is not one.
std::vector<MoveCode> movesOfNotation(std::string_view text);

// Moves read back from sequence text, three characters a move; throws on a text that is not.
std::vector<MoveCode> movesFromText(std::string_view text);

// A fresh empty folder under the system's temporary folder.
std::filesystem::path makeTempFolder();

std::string readFile(const std::filesystem::path& path);

struct BinaryRun {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs cube-solver in `folder` with `input` as its console input, behind `launcher` (for
// example a command that drops privileges) when one is given, with `arguments` (quoted for
// the shell) after it.
BinaryRun runSolverBinary(const std::filesystem::path& folder, std::string_view input,
                          const std::string& launcher = "", const std::string& arguments = "");

// What a results.txt says: the scramble, the number of whole-cube rotations of each kind, the
// solution moves (the three stage texts in order) and the logged total.
struct LoggedRun {
    std::vector<MoveCode> scramble;
    std::vector<std::string> rotationLines;
    std::vector<MoveCode> solution;
    std::int32_t total = -1;
};
LoggedRun readResultsLog(const std::filesystem::path& path);

// The solved cube after the logged scramble, rotations and solution: solved means the log
// holds a valid solution.
CubeState replayLoggedRun(const LoggedRun& run);

}  // namespace cubega::testing
