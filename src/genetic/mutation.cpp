#include "genetic/mutation.hpp"

namespace cubega {

void mutateInPlace(Population& population, float mutationRate, RandomSource& random) {
    random.seedFromClockAtNextDraw();
    if (population.rows() < 2) {
        return;  // row 0, the elite, is never touched
    }
    const std::int64_t bound = RandomSource::chanceBound(mutationRate);  // r < pm
    const std::span<MoveCode> slots =
        population.codes().subspan(static_cast<std::size_t>(population.slots()));
    // One draw per slot; most do not fire, and those are skipped a run at a time.
    for (std::size_t i = 0; i < slots.size(); ++i) {
        i += random.skipDrawsNotBelow(bound, slots.size() - i);
        if (i == slots.size()) {
            break;
        }
        random.nextDraw();  // the draw that fires
        slots[i] = random.resetMove();
    }
}

}  // namespace cubega
