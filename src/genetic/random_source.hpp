// The process-wide random source of the search: the minimal-standard generator (multiplier
// 48271, modulus 2^31 - 1) in Schrage's form, seeded from the clocks, and every way the search
// turns a draw into an integer.
#pragma once

#include <cstdint>
#include <optional>

#include "cube/moves.hpp"
#include "genetic/clock.hpp"

namespace cubega {

inline constexpr std::int32_t kModulus = 2147483647;  // 2^31 - 1

// Single-precision constants of the integer draws.
inline constexpr float kDrawScale = 0.9999F;       // 0.99989998340606689453125
inline constexpr float kResetScale = 17.9982F;     // 17.998199462890625

// One step of the generator: 48271 * s mod (2^31 - 1), with 0 taken as -1.
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

class RandomSource {
public:
    explicit RandomSource(Clock& clock) : clock_(&clock) {}

    // Sets the state from the clocks. When the clock sum is the one used at the previous
    // seeding the stream simply continues: restarting it would repeat the same draws for
    // every operator called within one millisecond.
    void seedFromClock() {
        const ClockReading reading = clock_->read();
        const std::uint32_t sum = reading.millisecondsSinceStart + reading.calendarSeconds;
        if (lastSeedSum_ == sum) {
            return;
        }
        lastSeedSum_ = sum;
        state_ = seedStateFromSum(sum);
    }

    // Next uniform real 0 < r <= 1: the new state times 2^-31, rounded to single precision.
    float randomReal() {
        state_ = nextState(state_);
        return static_cast<float>(static_cast<double>(state_) * 0x1p-31);
    }

    // Random move, fill form INT(r * 0.9999 * 18): initial population and immigrants.
    MoveCode fillMove() {
        const double r = randomReal();
        return static_cast<MoveCode>(r * static_cast<double>(kDrawScale) * 18.0);
    }

    // Random move, reset form INT(r * 17.9982): mutation, simplification, random scrambles.
    MoveCode resetMove() {
        const double r = randomReal();
        return static_cast<MoveCode>(r * static_cast<double>(kResetScale));
    }

    // Row offset INT(n * 0.9999 * r), 0..n-1.
    std::int32_t rowOffset(std::int32_t n) {
        const double r = randomReal();
        return static_cast<std::int32_t>(n * static_cast<double>(kDrawScale) * r);
    }

    // Cut point INT((length - 1) * 0.9999 * r + 1), 1..length-1.
    std::int32_t cutPoint(std::int32_t length) {
        const double r = randomReal();
        return static_cast<std::int32_t>((length - 1) * static_cast<double>(kDrawScale) * r + 1.0);
    }

    // True with chance p: one draw r, the event happens when r < p.
    bool chance(float p) { return randomReal() < p; }

    std::int32_t state() const { return state_; }
    void setState(std::int32_t state) { state_ = state; }

private:
    Clock* clock_;
    std::int32_t state_ = 1;
    std::optional<std::uint32_t> lastSeedSum_;
};

}  // namespace cubega
