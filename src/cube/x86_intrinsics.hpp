// <immintrin.h> for the AVX-512 paths, which are built with function target attributes and
// chosen at run time, so the rest of the program stays portable.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// GCC 12's intrinsics start some results from an "undefined" vector and then warn about it;
// the warning is about the header, not about our code.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#include <immintrin.h>
#define CUBEGA_X86_INTRINSICS 1

namespace cubega {

// Whether this processor runs AVX-512F, asked once.
inline bool processorHasAvx512F() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0;
    }();
    return has;
}

}  // namespace cubega
#endif
