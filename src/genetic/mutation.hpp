// Mutation: random resets of single slots. It reseeds the random source from the clocks when
// it is called, the clocks being read at its first draw, and changes the population in place.
#pragma once

#include "genetic/population.hpp"
#include "genetic/random_source.hpp"

namespace cubega {

// Every slot of rows 1.. is reset to a random move (reset form) with chance pm; row 0 is
// never touched.
void mutateInPlace(Population& population, float mutationRate, RandomSource& random);

}  // namespace cubega
