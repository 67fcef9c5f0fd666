#include "platform/back_end.hpp"

#include <atomic>

#include "platform/isa.hpp"

namespace cubega {

namespace {

// What the processor runs, probed once: each flag covers every instruction its back end is
// built with (see the target attributes in back_ends/).
struct ProcessorFeatures {
    bool avx2 = false;
    bool avx512 = false;
    bool neon = false;
    bool wasmSimd = false;
};

ProcessorFeatures probe() {
    ProcessorFeatures features;
#if defined(CUBEGA_X86)
    __builtin_cpu_init();
    const bool scalar = __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("bmi");
    features.avx2 = scalar && __builtin_cpu_supports("avx2");
    features.avx512 = scalar && __builtin_cpu_supports("avx512f") &&
                      __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
                      __builtin_cpu_supports("avx512vbmi");
#elif defined(CUBEGA_NEON)
    features.neon = true;
#elif defined(CUBEGA_WASM_SIMD)
    features.wasmSimd = true;  // the module would not have loaded without it
#endif
    return features;
}

const ProcessorFeatures& processorFeatures() {
    static const ProcessorFeatures features = probe();
    return features;
}

std::atomic<BackEnd>& chosenBackEnd() {
    static std::atomic<BackEnd> chosen{bestBackEnd()};
    return chosen;
}

}  // namespace

std::string_view backEndName(BackEnd backEnd) {
    switch (backEnd) {
        case BackEnd::portable:
            return "portable";
        case BackEnd::avx2:
            return "avx2";
        case BackEnd::avx512:
            return "avx512";
        case BackEnd::neon:
            return "neon";
        case BackEnd::wasmSimd:
            return "wasm-simd";
    }
    return "unknown";
}

bool backEndAvailable(BackEnd backEnd) {
    const ProcessorFeatures& features = processorFeatures();
    switch (backEnd) {
        case BackEnd::portable:
            return true;
        case BackEnd::avx2:
            return features.avx2;
        case BackEnd::avx512:
            return features.avx512;
        case BackEnd::neon:
            return features.neon;
        case BackEnd::wasmSimd:
            return features.wasmSimd;
    }
    return false;
}

BackEnd bestBackEnd() {
    for (const BackEnd backEnd :
         {BackEnd::avx512, BackEnd::avx2, BackEnd::neon, BackEnd::wasmSimd}) {
        if (backEndAvailable(backEnd)) {
            return backEnd;
        }
    }
    return BackEnd::portable;
}

BackEnd activeBackEnd() {
    return chosenBackEnd().load(std::memory_order_relaxed);
}

void useBackEnd(BackEnd backEnd) {
    chosenBackEnd().store(backEndAvailable(backEnd) ? backEnd : BackEnd::portable,
                          std::memory_order_relaxed);
}

}  // namespace cubega
