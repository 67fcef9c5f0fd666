// The process-wide random source of the search: the minimal-standard generator (multiplier
// 48271, modulus 2^31 - 1), seeded from the clocks, its states worked out a batch at a time.
// The draws themselves (integer_draws.hpp) are inline here, since the operators make them in
// their inner loops.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "cube/moves.hpp"
#include "genetic/clock.hpp"
#include "genetic/integer_draws.hpp"

namespace cubega {

class RandomSource {
  public:
    explicit RandomSource(Clock& clock) : clock_(&clock) {}

    // Sets the state from the clocks. When the clock sum is the one used at the previous
    // seeding the stream simply continues: restarting it would repeat the same draws for
    // every operator called within one millisecond.
    void seedFromClock();

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

    // Advances the stream by one draw and returns the new state.
    std::int32_t nextDraw() {
        if (next_ == kBatch) {
            refill();
        }
        state_ = upcoming_[next_++];
        return state_;
    }

    // Next uniform real 0 < r <= 1: the new state times 2^-31, rounded to single precision.
    float randomReal() { return realOf(nextDraw()); }

    // The real a state gives.
    static constexpr float realOf(std::int32_t state) { return realOfState(state); }

    // Writes the next `count` states to `out`, exactly as `count` calls of nextDraw() would.
    void takeStates(std::int32_t* out, std::size_t count);

    // A random move in the fill form: the initial population and immigrants.
    MoveCode fillMove() { return kFillMoves(nextDraw()); }

    // A random move in the reset form: mutation, simplification, random scrambles.
    MoveCode resetMove() { return kResetMoves(nextDraw()); }

    // A row offset 0..n-1.
    std::int32_t rowOffset(std::int32_t n) { return rowOffsetOfState(n, nextDraw()); }

    // A cut point 1..length-1: (length - 1) times 0.9999 times the real, plus one, truncated.
    std::int32_t cutPoint(std::int32_t length) {
        const double r = randomReal();
        return static_cast<std::int32_t>((length - 1) * static_cast<double>(kDrawScale) * r + 1.0);
    }

    // True with chance p: one draw r, the event happens when r < p.
    bool chance(float p) { return randomReal() < p; }

    // The same test on the state: r < p exactly when the new state is below this bound, since
    // the real grows with the state. Spares a conversion per draw in hot loops.
    static std::int64_t chanceBound(float p);

    // Consumes draws, at most `limit` of them, as long as each state is at least `bound`; stops
    // before the first state below it. Returns how many draws were consumed. The same as
    // calling nextDraw() in a loop, without the per-draw bookkeeping.
    std::size_t skipDrawsNotBelow(std::int64_t bound, std::size_t limit);

    std::int32_t state();
    void setState(std::int32_t state);

  private:
    // The next kBatch states are worked out together (by the row kernels); a reseed simply
    // drops the ones not drawn.
    static constexpr std::size_t kBatch = 128;
    static constexpr std::size_t kMaskWords = kBatch / 64;

    std::size_t nextStateBelow(std::int64_t bound);
    void seedFromReading(const ClockReading& reading);
    void dropDueSeed();
    void settleDueSeed();
    void refill();

    Clock* clock_;
    std::int32_t state_ = 1;
    std::optional<std::uint32_t> lastSeedSum_;
    std::size_t next_ = kBatch;
    bool seedDue_ = false;
    std::size_t heldNext_ = kBatch;                       // next_ while a seed is due
    std::array<std::uint64_t, kMaskWords> belowMasks_{};  // of upcoming_, for belowMaskBound_
    std::int64_t belowMaskBound_ = 0;
    bool belowMasksValid_ = false;
    std::array<std::int32_t, kBatch> upcoming_{};
};

}  // namespace cubega
