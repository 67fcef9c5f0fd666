// Plain loops compiled for the widest vector unit the processor has. The program is built
// for the base instruction set, so the compiler vectorizes a plain loop with 16-byte
// registers only; a loop run through withWidestVectors is compiled once more inside
// functions built for AVX2 and for AVX-512 and the processor's best one is taken. The loop
// is the same source in every form, so every form gives exactly the same results.
#pragma once

#include "platform/cpu_features.hpp"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define CUBEGA_WIDE_LOOPS 1
#endif

namespace cubega {

namespace wide_loops {

#ifdef CUBEGA_WIDE_LOOPS
// flatten: the loop's body is compiled inside these functions, with their instruction sets.
template <class Loop>
__attribute__((target("avx512f"), flatten)) void runAvx512(Loop& loop) {
    loop();
}

template <class Loop>
__attribute__((target("avx2"), flatten)) void runAvx2(Loop& loop) {
    loop();
}
#endif

}  // namespace wide_loops

// True when withWidestVectors runs loops in 32-byte registers or wider: a loop that beats a
// branchy one only eight lanes or more at a time asks this first.
inline bool widestVectorsAreWide() {
#ifdef CUBEGA_WIDE_LOOPS
    return cpuFeatures().avx512f || cpuFeatures().avx2;
#else
    return false;
#endif
}

// Runs loop() once, compiled for the processor's widest vector unit.
template <class Loop>
void withWidestVectors(Loop&& loop) {
#ifdef CUBEGA_WIDE_LOOPS
    if (cpuFeatures().avx512f) {
        wide_loops::runAvx512(loop);
        return;
    }
    if (cpuFeatures().avx2) {
        wide_loops::runAvx2(loop);
        return;
    }
#endif
    loop();
}

}  // namespace cubega
