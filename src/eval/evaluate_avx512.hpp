// The 64-lane evaluation loop (AVX-512 VBMI). Only call it when evalPathAvailable says so.
#pragma once

#include <span>

#include "cube/lane_cube.hpp"
#include "eval/evaluate.hpp"
#include "eval/lane_scores.hpp"

namespace cubega {

bool avx512PathSupported();

// Every code of `sequence` must lie in 0..17.
Evaluation evaluateLanesAvx512(const LaneCube& start, std::span<const MoveCode> sequence,
                               EvalMode mode, const PieceCodes& pieces);

}  // namespace cubega
