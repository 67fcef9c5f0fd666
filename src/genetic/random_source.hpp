// The process-wide random source of the search: the minimal-standard generator (multiplier
// 48271, modulus 2^31 - 1) in Schrage's form, seeded from the clocks, and every way the search
// turns a draw into an integer.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "cube/moves.hpp"
#include "genetic/clock.hpp"
#include "genetic/lane_scans.hpp"
#include "genetic/random_stream.hpp"

namespace cubega {

inline constexpr std::int32_t kModulus = kStreamModulus;  // 2^31 - 1

// Single-precision constants of the integer draws.
inline constexpr float kDrawScale = 0.9999F;    // 0.99989998340606689453125
inline constexpr float kResetScale = 17.9982F;  // 17.998199462890625

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
        setState(seedStateFromSum(sum));
    }

    // Next uniform real 0 < r <= 1: the new state times 2^-31, rounded to single precision.
    float randomReal() { return realOf(nextDraw()); }

    // The real a state gives.
    static float realOf(std::int32_t state) {
        return static_cast<float>(static_cast<double>(state) * 0x1p-31);
    }

    // Advances the stream by one draw and returns the new state.
    std::int32_t nextDraw() {
        if (next_ == kBatch) {
            refill();
        }
        state_ = upcoming_[next_++];
        return state_;
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

    // The same test on the state: r < p exactly when the new state is below this bound, since
    // the real grows with the state. Spares a conversion per draw in hot loops.
    static std::int64_t chanceBound(float p) {
        std::int64_t low = 1;  // the first state whose real is not below p, or 2^31 if none
        std::int64_t high = std::int64_t{kModulus} + 1;
        while (low < high) {
            const std::int64_t mid = low + (high - low) / 2;
            if (realOf(static_cast<std::int32_t>(mid)) >= p) {
                high = mid;
            } else {
                low = mid + 1;
            }
        }
        return low;
    }

    // Consumes draws, at most `limit` of them, as long as each state is at least `bound`; stops
    // before the first state below it. Returns how many draws were consumed. The same as
    // calling nextDraw() in a loop, without the per-draw bookkeeping.
    std::size_t skipDrawsNotBelow(std::int64_t bound, std::size_t limit) {
        std::size_t consumed = 0;
        while (consumed < limit) {
            if (next_ == kBatch) {
                refill();
            }
            const std::size_t end = std::min(kBatch, next_ + (limit - consumed));
            const std::size_t k =
                next_ + firstStateBelow(upcoming_.data() + next_, end - next_, bound);
            if (k > next_) {
                consumed += k - next_;
                state_ = upcoming_[k - 1];
                next_ = k;
            }
            if (k < end) {
                break;  // the next state is below the bound
            }
        }
        return consumed;
    }

    std::int32_t state() const { return state_; }
    void setState(std::int32_t state) {
        state_ = state;
        next_ = kBatch;
    }

  private:
    // The next kBatch states are worked out together (see random_stream.hpp); a reseed
    // simply drops the ones not drawn.
    static constexpr std::size_t kBatch = 128;

    void refill() {
        const std::int32_t first = nextState(state_);  // handles 0, negatives and 2^31 - 1
        if (first == kModulus) {
            upcoming_.fill(kModulus);  // the fixed point: seeding never leaves the state here
        } else {
            fillStateStream(first, upcoming_.data(), kBatch);
        }
        next_ = 0;
    }

    Clock* clock_;
    std::int32_t state_ = 1;
    std::optional<std::uint32_t> lastSeedSum_;
    std::size_t next_ = kBatch;
    std::array<std::int32_t, kBatch> upcoming_{};
};

}  // namespace cubega
