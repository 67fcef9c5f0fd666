// Simplification of a population folded onto F and U, many rows at a time.
#pragma once

#include "genetic/population.hpp"
#include "genetic/random_source.hpp"

namespace cubega {

// simplifyRows for a population whose every code is on U or F (0, 1, 6, 7, 12 or 13), as the
// fold onto two faces leaves it: the same rows and the same draws, with the rows read onto
// their stacks a row in each vector lane where the back end has wide vectors.
void simplifyTwoFaceRows(Population& population, RandomSource& random);

}  // namespace cubega
