// Judging one candidate move sequence by the best point of its walk from a start cube.
//
// The sequence is played move by move; after every move the cube is scored, and the result
// is the best score b any prefix reaches and the length n of the shortest such prefix, as
// objective 10 * b - n and move count n (b = n = 0 when no prefix scores above 0). The start
// cube itself is never scored, ties go to the shorter prefix, and every slot is played.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "cube/cube_state.hpp"
#include "cube/moves.hpp"
#include "eval/evaluation.hpp"
#include "platform/back_end.hpp"

namespace cubega {

// The score that `mode` gives a cube.
std::int32_t modeScore(const CubeState& cube, EvalMode mode);

// The plain evaluation: repeated quarter turns and the condition-by-condition scores.
Evaluation evaluateSequenceReference(const CubeState& startCube, std::span<const MoveCode> sequence,
                                     EvalMode mode);

struct EvalKernels;
struct EvalStart;

// Evaluates many sequences against one start cube and mode, as the generation loop does, on
// one back end (an unavailable one gives the portable back end). Every back end gives exactly
// the reference result.
class SequenceEvaluator {
  public:
    SequenceEvaluator(const CubeState& startCube, EvalMode mode, BackEnd backEnd = activeBackEnd());
    SequenceEvaluator(SequenceEvaluator&&) noexcept;
    ~SequenceEvaluator();

    // The first `sequence.size()` slots are played (the caller passes its length L).
    Evaluation operator()(std::span<const MoveCode> sequence) const;

    // Evaluates out.size() rows of `length` slots stored one after another in `codes`, as
    // a population is: the same results as one call per row, several rows at a time.
    void evaluateRows(std::span<const MoveCode> codes, std::size_t length,
                      std::span<Evaluation> out) const;

  private:
    CubeState startCube_;
    EvalMode mode_;
    const EvalKernels* kernels_;
    bool lanesUsable_ = false;                // every colour fits in a byte, so the kernels apply
    std::unique_ptr<const EvalStart> start_;  // what the kernels need of the start cube
};

// The evaluation of the first L slots of a sequence, on the active back end.
Evaluation evaluateSequence(const CubeState& startCube, std::span<const MoveCode> sequence,
                            std::int32_t slotCount, EvalMode mode);

}  // namespace cubega
