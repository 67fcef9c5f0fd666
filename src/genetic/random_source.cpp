#include "genetic/random_source.hpp"

#include <algorithm>
#include <bit>

#include "genetic/row_kernels.hpp"

namespace cubega {

void RandomSource::seedFromClock() {
    dropDueSeed();
    seedFromReading(clock_->read());
}

void RandomSource::takeStates(std::int32_t* out, std::size_t count) {
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

std::int64_t RandomSource::chanceBound(float p) {
    // The first state whose real is not below p, or 2^31 if none.
    return firstStateGiving([p](std::int32_t state) { return realOf(state) >= p ? 1 : 0; }, 1);
}

std::size_t RandomSource::skipDrawsNotBelow(std::int64_t bound, std::size_t limit) {
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

std::int32_t RandomSource::state() {
    settleDueSeed();
    return state_;
}

void RandomSource::setState(std::int32_t state) {
    seedDue_ = false;
    state_ = state;
    next_ = kBatch;
}

// Where from next_ on the batch holds the first state below the bound (kBatch if nowhere).
// The batch's comparisons with one bound are made once, as bit masks, so that a run of draws
// above it costs one bit scan.
std::size_t RandomSource::nextStateBelow(std::int64_t bound) {
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

void RandomSource::seedFromReading(const ClockReading& reading) {
    const std::uint32_t sum = reading.millisecondsSinceStart + reading.calendarSeconds;
    if (lastSeedSum_ == sum) {
        return;
    }
    lastSeedSum_ = sum;
    setState(seedStateFromSum(sum));
}

void RandomSource::dropDueSeed() {
    if (seedDue_) {
        seedDue_ = false;
        next_ = heldNext_;
    }
}

void RandomSource::settleDueSeed() {
    if (seedDue_) {
        dropDueSeed();
        seedFromReading(clock_->read());
    }
}

// Makes the next state ready to draw: after a due seed that continues the stream, the batch
// may still hold it.
void RandomSource::refill() {
    settleDueSeed();
    if (next_ < kBatch) {
        return;
    }
    const std::int32_t first = nextState(state_);  // handles 0, negatives and 2^31 - 1
    if (first == kModulus) {
        upcoming_.fill(kModulus);  // the fixed point: seeding never leaves the state here
    } else {
        rowKernels().fillStateStream(first, upcoming_.data(), kBatch);
    }
    next_ = 0;
    belowMasksValid_ = false;
}

}  // namespace cubega
