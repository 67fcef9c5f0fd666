// Folded rows merge so often that a branch per move mispredicts: the moves of many rows are
// read onto their stacks together, a row in each vector lane, with no branch (the row
// kernels' settleTwoFaceRows). No draw is made while reading; the refills, drawn on any face,
// are settled row by row afterwards, in row order, as simplifyRows does.
#include "genetic/two_face_simplification.hpp"

#include <algorithm>

#include "genetic/move_stack.hpp"
#include "genetic/row_kernels.hpp"
#include "genetic/simplification.hpp"
#include "genetic/two_face_stacks.hpp"

namespace cubega {

namespace {

// Up to twoFaceRowsAtOnce(slots) rows of `slots` codes from `codes` on.
void simplifyTwoFaceGroup(const RowKernels& kernels, MoveCode* codes, std::size_t slots,
                          std::size_t rows, RandomSource& random) {
    TwoFaceStacks stacks;
    kernels.settleTwoFaceRows(codes, slots, rows, stacks);
    for (std::size_t row = 0; row < rows; ++row) {
        random.seedFromClockAtNextDraw();
        RowStack stack{stacks.depth[row], stacks.freed[row]};
        settleRefills(codes + row * slots, stack, random);
    }
}

}  // namespace

void simplifyTwoFaceRows(Population& population, RandomSource& random) {
    const RowKernels& kernels = rowKernels();
    const auto slots = static_cast<std::size_t>(population.slots());
    // Four lanes at a time (SSE2, NEON) measured slower than the row-by-row form.
    if (slots == 0 || slots > kTwoFaceSlots || !kernels.settlesTwoFaceRowsInLanes) {
        simplifyRows(population, random);
        return;
    }
    const auto rows = static_cast<std::size_t>(population.rows());
    const std::size_t atOnce = twoFaceRowsAtOnce(slots);
    for (std::size_t first = 0; first < rows; first += atOnce) {
        simplifyTwoFaceGroup(kernels, population.codes().data() + first * slots, slots,
                             std::min(atOnce, rows - first), random);
    }
}

}  // namespace cubega
