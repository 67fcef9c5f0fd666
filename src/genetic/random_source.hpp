// The process-wide random source of the search: the minimal-standard generator (multiplier
// 48271, modulus 2^31 - 1) in Schrage's form, seeded from the clocks, and every way the search
// turns a draw into an integer.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
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

// The value of a state from the first states of each value (first[0] = 0), for `values`
// below 10 000, where the estimate is off by at most one.
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
            first_[v] =
                static_cast<std::int32_t>(firstStateGiving(formula, static_cast<std::int64_t>(v)));
        }
    }

    // For states 1..2^31 - 2, as the stream gives them.
    constexpr std::int32_t operator()(std::int32_t state) const {
        return valueOfState(state, Values, first_.data());
    }

  private:
    std::array<std::int32_t, Values + 1> first_{};
};

// The real a state gives: the state times 2^-31, rounded to single precision.
constexpr float realOfState(std::int32_t state) {
    return static_cast<float>(static_cast<double>(state) * 0x1p-31);
}

// The reset form of a random move as written: INT(r * 17.9982).
constexpr MoveCode resetMoveOfState(std::int32_t state) {
    return static_cast<MoveCode>(static_cast<double>(realOfState(state)) *
                                 static_cast<double>(kResetScale));
}

// The fill form as written: INT(r * 0.9999 * 18).
constexpr MoveCode fillMoveOfState(std::int32_t state) {
    return static_cast<MoveCode>(static_cast<double>(realOfState(state)) *
                                 static_cast<double>(kDrawScale) * 18.0);
}

// A row offset as written: INT(n * 0.9999 * r).
constexpr std::int32_t rowOffsetOfState(std::int32_t n, std::int32_t state) {
    return static_cast<std::int32_t>(n * static_cast<double>(kDrawScale) *
                                     static_cast<double>(realOfState(state)));
}

inline constexpr IntegerDraw<kMoveCount> kResetMoves{resetMoveOfState};
inline constexpr IntegerDraw<kMoveCount> kFillMoves{fillMoveOfState};

class RandomSource {
  public:
    explicit RandomSource(Clock& clock) : clock_(&clock) {}

    // Sets the state from the clocks. When the clock sum is the one used at the previous
    // seeding the stream simply continues: restarting it would repeat the same draws for
    // every operator called within one millisecond.
    void seedFromClock() {
        dropDueSeed();
        seedFromReading(clock_->read());
    }

    // The same seeding, with the clocks read when the next draw is made (or the state is
    // asked for) instead of now. An operator that draws nothing then reads no clock, and one
    // that draws reads them once, just before its first draw: with no draw in between, the
    // stream is exactly the one a reading at the call would give for any clock that does not
    // run backwards (a frozen one included). Free on the draws' path: a due seed sends the
    // next draw to the refill, which a draw checks for anyway.
    void seedFromClockAtNextDraw() {
        if (!seedDue_) {
            seedDue_ = true;
            heldNext_ = next_;
            next_ = kBatch;
        }
    }

    // Next uniform real 0 < r <= 1: the new state times 2^-31, rounded to single precision.
    float randomReal() { return realOf(nextDraw()); }

    // The real a state gives.
    static constexpr float realOf(std::int32_t state) { return realOfState(state); }

    // Advances the stream by one draw and returns the new state.
    std::int32_t nextDraw() {
        if (next_ == kBatch) {
            refill();
        }
        state_ = upcoming_[next_++];
        return state_;
    }

    // Writes the next `count` states to `out`, exactly as `count` calls of nextDraw() would.
    void takeStates(std::int32_t* out, std::size_t count) {
        while (count > 0) {
            if (next_ == kBatch) {
                refill();
            }
            const std::size_t taken = std::min(count, kBatch - next_);
            std::copy_n(upcoming_.data() + next_, taken, out);
            next_ += taken;
            out += taken;
            count -= taken;
            state_ = upcoming_[next_ - 1];
        }
    }

