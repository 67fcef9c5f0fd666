// The operations of every back end this compiler builds, for a file that compiles kernels with
// back_end_list.inl.
#pragma once

#include "platform/back_end.hpp"
#include "platform/back_ends/avx2.hpp"
#include "platform/back_ends/avx512.hpp"
#include "platform/back_ends/neon.hpp"
#include "platform/back_ends/portable.hpp"
#include "platform/back_ends/wasm_simd.hpp"
