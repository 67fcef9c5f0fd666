// Which vector instruction sets this processor runs: asked once, then answered from memory.
// The only place that probes the processor.
#pragma once

namespace cubega {

struct CpuFeatures {
    bool avx2 = false;        // with popcnt
    bool avx512f = false;     // with bmi, for the 16-lane scans and the random stream
    bool avx512vbmi = false;  // with avx512f, bw and vl: the byte permutation of the cube
    bool neon = false;        // AArch64 Advanced SIMD, present on every such processor
};

const CpuFeatures& cpuFeatures();

}  // namespace cubega
