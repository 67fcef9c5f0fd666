// The evaluation compiled for every back end.
#include "eval/back_ends.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <span>

#include "eval/gather_tables.hpp"
#include "platform/back_ends.hpp"

namespace cubega {

namespace {

// Back ends with a byte gather play the cube as 64 byte lanes.
template <class B>
concept GathersBytes = requires {
    typename B::Lanes;
};

#define CUBEGA_KERNELS_FILE "eval/eval_kernels.inl"
#define CUBEGA_KERNELS_TYPE EvalKernels
#include "platform/back_end_list.inl"
#undef CUBEGA_KERNELS_FILE
#undef CUBEGA_KERNELS_TYPE

}  // namespace

const EvalKernels& evalKernelsOf(BackEnd backEnd) {
    return kernelsFor(backEnd);
}

}  // namespace cubega
