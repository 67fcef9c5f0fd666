// Judging one candidate move sequence by the best point of its walk from a start cube.
//
// The sequence is played move by move; after every move the cube is scored, and the result
// is the best score b any prefix reaches and the length n of the shortest such prefix, as
// objective 10 * b - n and move count n (b = n = 0 when no prefix scores above 0). The start
// cube itself is never scored, ties go to the shorter prefix, and every slot is played.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "cube/cube_state.hpp"
#include "cube/lane_cube.hpp"
#include "cube/moves.hpp"
#include "eval/eval_start.hpp"

namespace cubega {

enum EvalMode : std::int32_t {
    kPairMode = 2,         // pairScore, 0..48: the finish
    kBlockMode = 3,        // blockScore, 0..16: the block stage
    kTwoGenEntryMode = 4,  // 10 * inTwoGenGroup + 10 * blockScore, 0..170: the entry stage
};

struct Evaluation {
    std::int32_t objective = 0;  // 10 * best score - move count
    std::int32_t moveCount = 0;  // leading moves that reach the best score first

    friend bool operator==(const Evaluation&, const Evaluation&) = default;
};

// The score that `mode` gives a cube.
std::int32_t modeScore(const CubeState& cube, EvalMode mode);

// The plain evaluation: repeated quarter turns and the condition-by-condition scores.
Evaluation evaluateSequenceReference(const CubeState& startCube, std::span<const MoveCode> sequence,
                                     EvalMode mode);

// Which implementation evaluates sequences. Every path gives exactly the reference result.
enum class EvalPath {
    portable,  // the cube as its pieces, score conditions looked up in tables, plain C++
    avx512,    // byte cube permuted and compared 64 lanes at a time (AVX-512 VBMI)
    avx2,      // the same gathers made of 16-byte table lookups (AVX2)
    neon,      // the same gathers as 64-byte table lookups (AArch64 Advanced SIMD)
};

inline constexpr std::array<EvalPath, 4> kEvalPaths{EvalPath::portable, EvalPath::avx2,
                                                    EvalPath::avx512, EvalPath::neon};

// The path's name, as the benchmarks show it.
std::string_view evalPathName(EvalPath path);

bool evalPathAvailable(EvalPath path);
EvalPath bestEvalPath();  // the fastest path this processor runs

// The path evaluators use unless told otherwise: the fastest one, or the one chosen here (an
// unavailable path falls back to the portable one). Lets a whole run be repeated on each path.
EvalPath preferredEvalPath();
void preferEvalPath(EvalPath path);

// Evaluates many sequences against one start cube and mode, as the generation loop does.
class SequenceEvaluator {
  public:
    SequenceEvaluator(const CubeState& startCube, EvalMode mode,
                      EvalPath path = preferredEvalPath());

    // The first `sequence.size()` slots are played (the caller passes its length L).
    Evaluation operator()(std::span<const MoveCode> sequence) const;

    // Evaluates out.size() rows of `length` slots stored one after another in `codes`, as
    // a population is: the same results as one call per row, several rows at a time.
    void evaluateRows(std::span<const MoveCode> codes, std::size_t length,
                      std::span<Evaluation> out) const;

  private:
    CubeState startCube_;
    EvalMode mode_;
    EvalPath path_;
    bool lanesUsable_ = false;  // every colour fits in a byte, so the fast paths apply
    EvalStart start_;           // what the back ends need of the start cube
};

// The evaluation of the first L slots of a sequence, on the preferred path.
Evaluation evaluateSequence(const CubeState& startCube, std::span<const MoveCode> sequence,
                            std::int32_t slotCount, EvalMode mode);

}  // namespace cubega
