// Simplification: neighbouring moves on one face are merged (two quarter turns make a half
// turn, a turn and its inverse cancel, ...) and the freed slots at the end are refilled with
// random moves. Each row's simplification reseeds the random source from the clocks, the
// clocks being read at its first draw (a row with nothing to simplify reads none); rows are
// changed in place.
#pragma once

#include <span>

#include "genetic/population.hpp"
#include "genetic/random_source.hpp"

namespace cubega {

// Merges neighbouring moves on one face, closes the gap and refills the freed slots at the end
// with random moves (reset form), until no two neighbours turn the same face. The length never
// changes. Codes 0..17.
void simplifyInPlace(std::span<MoveCode> sequence, RandomSource& random);

// simplifyInPlace on every row, in row order.
void simplifyRows(Population& population, RandomSource& random);

}  // namespace cubega
