// Every back end, in one list: compiles a file of kernels once for each back end that this
// compiler builds, inside namespace <back end> of the includer's namespace, with `Ops` the back
// end's operations (back_ends/) and CUBEGA_TARGET the function attributes its instructions
// need. The kernels file puts CUBEGA_TARGET on every function, so each is compiled for those
// instructions alone, and defines `kKernels`, its entry points for that back end. After the
// list, kernelsFor(backEnd) gives them (the portable ones for a back end this build lacks).
//
// Include platform/back_ends.hpp at file scope, then define CUBEGA_KERNELS_FILE (the kernels
// file's include name) and CUBEGA_KERNELS_TYPE (the type of kKernels) and include this file
// inside the namespace that is to hold the back ends' namespaces. Adding a back end: its operations
// in back_ends/, its block here and its case below, its name in BackEnd and its test in
// backEndAvailable.
//
// No include guard: included once per kernels file.

#if !defined(CUBEGA_KERNELS_FILE) || !defined(CUBEGA_KERNELS_TYPE)
#error "define CUBEGA_KERNELS_FILE and CUBEGA_KERNELS_TYPE before including the back-end list"
#endif

namespace portable {
using Ops = ::cubega::back_ends::PortableOps;
#define CUBEGA_TARGET CUBEGA_PORTABLE_TARGET
#include CUBEGA_KERNELS_FILE
#undef CUBEGA_TARGET
}  // namespace portable

#ifdef CUBEGA_X86
namespace avx2 {
using Ops = ::cubega::back_ends::Avx2Ops;
#define CUBEGA_TARGET CUBEGA_AVX2_TARGET
#include CUBEGA_KERNELS_FILE
#undef CUBEGA_TARGET
}  // namespace avx2

namespace avx512 {
using Ops = ::cubega::back_ends::Avx512Ops;
#define CUBEGA_TARGET CUBEGA_AVX512_TARGET
#include CUBEGA_KERNELS_FILE
#undef CUBEGA_TARGET
}  // namespace avx512
#endif

#ifdef CUBEGA_NEON
namespace neon {
using Ops = ::cubega::back_ends::NeonOps;
#define CUBEGA_TARGET CUBEGA_NEON_TARGET
#include CUBEGA_KERNELS_FILE
#undef CUBEGA_TARGET
}  // namespace neon
#endif

#ifdef CUBEGA_WASM_SIMD
namespace wasm_simd {
using Ops = ::cubega::back_ends::WasmSimdOps;
#define CUBEGA_TARGET CUBEGA_WASM_SIMD_TARGET
#include CUBEGA_KERNELS_FILE
#undef CUBEGA_TARGET
}  // namespace wasm_simd
#endif

inline const CUBEGA_KERNELS_TYPE& kernelsFor(BackEnd backEnd) {
    switch (backEnd) {
#ifdef CUBEGA_X86
        case BackEnd::avx2:
            return avx2::kKernels;
        case BackEnd::avx512:
            return avx512::kKernels;
#endif
#ifdef CUBEGA_NEON
        case BackEnd::neon:
            return neon::kKernels;
#endif
#ifdef CUBEGA_WASM_SIMD
        case BackEnd::wasmSimd:
            return wasm_simd::kKernels;
#endif
        default:
            return portable::kKernels;
    }
}
