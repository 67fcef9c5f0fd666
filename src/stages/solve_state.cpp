#include "stages/solve_state.hpp"

#include "genetic/generation_loop.hpp"

namespace cubega {

SearchParams stageSearchParams(std::int32_t generations, std::int32_t progressInterval,
                               bool restrictToTwoFaces) {
    SearchParams params;  // N 51, L 30, K 5, pm 0.05, pc 0.8, sp 1.5 in every stage
    params.generations = generations;
    params.progressInterval = progressInterval;
    params.restrictToTwoFaces = restrictToTwoFaces;
    return params;
}

void StageSearch::run(const SearchParams& params, const CubeState& start, EvalMode mode,
                      StageContext& context) {
    runGenerations(population, scores, keys, params, start, mode, context.random, context.console);
}

}  // namespace cubega
