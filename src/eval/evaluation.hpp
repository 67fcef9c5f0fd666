// What judging a sequence gives: the evaluation modes and the result of one evaluation.
#pragma once

#include <cstdint>

namespace cubega {

enum EvalMode : std::int32_t {
    kPairMode = 2,         // pairScore, 0..48: the finish
    kBlockMode = 3,        // blockScore, 0..16: the block stage
    kTwoGenEntryMode = 4,  // 10 * inTwoGenGroup + 10 * blockScore, 0..170: the entry stage
};

struct Evaluation {
    std::int32_t objective = 0;  // 10 * best score - move count
    std::int32_t moveCount = 0;  // leading moves that reach the best score first

    friend bool operator==(const Evaluation&, const Evaluation&) = default;
};

// The best score the evaluated walk reached (0 when no prefix scored above 0).
constexpr std::int32_t bestScore(const Evaluation& evaluation) {
    return (evaluation.objective + evaluation.moveCount) / 10;
}

}  // namespace cubega
