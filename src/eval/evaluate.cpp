#include "eval/evaluate.hpp"

#include <utility>

#include "cube/lane_cube.hpp"
#include "eval/back_ends.hpp"
#include "eval/byte_cube_scores.hpp"
#include "eval/eval_start.hpp"
#include "eval/scores.hpp"

namespace cubega {

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

SequenceEvaluator::SequenceEvaluator(const CubeState& startCube, EvalMode mode, BackEnd backEnd)
    : startCube_(startCube),
      mode_(mode),
      kernels_(&evalKernelsOf(backEndAvailable(backEnd) ? backEnd : BackEnd::portable)) {
    auto start = std::make_unique<EvalStart>();
    lanesUsable_ = toLaneCube(startCube, start->lanes);
    start->pieces = pieceCodesOf(start->lanes);
    if (lanesUsable_ && !kernels_->cubeInLanes) {
        start->pieceTables = std::make_unique<const PieceModelTables>(start->lanes);
    }
    start_ = std::move(start);
}

SequenceEvaluator::SequenceEvaluator(SequenceEvaluator&&) noexcept = default;
SequenceEvaluator::~SequenceEvaluator() = default;

Evaluation SequenceEvaluator::operator()(std::span<const MoveCode> sequence) const {
    Evaluation result;
    evaluateRows(sequence, sequence.size(), std::span<Evaluation>(&result, 1));
    return result;
}

void SequenceEvaluator::evaluateRows(std::span<const MoveCode> codes, std::size_t length,
                                     std::span<Evaluation> out) const {
    // Codes outside 0..17 only come from callers outside the search; the plain evaluation
    // gives them their exact meaning (four quarter turns, or no turn at all). Rows longer
    // than any the search breeds go the plain way too.
    if (!lanesUsable_ || length > kLongestKernelRow ||
        !kernels_->allCodesAreMoves(codes.first(out.size() * length))) {
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] =
                evaluateSequenceReference(startCube_, codes.subspan(i * length, length), mode_);
        }
        return;
    }
    kernels_->evaluateRows(*start_, codes, length, mode_, out);
}

Evaluation evaluateSequence(const CubeState& startCube, std::span<const MoveCode> sequence,
                            std::int32_t slotCount, EvalMode mode) {
    const auto slots = sequence.first(static_cast<std::size_t>(slotCount));
    return SequenceEvaluator(startCube, mode)(slots);
}

}  // namespace cubega
