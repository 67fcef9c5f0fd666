// What the evaluation back ends are given of one start cube, worked out once per evaluator.
#pragma once

#include <memory>

#include "cube/lane_cube.hpp"
#include "eval/byte_cube_scores.hpp"
#include "eval/piece_model.hpp"

namespace cubega {

struct EvalStart {
    LaneCube lanes;       // the start cube as bytes (when every colour fits)
    PieceCodes pieces{};  // colour-set codes of the six F/U-layer corner pieces
    // The tables of the cube as its pieces: made only for the back ends that use them.
    std::unique_ptr<const PieceModelTables> pieceTables;
};

}  // namespace cubega
