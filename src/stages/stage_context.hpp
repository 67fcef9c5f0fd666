// What the three stages hand from one to the next, owned by the run (the working cube, the
// solution so far in three texts with its move count, the folding flag), and the services
// every stage uses.
#pragma once

#include <cstdint>
#include <string>

#include "cube/cube_state.hpp"
#include "genetic/random_source.hpp"
#include "io/record_writer.hpp"

namespace cubega {

struct SolveState {
    CubeState workingCube;           // turned to the chosen block location, then solved on
    std::int32_t blockLocation = 0;  // the whole-cube rotations the three texts assume
    std::int32_t totalMoves = 0;     // moves of the three stage texts together
    std::string blockText;           // in the frame of the turned cube, 3 characters a move
    std::string entryText;
    std::string finishText;
    bool restrictToTwoFaces = false;  // fold the population onto F and U every generation
};

// The services a stage uses: the random source, the console, and results.txt (the block
// stage logs its whole-cube rotations there).
struct StageContext {
    RandomSource& random;
    RecordWriter& console;
    RecordWriter& log;
};

}  // namespace cubega
