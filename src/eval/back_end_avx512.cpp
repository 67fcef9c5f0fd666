// The AVX-512 VBMI back end: one vpermb gathers all 64 lanes of the cube, a byte comparison
// of two registers (or of a register's halves) gives a mask of 64 (32) equalities, and whole
// corner-edge pairs are compared as 16-bit lanes.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <span>

#include "eval/back_ends.hpp"
#include "eval/gather_tables.hpp"
#include "platform/cpu_features.hpp"
#include "platform/x86_intrinsics.hpp"

namespace cubega {

#ifdef CUBEGA_X86_INTRINSICS

namespace avx512 {

#define CUBEGA_ENGINE_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,popcnt")))
#include "eval/engine.inl"

struct Avx512 {
    using Lanes = __m512i;
    using Index = LaneIndex;
    static constexpr std::size_t kWays = 4;
    static constexpr bool kJumpsTwoMoves = true;
    static constexpr bool kEdgesTestIsCostly = false;

    static constexpr Index prepare(const LaneIndex& index) { return index; }

    CUBEGA_ENGINE_TARGET static Lanes load(const std::uint8_t* bytes) {
        return _mm512_loadu_si512(static_cast<const void*>(bytes));
    }
    CUBEGA_ENGINE_TARGET static Lanes gather(Lanes lanes, const LaneIndex& index) {
        return _mm512_permutexvar_epi8(load(index.data()), lanes);
    }
    CUBEGA_ENGINE_TARGET static std::uint64_t equal(Lanes a, Lanes b) {
        return _mm512_cmpeq_epi8_mask(a, b);
    }
    CUBEGA_ENGINE_TARGET static std::uint32_t equalHalves(Lanes lanes) {
        return _mm256_cmpeq_epi8_mask(_mm512_castsi512_si256(lanes),
                                      _mm512_extracti64x4_epi64(lanes, 1));
    }
    CUBEGA_ENGINE_TARGET static std::uint32_t equalWords(Lanes a, Lanes b) {
        return _mm512_cmpeq_epi16_mask(a, b);
    }
    CUBEGA_ENGINE_TARGET static void store(Lanes lanes, std::uint8_t* bytes) {
        _mm512_storeu_si512(static_cast<void*>(bytes), lanes);
    }
};

#include "eval/lane_model.inl"
#undef CUBEGA_ENGINE_TARGET

}  // namespace avx512

void evaluateRowsAvx512(const EvalStart& start, std::span<const MoveCode> codes, std::size_t length,
                        EvalMode mode, std::span<Evaluation> out) {
    const avx512::LaneModel<avx512::Avx512> model(start.lanes, start.pieces);
    avx512::evaluateRowsWith(model, codes, length, mode, out);
}

#else

void evaluateRowsAvx512(const EvalStart&, std::span<const MoveCode>, std::size_t, EvalMode,
                        std::span<Evaluation>) {}

#endif

}  // namespace cubega
