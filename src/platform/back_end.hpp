// The back ends: one small set of vector operations per instruction set (back_ends/), over
// which every fast kernel of the program is written once (back_end_list.inl compiles a file
// of kernels for each). One back end is active for the whole process: the fastest this
// processor runs, unless a test or a benchmark chooses another.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace cubega {

enum class BackEnd {
    portable,  // plain C++ for the base instruction set; the reference of the others
    avx2,      // x86-64 AVX2: 32-byte vectors, 16-byte table lookups
    avx512,    // x86-64 AVX-512 with VBMI: 64-byte vectors, the 64-byte byte permutation
    neon,      // AArch64 Advanced SIMD: 16-byte vectors, 64-byte table lookups
    wasmSimd,  // WebAssembly SIMD: 16-byte vectors, 16-byte table lookups
};

inline constexpr std::array<BackEnd, 5> kBackEnds{BackEnd::portable, BackEnd::avx2, BackEnd::avx512,
                                                  BackEnd::neon, BackEnd::wasmSimd};
inline constexpr std::size_t kBackEndCount = kBackEnds.size();

// The back end's name, as the benchmarks show it ("portable", "avx2", "avx512", "neon",
// "wasm-simd").
std::string_view backEndName(BackEnd backEnd);

// Built into this program and run by this processor (asked of the processor once).
bool backEndAvailable(BackEnd backEnd);

// The fastest available back end.
BackEnd bestBackEnd();

// The back end every kernel uses: bestBackEnd() unless useBackEnd chose another. Lets a whole
// run be repeated on each back end.
BackEnd activeBackEnd();

// Makes `backEnd` the active one; an unavailable back end makes the portable one active.
void useBackEnd(BackEnd backEnd);

}  // namespace cubega
