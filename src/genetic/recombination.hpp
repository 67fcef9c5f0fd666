// Recombination: the children of parents chosen by linear ranking, crossed at one random cut.
// It reseeds the random source from the clocks when it is called, the clocks being read at
// its first draw, and writes into a table the caller owns, so the generation loop allocates
// nothing.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "genetic/population.hpp"
#include "genetic/random_source.hpp"

namespace cubega {

// The first-parent choice of recombination for one table size and selection pressure: propose
// a row uniformly, accept it when a threshold uniform between the lowest and the highest
// ranking weight is not above its weight; both draws repeat on rejection. Built once per
// search: for sp >= 1 the single-precision threshold never falls as the draw grows, so each
// row's test is worked out in advance as "the draw's state is at most a bound", which gives
// exactly the same answers.
class FirstParentChoice {
  public:
    FirstParentChoice(std::int32_t rows, float selectionPressure);
    std::int32_t choose(RandomSource& random) const;
    // A row drawn uniformly, exactly as random.rowOffset(rows) draws it.
    std::int32_t anyRow(RandomSource& random) const;

    // The acceptance test in single precision on the real of a draw, and the largest state it
    // accepts for a row (0 for none): for checking the bounds.
    bool acceptsByFormula(std::int32_t row, float r2) const;
    std::int32_t acceptUpTo(std::int32_t row) const {
        return acceptUpTo_[static_cast<std::size_t>(row)];
    }

  private:
    std::int32_t rows_;
    float selectionPressure_;
    std::vector<std::int32_t> acceptUpTo_;  // per row; empty when sp < 1 (the formula is used)
    // The first state of each row offset, for drawing rows without floating point; empty
    // when the table is too large for that (then the formula is used).
    std::vector<std::int32_t> firstStateOfRow_;
};

// Recombination of a population that is ranked without being reordered: ranked[r] is the row
// of `from` at rank r. Rank 0, the elite, is copied to row 0; rows 1.. are filled pair by
// pair with the children of two parents: the first chosen by linear ranking (firstParent),
// the second uniformly, crossed at one random cut with chance pc, else copied. An even count
// copies its last rank too. `from` and `to` must be distinct and of one shape.
void recombineInto(const Population& from, std::span<const std::int32_t> ranked, Population& to,
                   const FirstParentChoice& firstParent, float crossoverRate, RandomSource& random);

}  // namespace cubega
