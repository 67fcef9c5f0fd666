#include "platform/cpu_features.hpp"

namespace cubega {

namespace {

CpuFeatures probe() {
    CpuFeatures features;
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();
    const bool popcnt = __builtin_cpu_supports("popcnt");
    features.avx2 = __builtin_cpu_supports("avx2") && popcnt;
    features.avx512f = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("bmi");
    features.avx512vbmi = features.avx512f && popcnt && __builtin_cpu_supports("avx512bw") &&
                          __builtin_cpu_supports("avx512vl") &&
                          __builtin_cpu_supports("avx512vbmi");
#elif defined(__aarch64__)
    features.neon = true;
#endif
    return features;
}

}  // namespace

const CpuFeatures& cpuFeatures() {
    static const CpuFeatures features = probe();
    return features;
}

}  // namespace cubega
