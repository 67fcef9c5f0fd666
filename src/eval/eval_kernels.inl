// The evaluation's kernels for one back end: the engine over the model of the cube that the
// back end's operations suit (byte lanes where it gathers bytes, else the pieces), and the
// check of the codes. Included by back_ends.cpp through the back-end list, once per back end.
//
// No include guard: included once per back end.

#include "eval/engine.inl"
#include "eval/lane_model.inl"
#include "eval/piece_model.inl"

template <class B = Ops>
CUBEGA_TARGET void evaluateRows(const EvalStart& start, std::span<const MoveCode> codes,
                                std::size_t length, EvalMode mode, std::span<Evaluation> out) {
    if constexpr (GathersBytes<B>) {
        evaluateRowsWith(LaneModel<B>(start.lanes, start.pieces), codes, length, mode, out);
    } else {
        evaluateRowsWith(PieceModel(start), codes, length, mode, out);
    }
}

CUBEGA_TARGET bool allCodesAreMoves(std::span<const MoveCode> codes) {
    std::uint32_t outside = 0;
    for (const MoveCode code : codes) {
        outside |=
            static_cast<std::uint32_t>(code) >= static_cast<std::uint32_t>(kMoveCount) ? 1U : 0U;
    }
    return outside == 0;
}

inline constexpr EvalKernels kKernels{&evaluateRows<>, &allCodesAreMoves, GathersBytes<Ops>};
