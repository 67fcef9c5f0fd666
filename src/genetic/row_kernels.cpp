// The row kernels compiled for every back end, and their plain references.
#include "genetic/row_kernels.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

#include "genetic/random_stream.hpp"
#include "platform/back_ends.hpp"

namespace cubega {

namespace {

#define CUBEGA_KERNELS_FILE "genetic/row_kernels.inl"
#define CUBEGA_KERNELS_TYPE RowKernels
#include "platform/back_end_list.inl"
#undef CUBEGA_KERNELS_FILE
#undef CUBEGA_KERNELS_TYPE

}  // namespace

const RowKernels& rowKernelsOf(BackEnd backEnd) {
    return kernelsFor(backEnd);
}

const RowKernels& rowKernels() {
    return rowKernelsOf(activeBackEnd());
}

std::uint64_t statesBelowMask(const std::int32_t* states, std::int64_t bound) {
    // A bound outside the states' range answers alone; otherwise it fits 32 bits.
    if (bound > std::numeric_limits<std::int32_t>::max()) {
        return ~std::uint64_t{0};
    }
    if (bound <= std::numeric_limits<std::int32_t>::min()) {
        return 0;
    }
    return rowKernels().statesBelowMask(states, static_cast<std::int32_t>(bound));
}

std::size_t firstSameFacePairReference(const MoveCode* codes, std::size_t count) {
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (faceOf(codes[i]) == faceOf(codes[i + 1])) {
            return i;
        }
    }
    return count;
}

void sameFacePairBitsReference(const MoveCode* codes, std::size_t count, std::uint64_t* bits) {
    std::fill_n(bits, (count + 63) / 64, std::uint64_t{0});
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const bool pair = faceOf(codes[i]) == faceOf(codes[i + 1]);
        bits[i / 64] |= std::uint64_t{pair ? 1U : 0U} << (i % 64);
    }
}

void writeCrossedRowsReference(const MoveCode* first, const MoveCode* second, std::size_t count,
                               std::size_t cut, MoveCode* child1, MoveCode* child2) {
    for (std::size_t j = 0; j < count; ++j) {
        child1[j] = j < cut ? first[j] : second[j];
        child2[j] = j < cut ? second[j] : first[j];
    }
}

std::uint64_t statesBelowMaskReference(const std::int32_t* states, std::int64_t bound) {
    std::uint64_t mask = 0;
    for (std::size_t k = 0; k < kMaskLanes; ++k) {
        mask |= static_cast<std::uint64_t>(states[k] < bound ? 1 : 0) << k;
    }
    return mask;
}

}  // namespace cubega
