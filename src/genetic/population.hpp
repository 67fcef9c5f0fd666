// Individuals, the population and its score table, and random sequences.
//
// Rows and slots are numbered from 0 here: row 0 is the elite (the best row after ranking),
// slot 0 the first move of a sequence.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "cube/moves.hpp"
#include "eval/evaluation.hpp"
#include "genetic/random_source.hpp"
#include "genetic/search_params.hpp"

namespace cubega {

// One individual: L move codes 0..17, every slot a valid move. How many leading moves count
// as its solution is decided by the evaluation, never stored here.
using MoveSequence = std::vector<MoveCode>;

// N rows of L move codes, row-major.
class Population {
  public:
    Population() = default;
    Population(std::int32_t rows, std::int32_t slots)
        : rows_(rows), slots_(slots), codes_(static_cast<std::size_t>(rows * slots), 0) {}

    std::int32_t rows() const { return rows_; }
    std::int32_t slots() const { return slots_; }

    std::span<MoveCode> row(std::int32_t i) {
        return {codes_.data() + static_cast<std::ptrdiff_t>(i) * slots_,
                static_cast<std::size_t>(slots_)};
    }
    std::span<const MoveCode> row(std::int32_t i) const {
        return {codes_.data() + static_cast<std::ptrdiff_t>(i) * slots_,
                static_cast<std::size_t>(slots_)};
    }
    std::span<MoveCode> codes() { return codes_; }
    std::span<const MoveCode> codes() const { return codes_; }

    friend bool operator==(const Population&, const Population&) = default;

  private:
    std::int32_t rows_ = 0;
    std::int32_t slots_ = 0;
    std::vector<MoveCode> codes_;
};

// The evaluation of each population row, objective and move count.
using ScoreTable = std::vector<Evaluation>;

// Fills a row slot by slot with fill-form random moves, continuing the current stream: the
// row's states are drawn together and turned into moves without floating point.
inline void randomSequence(std::span<MoveCode> row, RandomSource& random) {
    constexpr std::size_t kChunk = 64;
    std::array<std::int32_t, kChunk> states;
    for (std::size_t done = 0; done < row.size(); done += kChunk) {
        const std::size_t count = std::min(kChunk, row.size() - done);
        random.takeStates(states.data(), count);
        for (std::size_t i = 0; i < count; ++i) {
            row[done + i] = kFillMoves(states[i]);
        }
    }
}

// Fills every row, first to last.
inline void fillRandomly(Population& population, RandomSource& random) {
    for (std::int32_t i = 0; i < population.rows(); ++i) {
        randomSequence(population.row(i), random);
    }
}

}  // namespace cubega
