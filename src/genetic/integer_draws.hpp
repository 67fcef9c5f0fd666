// The random generator's step and every way the search turns a draw into a number: a state
// 1..2^31 - 2 gives the real state * 2^-31 in single precision, and the integer draws truncate
// products of that real. Each integer draw is also worked out without floating point, from
// the first state of each value, with exactly the same answers.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "cube/moves.hpp"
#include "genetic/random_stream.hpp"

namespace cubega {

inline constexpr std::int32_t kModulus = kStreamModulus;  // 2^31 - 1

// Single-precision constants of the integer draws.
inline constexpr float kDrawScale = 0.9999F;    // 0.99989998340606689453125
inline constexpr float kResetScale = 17.9982F;  // 17.998199462890625

// One step of the generator: 48271 * s mod (2^31 - 1) in Schrage's form, with 0 taken as -1.
constexpr std::int32_t nextState(std::int32_t state) {
    const std::int32_t s = state == 0 ? -1 : state;
    std::int32_t t = 48271 * (s % 44488) - 3399 * (s / 44488);
    if (t <= 0) {
        t += kModulus;
    }
    return t;
}

// The two 16-bit halves of a clock sum swapped; a multiple of 2^31 - 1 (a fixed point of the
// step, or 0) becomes 1.
constexpr std::int32_t seedStateFromSum(std::uint32_t sum) {
    const std::uint32_t swapped = (sum << 16) | (sum >> 16);
    const auto state = static_cast<std::int32_t>(swapped);
    return state % kModulus == 0 ? 1 : state;
}

// The real a state gives: the state times 2^-31, rounded to single precision.
constexpr float realOfState(std::int32_t state) {
    return static_cast<float>(static_cast<double>(state) * 0x1p-31);
}

// A random move of mutation, simplification and random scrambles (the reset form): the real
// times 17.9982, truncated.
constexpr MoveCode resetMoveOfState(std::int32_t state) {
    return static_cast<MoveCode>(static_cast<double>(realOfState(state)) *
                                 static_cast<double>(kResetScale));
}

// A random move of a new population and of immigrants (the fill form): the real times 0.9999
// times 18, truncated.
constexpr MoveCode fillMoveOfState(std::int32_t state) {
    return static_cast<MoveCode>(static_cast<double>(realOfState(state)) *
                                 static_cast<double>(kDrawScale) * 18.0);
}

// A row offset 0..n-1: n times 0.9999 times the real, truncated.
constexpr std::int32_t rowOffsetOfState(std::int32_t n, std::int32_t state) {
    return static_cast<std::int32_t>(n * static_cast<double>(kDrawScale) *
                                     static_cast<double>(realOfState(state)));
}

// A draw's integer form without floating point: the formulas never fall as the state grows,
// so a state gives v exactly when it lies between the first states giving v and v + 1; and
// since each formula scales the real by a factor just below `values`, state * values / 2^31
// is the value or one more, which one comparison settles.
//
// The first state 1..2^31 - 1 whose value is at least v under a formula that never falls as
// the state grows; 2^31 when there is none.
template <class Formula>
constexpr std::int64_t firstStateGiving(Formula formula, std::int64_t v) {
    std::int64_t low = 1;
    std::int64_t high = std::int64_t{kStreamModulus} + 1;
    while (low < high) {
        const std::int64_t mid = low + (high - low) / 2;
        if (formula(static_cast<std::int32_t>(mid)) >= v) {
            high = mid;
        } else {
            low = mid + 1;
        }
    }
    return low;
}

// firstStateGiving's answer as a table holds it: a value no state gives keeps the largest
// 32-bit number, which no state reaches (states are 1..2^31 - 2), so that the comparison in
// valueOfState says "not reached". (Cut to 32 bits, 2^31 would wrap to the smallest number and
// say "reached" instead.)
constexpr std::int32_t firstStateEntry(std::int64_t first) {
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(first, std::numeric_limits<std::int32_t>::max()));
}

// The value of a state from the first states of each value (first[0] = 0, entries as
// firstStateEntry makes them), for `values` below 10 000, where the estimate is off by at
// most one.
constexpr std::int32_t valueOfState(std::int32_t state, std::uint64_t values,
                                    const std::int32_t* first) {
    const auto estimate = static_cast<std::size_t>((std::uint64_t(state) * values) >> 31);
    return static_cast<std::int32_t>(estimate) - (state < first[estimate] ? 1 : 0);
}

template <std::size_t Values>
class IntegerDraw {
  public:
    template <class Formula>
    explicit constexpr IntegerDraw(Formula formula) {
        for (std::size_t v = 1; v <= Values; ++v) {
            first_[v] = firstStateEntry(firstStateGiving(formula, static_cast<std::int64_t>(v)));
        }
    }

    // For states 1..2^31 - 2, as the stream gives them.
    constexpr std::int32_t operator()(std::int32_t state) const {
        return valueOfState(state, Values, first_.data());
    }

  private:
    std::array<std::int32_t, Values + 1> first_{};
};

inline constexpr IntegerDraw<kMoveCount> kResetMoves{resetMoveOfState};
inline constexpr IntegerDraw<kMoveCount> kFillMoves{fillMoveOfState};

}  // namespace cubega
