// <immintrin.h> for the x86 back ends, whose functions carry target attributes and are chosen
// at run time, so the rest of the program stays built for the base instruction set.
#pragma once

#include "platform/isa.hpp"

#ifdef CUBEGA_X86
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
#endif
