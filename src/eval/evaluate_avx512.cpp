// One vpermb turns the whole cube; one more gathers both sides of up to 32 facelet
// equalities, a byte comparison tests them, and a popcount adds them up.
#include "eval/evaluate_avx512.hpp"

#include <algorithm>
#include <bit>

#include "eval/gather_tables.hpp"
#include "platform/cpu_features.hpp"
#include "platform/x86_intrinsics.hpp"

#ifdef CUBEGA_X86_INTRINSICS
#define CUBEGA_HAVE_AVX512_PATH 1
#define CUBEGA_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,popcnt")))
#endif

namespace cubega {

#ifdef CUBEGA_HAVE_AVX512_PATH

bool avx512PathSupported() {
    return cpuFeatures().avx512vbmi;
}

namespace {

CUBEGA_AVX512 inline __m512i loadLanes(const std::uint8_t* lanes) {
    return _mm512_loadu_si512(static_cast<const void*>(lanes));
}

// Compares lanes 0..31 of a gathered vector with lanes 32..63: bit i is equality i.
CUBEGA_AVX512 inline std::uint32_t equalHalves(__m512i gathered) {
    return _mm256_cmpeq_epi8_mask(_mm512_castsi512_si256(gathered),
                                  _mm512_extracti64x4_epi64(gathered, 1));
}

CUBEGA_AVX512 inline __m512i gather(__m512i cube, const LaneIndex& index) {
    return _mm512_permutexvar_epi8(loadLanes(index.data()), cube);
}

inline constexpr LaneIndex kIdentityLanes = identityPermutation().source;

// What stays fixed for one start cube: the centres the edge lanes are compared with.
struct Constants {
    __m512i edgeCentres;
    __m512i twoGenEdgeCentres;
    const PieceCodes* pieces;
};

CUBEGA_AVX512 Constants constantsFor(__m512i start, const PieceCodes& pieces) {
    return {gather(start, kEdgeCentreIndex), gather(start, kTwoGenEdgeCentres), &pieces};
}

// Joined corner-edge pairs (one 16-bit comparison) plus edge facelets matching their centre
// (one comparison of the cube itself with constants).
CUBEGA_AVX512 inline std::int32_t pairScoreVector(__m512i cube, const Constants& constants) {
    const std::uint32_t joined =
        _mm512_cmpeq_epi16_mask(gather(cube, kPairWordsLeft), gather(cube, kPairWordsRight));
    const std::uint64_t edges = _mm512_cmpeq_epi8_mask(cube, constants.edgeCentres);
    return std::popcount(joined & 0xFFFFFFu) + std::popcount(edges & kEdgeFaceletBits);
}

// The corner half of the group test on the cube after `move` (a whole-cube permutation),
// rarely reached: kept out of line so the hot loop stays small enough to keep every row's
// cube in a register.
[[gnu::noinline]] CUBEGA_AVX512 bool twoGenCornersPassAfter(__m512i before,
                                                            const std::uint8_t* move,
                                                            const PieceCodes& pieces) {
    LaneCube lanes;
    _mm512_store_si512(static_cast<void*>(lanes.lanes.data()),
                       _mm512_permutexvar_epi8(loadLanes(move), before));
    return twoGenCornersPassLanes(lanes, pieces);
}

// Whether the edge half of the group test passes, from the block gather: every edge's two
// facelets are compared with the F and U centres at once. The fold is done in general-purpose
// registers: the mask registers' few units are busy with the comparisons.
CUBEGA_AVX512 inline bool twoGenEdgesPass(__m512i blockGather, const Constants& constants) {
    return twoGenEdgesPassFromMask(
        _mm512_cmpeq_epi8_mask(blockGather, constants.twoGenEdgeCentres));
}

// The block or entry score of the cube after `move` applied to `before`, from its block gather;
// or any value not above `best` when the score cannot beat it, since the evaluation only asks
// whether a prefix improves on the best so far. The entry score skips the group test when
// even passing it would not lift the score above `best`.
template <EvalMode Mode>
CUBEGA_AVX512 inline std::int32_t scoreFromBlockGather(__m512i blockGather,
                                                       const Constants& constants,
                                                       std::int32_t best, __m512i before,
                                                       const std::uint8_t* move) {
    if constexpr (Mode == kBlockMode) {
        return blockScoreFromMask(equalHalves(blockGather));
    } else {
        const std::int32_t block = 10 * blockScoreFromMask(equalHalves(blockGather));
        if (block + 10 <= best) {
            return block;
        }
        const bool inGroup = twoGenEdgesPass(blockGather, constants) &&
                             twoGenCornersPassAfter(before, move, *constants.pieces);
        return block + (inGroup ? 10 : 0);
    }
}

// The best score and the first slot that reached it, packed as score * 256 + (255 - slot):
// one maximum keeps both, and of equal scores the earlier slot (the larger low byte). The
// start, 255, is score 0 at "slot 0", which no later score of 0 beats.
struct RowProgress {
    std::int32_t packed = 255;

