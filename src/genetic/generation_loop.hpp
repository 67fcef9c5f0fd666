// The generation loop shared by the three stages.
#pragma once

#include <cstdint>
#include <vector>

#include "cube/cube_state.hpp"
#include "eval/evaluate.hpp"
#include "genetic/population.hpp"
#include "genetic/random_source.hpp"
#include "run/record_writer.hpp"

namespace cubega {

// Advances the population through params.generations generations (none when G <= 0). Each
// generation: fold onto F and U (when restricted), simplify every row, evaluate every row
// from startCube, rank both tables by objective, print a progress line every P generations,
// replace the K worst rows by random sequences, recombine, mutate.
//
// Afterwards population row 0 is the best row of the last ranking, unchanged by the breeding
// that followed, and scores row 0 holds its objective and move count; the other score rows no
// longer describe their population rows. `keys` is scratch space for the ranking.
void runGenerations(Population& population, ScoreTable& scores, std::vector<std::int32_t>& keys,
                    const SearchParams& params, const CubeState& startCube, EvalMode mode,
                    RandomSource& random, RecordWriter& console);

// The folding onto F and U: keeps the kind of turn, maps F R D to F and U B L to U.
constexpr MoveCode foldOntoTwoFaces(MoveCode code) {
    return code % 2 + 6 * (code / 6);
}

// The progress line: generation, elite objective and move count, and the mean objective
// truncated toward zero, printed as a real.
void writeProgressLine(RecordWriter& console, std::int32_t generation, const ScoreTable& scores);

}  // namespace cubega
