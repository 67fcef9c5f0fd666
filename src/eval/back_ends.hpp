// The evaluation back ends, one per instruction set, each the same engine over its own few
// operations on a cube. Only call a back end that evalPathAvailable says this processor runs.
#pragma once

#include <cstddef>
#include <span>

#include "eval/eval_start.hpp"
#include "eval/evaluate.hpp"

namespace cubega {

// Evaluates out.size() rows of `length` codes 0..17 stored one after another in `codes`.
void evaluateRowsPortable(const EvalStart& start, std::span<const MoveCode> codes,
                          std::size_t length, EvalMode mode, std::span<Evaluation> out);
void evaluateRowsAvx2(const EvalStart& start, std::span<const MoveCode> codes, std::size_t length,
                      EvalMode mode, std::span<Evaluation> out);
void evaluateRowsAvx512(const EvalStart& start, std::span<const MoveCode> codes, std::size_t length,
                        EvalMode mode, std::span<Evaluation> out);
void evaluateRowsNeon(const EvalStart& start, std::span<const MoveCode> codes, std::size_t length,
                      EvalMode mode, std::span<Evaluation> out);

}  // namespace cubega