    std::int32_t best() const { return packed >> 8; }
    std::int32_t count() const { return 255 - (packed & 255); }
    void record(std::int32_t score, std::size_t slot) {
        packed = std::max(packed, score * 256 + 255 - static_cast<std::int32_t>(slot));
    }
    Evaluation result() const { return {10 * best() - count(), count()}; }
};

// The pair score: `Ways` rows side by side, one move a step (the edge comparison needs the
// turned cube itself). Independent rows keep the vector units busy while one row's
// permutation is in flight.
template <std::size_t Ways>
[[gnu::noinline]] CUBEGA_AVX512 void evaluatePairScoreRows(const LaneCube& start,
                                                           const MoveCode* rows, std::size_t length,
                                                           const Constants& constants,
                                                           Evaluation* out) {
    __m512i cube[Ways];
    RowProgress progress[Ways];
    for (std::size_t w = 0; w < Ways; ++w) {
        cube[w] = loadLanes(start.lanes.data());
    }
    for (std::size_t slot = 0; slot < length; ++slot) {
        for (std::size_t w = 0; w < Ways; ++w) {
            const auto code = static_cast<std::size_t>(rows[w * length + slot]);
            cube[w] = gather(cube[w], kMovePermutations[code].source);
            progress[w].record(pairScoreVector(cube[w], constants), slot + 1);
        }
    }
    for (std::size_t w = 0; w < Ways; ++w) {
        out[w] = progress[w].result();
    }
}

// The block and entry scores: `Ways` rows side by side, two moves a step. The cube jumps by
// the pair's permutation and the score after the first move is gathered from the cube before
// it, so each move costs half a permutation of the cube plus its score gather.
template <EvalMode Mode, std::size_t Ways>
[[gnu::noinline]] CUBEGA_AVX512 void evaluateInterleaved(const LaneCube& start,
                                                         const MoveCode* rows, std::size_t length,
                                                         const Constants& constants,
                                                         Evaluation* out) {
    const std::uint8_t* const identity = kIdentityLanes.data();
    __m512i cube[Ways];
    RowProgress progress[Ways];
    for (std::size_t w = 0; w < Ways; ++w) {
        cube[w] = loadLanes(start.lanes.data());
    }
    std::size_t slot = 0;
    for (; slot + 2 <= length; slot += 2) {
        for (std::size_t w = 0; w < Ways; ++w) {
            const auto a = static_cast<std::size_t>(rows[w * length + slot]);
            const auto b = static_cast<std::size_t>(rows[w * length + slot + 1]);
            const __m512i before = cube[w];
            const __m512i afterA = gather(before, kBlockGatherAfterMove[a]);
            cube[w] = gather(before, kMovePairPermutations[a][b].source);
            const __m512i afterB = gather(cube[w], kBlockGather);
            progress[w].record(
                scoreFromBlockGather<Mode>(afterA, constants, progress[w].best(), before,
                                           kMovePermutations[a].source.data()),
                slot + 1);
            progress[w].record(scoreFromBlockGather<Mode>(afterB, constants, progress[w].best(),
                                                          cube[w], identity),
                               slot + 2);
        }
    }
    if (slot < length) {  // an odd last move
        for (std::size_t w = 0; w < Ways; ++w) {
            const auto a = static_cast<std::size_t>(rows[w * length + slot]);
            cube[w] = gather(cube[w], kMovePermutations[a].source);
            progress[w].record(scoreFromBlockGather<Mode>(gather(cube[w], kBlockGather), constants,
                                                          progress[w].best(), cube[w], identity),
                               slot + 1);
        }
    }
    for (std::size_t w = 0; w < Ways; ++w) {
        out[w] = progress[w].result();
    }
}

// One move of the entry score with the group test taken as failed; `edgesPassed` notes whether
// its edge half passed, the only case in which the corner half could have changed the result.
// It is a byte rather than a bool: with a bool the loop measured a third slower.
CUBEGA_AVX512 inline void recordEntryStep(__m512i blockGather, const Constants& constants,
                                          std::size_t slot, RowProgress& progress,
                                          std::uint8_t& edgesPassed) {
    edgesPassed =
        static_cast<std::uint8_t>(edgesPassed | (twoGenEdgesPass(blockGather, constants) ? 1 : 0));
    progress.record(10 * blockScoreFromMask(equalHalves(blockGather)), slot);
}

// The entry score, `Ways` rows side by side as above, with the group test taken as failed. A
// row where its edge half passed at some move is evaluated again, alone and exactly. Most rows
// never get there, and a loop without the corner test's call keeps every cube in a register.
template <std::size_t Ways>
[[gnu::noinline]] CUBEGA_AVX512 void evaluateEntryRows(const LaneCube& start, const MoveCode* rows,
                                                       std::size_t length,
                                                       const Constants& constants,
                                                       Evaluation* out) {
    __m512i cube[Ways];
    RowProgress progress[Ways];
    std::uint8_t edgesPassed[Ways] = {};
    for (std::size_t w = 0; w < Ways; ++w) {
        cube[w] = loadLanes(start.lanes.data());
    }
    std::size_t slot = 0;
    for (; slot + 2 <= length; slot += 2) {
        for (std::size_t w = 0; w < Ways; ++w) {
            const auto a = static_cast<std::size_t>(rows[w * length + slot]);
            const auto b = static_cast<std::size_t>(rows[w * length + slot + 1]);
            const __m512i afterA = gather(cube[w], kBlockGatherAfterMove[a]);
            cube[w] = gather(cube[w], kMovePairPermutations[a][b].source);
            recordEntryStep(afterA, constants, slot + 1, progress[w], edgesPassed[w]);
            recordEntryStep(gather(cube[w], kBlockGather), constants, slot + 2, progress[w],
                            edgesPassed[w]);
        }
    }
    if (slot < length) {  // an odd last move
        for (std::size_t w = 0; w < Ways; ++w) {
            const auto a = static_cast<std::size_t>(rows[w * length + slot]);
            cube[w] = gather(cube[w], kMovePermutations[a].source);
            recordEntryStep(gather(cube[w], kBlockGather), constants, slot + 1, progress[w],
                            edgesPassed[w]);
        }
    }
    for (std::size_t w = 0; w < Ways; ++w) {
        out[w] = progress[w].result();
        if (edgesPassed[w]) {
            evaluateInterleaved<kTwoGenEntryMode, 1>(start, rows + w * length, length, constants,
                                                     out + w);
        }
    }
}

template <EvalMode Mode, std::size_t Ways>
CUBEGA_AVX512 void evaluateRowGroup(const LaneCube& start, const MoveCode* rows, std::size_t length,
                                    const Constants& constants, Evaluation* out) {
    if constexpr (Mode == kPairMode) {
        evaluatePairScoreRows<Ways>(start, rows, length, constants, out);
    } else if constexpr (Mode == kTwoGenEntryMode) {
        evaluateEntryRows<Ways>(start, rows, length, constants, out);
    } else {
        evaluateInterleaved<Mode, Ways>(start, rows, length, constants, out);
    }
}

template <EvalMode Mode>
CUBEGA_AVX512 void evaluateRowsLoop(const LaneCube& start, const MoveCode* codes, std::size_t rows,
                                    std::size_t length, const PieceCodes& pieces, Evaluation* out) {
    constexpr std::size_t kWays = 4;
    const Constants constants = constantsFor(loadLanes(start.lanes.data()), pieces);
    std::size_t row = 0;
    for (; row + kWays <= rows; row += kWays) {
        evaluateRowGroup<Mode, kWays>(start, codes + row * length, length, constants, out + row);
    }
    for (; row < rows; ++row) {
        evaluateRowGroup<Mode, 1>(start, codes + row * length, length, constants, out + row);
    }
}

}  // namespace

void evaluateRowsAvx512(const LaneCube& start, std::span<const MoveCode> codes, std::size_t length,
                        EvalMode mode, const PieceCodes& pieces, std::span<Evaluation> out) {
    const std::size_t rows = out.size();
    switch (mode) {
        case kPairMode:
            return evaluateRowsLoop<kPairMode>(start, codes.data(), rows, length, pieces,
                                               out.data());
        case kBlockMode:
            return evaluateRowsLoop<kBlockMode>(start, codes.data(), rows, length, pieces,
                                                out.data());
        case kTwoGenEntryMode:
            return evaluateRowsLoop<kTwoGenEntryMode>(start, codes.data(), rows, length, pieces,
                                                      out.data());
    }
}

#else

bool avx512PathSupported() {
    return false;
}

void evaluateRowsAvx512(const LaneCube&, std::span<const MoveCode>, std::size_t, EvalMode,
                        const PieceCodes&, std::span<Evaluation>) {}

#endif

}  // namespace cubega
