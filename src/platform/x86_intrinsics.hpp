// <immintrin.h> for the x86 vector paths (AVX-512 and AVX2), which are built with function
// target attributes and chosen at run time, so the rest of the program stays portable.
// CUBEGA_X86_INTRINSICS is defined when they are available to the compiler.
#pragma once

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// GCC 12's intrinsics start some results from an "undefined" vector and then warn about it;
// the warning is about the header, not about our code, so it is silenced for the header only.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#define CUBEGA_X86_INTRINSICS 1
#endif
