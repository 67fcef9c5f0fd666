#include "eval/evaluate.hpp"

#include <algorithm>
#include <optional>

#include "cube/lane_cube.hpp"
#include "eval/back_ends.hpp"
#include "eval/byte_cube_scores.hpp"
#include "eval/scores.hpp"
#include "platform/cpu_features.hpp"
#include "platform/widest_vectors.hpp"

namespace cubega {

namespace {

// Without an early exit, so the compiler checks many codes per instruction: the whole
// population is checked before every evaluation.
bool allCodesGenerated(std::span<const MoveCode> sequence) {
    bool generated = true;
    withWidestVectors([&] {
        std::uint32_t outside = 0;
        for (const MoveCode code : sequence) {
            outside |= static_cast<std::uint32_t>(code) >= static_cast<std::uint32_t>(kMoveCount)
                           ? 1U
                           : 0U;
        }
        generated = outside == 0;
    });
    return generated;
}

}  // namespace

std::int32_t modeScore(const CubeState& cube, EvalMode mode) {
    switch (mode) {
        case kPairMode:
            return pairScore(cube);
        case kBlockMode:
            return blockScore(cube);
        case kTwoGenEntryMode:
            return 10 * (inTwoGenGroup(cube) ? 1 : 0) + 10 * blockScore(cube);
    }
    return 0;
}

Evaluation evaluateSequenceReference(const CubeState& startCube, std::span<const MoveCode> sequence,
                                     EvalMode mode) {
    CubeState cube = startCube;
    std::int32_t best = 0;
    std::int32_t count = 0;
    std::int32_t slot = 0;
    for (const MoveCode code : sequence) {
        ++slot;
        cube = applyMove(cube, code);
        const std::int32_t score = modeScore(cube, mode);
        if (score > best) {
            best = score;
            count = slot;
        }
    }
    return {10 * best - count, count};
}

bool evalPathAvailable(EvalPath path) {
    const CpuFeatures& features = cpuFeatures();
    switch (path) {
        case EvalPath::portable:
            return true;
        case EvalPath::avx512:
            return features.avx512vbmi;
        case EvalPath::avx2:
            return features.avx2;
        case EvalPath::neon:
            return features.neon;
    }
    return false;
}

EvalPath bestEvalPath() {
    for (EvalPath path : {EvalPath::avx512, EvalPath::avx2, EvalPath::neon}) {
        if (evalPathAvailable(path)) {
            return path;
        }
    }
    return EvalPath::portable;
}

namespace {
std::optional<EvalPath> chosenEvalPath;
}

std::string_view evalPathName(EvalPath path) {
    switch (path) {
        case EvalPath::portable:
            return "portable";
        case EvalPath::avx512:
            return "avx512";
        case EvalPath::avx2:
            return "avx2";
        case EvalPath::neon:
            return "neon";
    }
    return "unknown";
}

EvalPath preferredEvalPath() {
    return chosenEvalPath.value_or(bestEvalPath());
}

void preferEvalPath(EvalPath path) {
    chosenEvalPath = evalPathAvailable(path) ? path : EvalPath::portable;
}

SequenceEvaluator::SequenceEvaluator(const CubeState& startCube, EvalMode mode, EvalPath path)
    : startCube_(startCube),
      mode_(mode),
      path_(evalPathAvailable(path) ? path : EvalPath::portable) {
    lanesUsable_ = toLaneCube(startCube, start_.lanes);
    start_.pieces = pieceCodesOf(start_.lanes);
    if (lanesUsable_ && path_ == EvalPath::portable) {
        start_.pieceTables = PieceModelTables(start_.lanes);
    }
}

Evaluation SequenceEvaluator::operator()(std::span<const MoveCode> sequence) const {
    Evaluation result;
    evaluateRows(sequence, sequence.size(), std::span<Evaluation>(&result, 1));
    return result;
}

void SequenceEvaluator::evaluateRows(std::span<const MoveCode> codes, std::size_t length,
                                     std::span<Evaluation> out) const {
    const auto row = [&](std::size_t i) { return codes.subspan(i * length, length); };
    // Codes outside 0..17 only come from callers outside the search; the plain path gives
    // them their exact meaning (four quarter turns, "move error").
    if (!lanesUsable_ || !allCodesGenerated(codes.first(out.size() * length))) {
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = evaluateSequenceReference(startCube_, row(i), mode_);
        }
        return;
    }
    switch (path_) {
        case EvalPath::avx512:
            return evaluateRowsAvx512(start_, codes, length, mode_, out);
        case EvalPath::avx2:
            return evaluateRowsAvx2(start_, codes, length, mode_, out);
        case EvalPath::neon:
            return evaluateRowsNeon(start_, codes, length, mode_, out);
        case EvalPath::portable:
            return evaluateRowsPortable(start_, codes, length, mode_, out);
    }
}

Evaluation evaluateSequence(const CubeState& startCube, std::span<const MoveCode> sequence,
                            std::int32_t slotCount, EvalMode mode) {
    const auto slots = sequence.first(static_cast<std::size_t>(slotCount));
    return SequenceEvaluator(startCube, mode)(slots);
}

}  // namespace cubega