    // Random move, fill form INT(r * 0.9999 * 18): initial population and immigrants.
    MoveCode fillMove() { return kFillMoves(nextDraw()); }

    // Random move, reset form INT(r * 17.9982): mutation, simplification, random scrambles.
    MoveCode resetMove() { return kResetMoves(nextDraw()); }

    // Row offset INT(n * 0.9999 * r), 0..n-1.
    std::int32_t rowOffset(std::int32_t n) { return rowOffsetOfState(n, nextDraw()); }

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
        // The first state whose real is not below p, or 2^31 if none.
        return firstStateGiving([p](std::int32_t state) { return realOf(state) >= p ? 1 : 0; }, 1);
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
            const std::size_t k = std::min(end, nextStateBelow(bound));
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

    std::int32_t state() {
        settleDueSeed();
        return state_;
    }
    void setState(std::int32_t state) {
        seedDue_ = false;
        state_ = state;
        next_ = kBatch;
    }

  private:
    // The next kBatch states are worked out together (see random_stream.hpp); a reseed
    // simply drops the ones not drawn.
    static constexpr std::size_t kBatch = 128;

    // Where from next_ on the batch holds the first state below the bound (kBatch if
    // nowhere). The batch's comparisons with one bound are made once, as bit masks, so that
    // a run of draws above it costs one bit scan.
    std::size_t nextStateBelow(std::int64_t bound) {
        if (!belowMasksValid_ || belowMaskBound_ != bound) {
            for (std::size_t word = 0; word < kMaskWords; ++word) {
                belowMasks_[word] = statesBelowMask(upcoming_.data() + word * kMaskLanes, bound);
            }
            belowMaskBound_ = bound;
            belowMasksValid_ = true;
        }
        for (std::size_t word = next_ / kMaskLanes; word < kMaskWords; ++word) {
            std::uint64_t below = belowMasks_[word];
            if (word == next_ / kMaskLanes) {
                below &= ~std::uint64_t{0} << (next_ % kMaskLanes);
            }
            if (below != 0) {
                return word * kMaskLanes + static_cast<std::size_t>(std::countr_zero(below));
            }
        }
        return kBatch;
    }

    void seedFromReading(const ClockReading& reading) {
        const std::uint32_t sum = reading.millisecondsSinceStart + reading.calendarSeconds;
        if (lastSeedSum_ == sum) {
            return;
        }
        lastSeedSum_ = sum;
        setState(seedStateFromSum(sum));
    }

    void dropDueSeed() {
        if (seedDue_) {
            seedDue_ = false;
            next_ = heldNext_;
        }
    }

    void settleDueSeed() {
        if (seedDue_) {
            dropDueSeed();
            seedFromReading(clock_->read());
        }
    }

    // Makes the next state ready to draw: after a due seed that continues the stream, the
    // batch may still hold it.
    void refill() {
        settleDueSeed();
        if (next_ < kBatch) {
            return;
        }
        const std::int32_t first = nextState(state_);  // handles 0, negatives and 2^31 - 1
        if (first == kModulus) {
            upcoming_.fill(kModulus);  // the fixed point: seeding never leaves the state here
        } else {
            fillStateStream(first, upcoming_.data(), kBatch);
        }
        next_ = 0;
        belowMasksValid_ = false;
    }

    Clock* clock_;
    std::int32_t state_ = 1;
    std::optional<std::uint32_t> lastSeedSum_;
    std::size_t next_ = kBatch;
    bool seedDue_ = false;
    std::size_t heldNext_ = kBatch;  // next_ while a seed is due
    static constexpr std::size_t kMaskWords = kBatch / kMaskLanes;
    std::array<std::uint64_t, kMaskWords> belowMasks_{};  // of upcoming_, for belowMaskBound_
    std::int64_t belowMaskBound_ = 0;
    bool belowMasksValid_ = false;
    std::array<std::int32_t, kBatch> upcoming_{};
};

}  // namespace cubega
