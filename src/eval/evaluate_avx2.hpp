// The evaluation loop for processors with AVX2 but without AVX-512 VBMI. Only call it when
// evalPathAvailable says so.
#pragma once

#include <span>

#include "cube/lane_cube.hpp"
#include "eval/byte_cube_scores.hpp"
#include "eval/evaluate.hpp"

namespace cubega {

bool avx2PathSupported();

// Evaluates out.size() rows of `length` codes each, stored one after another in `codes`.
// Every code must lie in 0..17.
void evaluateRowsAvx2(const LaneCube& start, std::span<const MoveCode> codes, std::size_t length,
                      EvalMode mode, const PieceCodes& pieces, std::span<Evaluation> out);

}  // namespace cubega
