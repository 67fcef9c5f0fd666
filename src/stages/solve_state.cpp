#include "stages/solve_state.hpp"

namespace cubega {

SearchParams stageSearchParams(std::int32_t generations, std::int32_t progressInterval,
                               bool restrictToTwoFaces) {
    SearchParams params;  // N 51, L 30, K 5, pm 0.05, pc 0.8, sp 1.5 in every stage
    params.generations = generations;
    params.progressInterval = progressInterval;
    params.restrictToTwoFaces = restrictToTwoFaces;
    return params;
}

}  // namespace cubega
