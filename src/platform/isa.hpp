// Which vector instruction sets the compiler can build for, asked in this one place:
// CUBEGA_X86 on x86-64 with GCC or clang (the AVX2 and AVX-512 back ends, chosen at run time),
// CUBEGA_NEON on AArch64 (the NEON back end, which every such processor runs), CUBEGA_WASM_SIMD
// for WebAssembly built with its SIMD instructions (-msimd128; a module built so runs only
// where they are).
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define CUBEGA_X86 1
#elif defined(__aarch64__) && defined(__ARM_NEON)
#define CUBEGA_NEON 1
#elif defined(__wasm_simd128__)
#define CUBEGA_WASM_SIMD 1
#endif
