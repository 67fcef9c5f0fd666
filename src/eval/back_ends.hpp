// The evaluation's kernels, compiled for every back end (back_ends.cpp).
#pragma once

#include <cstddef>
#include <span>

#include "cube/moves.hpp"
#include "eval/eval_start.hpp"
#include "eval/evaluation.hpp"
#include "platform/back_end.hpp"

namespace cubega {

// The longest rows the kernels evaluate: each row's best slot is kept in a byte.
inline constexpr std::size_t kLongestKernelRow = 255;

struct EvalKernels {
    // Evaluates out.size() rows of `length` (up to kLongestKernelRow) codes 0..17 stored one
    // after another in `codes`.
    void (*evaluateRows)(const EvalStart& start, std::span<const MoveCode> codes,
                         std::size_t length, EvalMode mode, std::span<Evaluation> out);
    // Whether every code is a move 0..17; without an early exit, so many codes are checked
    // an instruction (the whole population is checked before every evaluation).
    bool (*allCodesAreMoves)(std::span<const MoveCode> codes);
    // Whether the back end plays the cube as byte lanes (else as its pieces, which need
    // EvalStart::pieceTables).
    bool cubeInLanes;
};

// The kernels of a back end (the portable ones where this build lacks it).
const EvalKernels& evalKernelsOf(BackEnd backEnd);

}  // namespace cubega
