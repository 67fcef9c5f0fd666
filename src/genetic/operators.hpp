// The operators that breed and change individuals: recombination, mutation and
// simplification. Each reseeds the random source from the clocks when it is called.
//
// The value forms (recombine, mutate, simplifySequence) return a new table and leave their
// input alone; the generation loop uses the *Into / *InPlace forms, which give the same
// result without allocating.
#pragma once

#include <array>
#include <span>

#include "genetic/population.hpp"
#include "genetic/random_source.hpp"

namespace cubega {

// Row 0 is copied; rows 1.. are filled pair by pair with the children of two parents: the
// first chosen by linear ranking (tested by acceptance), the second uniformly, crossed at one
// random cut with chance pc, else copied. `from` and `to` must be distinct and of one shape.
void recombineInto(const Population& from, Population& to, float selectionPressure,
                   float crossoverRate, RandomSource& random);
Population recombine(const Population& population, float selectionPressure, float crossoverRate,
                     RandomSource& random);

// Every slot of rows 1.. is reset to a random move with chance pm; row 0 is never touched.
void mutateInPlace(Population& population, float mutationRate, RandomSource& random);
Population mutate(const Population& population, float mutationRate, RandomSource& random);

// Merges neighbouring moves on one face (two quarter turns make a half turn, a turn and its
// inverse cancel, ...), closes the gap and refills the freed slots at the end with random
// moves, until no two neighbours turn the same face. The length never changes. Codes 0..17.
void simplifyInPlace(std::span<MoveCode> sequence, RandomSource& random);
MoveSequence simplifySequence(const MoveSequence& sequence, RandomSource& random);

// simplifyInPlace on every row, in row order.
void simplifyRows(Population& population, RandomSource& random);

// The move that a and b (codes 0..17 on one face) make together, or -1 when they cancel.
MoveCode mergedMove(MoveCode a, MoveCode b);

}  // namespace cubega
