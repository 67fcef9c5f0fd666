// The inputs the benchmarks share, so that cubega_bench and cubega_timing measure the same
// work: the evaluation's sample of sequences and the generation loop's stage settings.
#pragma once

#include <cstddef>
#include <random>
#include <vector>

#include "cube/moves.hpp"
#include "eval/evaluation.hpp"

namespace cubega::bench {

// A 25-move scramble and 64 sequences of 30 moves (folded onto F and U for the pair score).
struct Sample {
    CubeState start;
    std::vector<std::vector<MoveCode>> sequences;
};

inline Sample makeSample(bool twoFaceMoves) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<MoveCode> move(0, 17);
    Sample sample;
    std::vector<MoveCode> scramble(25);
    for (MoveCode& m : scramble) {
        m = move(rng);
    }
    sample.start = applySequence(solvedCube(), scramble);
    sample.sequences.resize(64);
    for (auto& sequence : sample.sequences) {
        sequence.resize(30);
        for (MoveCode& m : sequence) {
            m = move(rng);
            if (twoFaceMoves) {
                m = foldOntoTwoFaces(m);
            }
        }
    }
    return sample;
}

// The first 51 sequences one after another: a population as the generation loop evaluates it.
inline constexpr std::size_t kPopulationRows = 51;
inline std::vector<MoveCode> populationCodes(const Sample& sample) {
    std::vector<MoveCode> codes;
    for (std::size_t i = 0; i < kPopulationRows; ++i) {
        codes.insert(codes.end(), sample.sequences[i].begin(), sample.sequences[i].end());
    }
    return codes;
}

// Block stage: any scrambled cube, all eighteen moves, block score.
// Entry stage: block complete, the rest scrambled with all moves, entry score.
// Finish: in the two-generator group, folded onto F and U, pair score.
struct StageSetting {
    CubeState start;
    EvalMode mode;
    bool twoFaces;
};

inline StageSetting stageSetting(int stage) {
    const auto scrambled = [](const std::vector<MoveCode>& moves) {
        return applySequence(solvedCube(), moves);
    };
    switch (stage) {
        case 0:
            return {scrambled({2, 4, 2, 3, 11, 4, 15, 5, 0, 4, 15, 5, 0, 4, 15, 5, 0, 8, 4}),
                    kBlockMode, false};
        case 1:
            return {scrambled({0, 2, 1, 14, 0, 13, 2, 12, 1, 2, 7, 14}), kTwoGenEntryMode, false};
        default:
            return {scrambled({0, 1, 12, 7, 0, 13, 6, 1, 12, 13, 0, 7, 12, 1}), kPairMode, true};
    }
}

}  // namespace cubega::bench
