#include "request/solution_views.hpp"

#include <span>

#include "cube/facelets.hpp"
#include "cube/notation.hpp"
#include "eval/scores.hpp"
#include "stages/block_stage.hpp"

namespace cubega {

nlohmann::ordered_json solutionViewsJson(const TaskOutcome& outcome) {
    const SolveResult& solved = outcome.result;
    nlohmann::ordered_json views;
    CubeState cube = outcome.scramble.cube;
    views["states"] = nlohmann::ordered_json::array({faceletText(cube)});
    for (const MoveCode move : solved.solution) {
        cube = applyMove(cube, move);
        views["states"].push_back(faceletText(cube));
    }
    const std::span<const MoveCode> asHeld(solved.solution);
    std::size_t first = 0;
    views["movesAsHeld"] = nlohmann::ordered_json::object();
    for (const Stage stage : {Stage::block, Stage::entry, Stage::finish}) {
        const std::size_t count = solved.solutionStages[static_cast<std::size_t>(stage)];
        views["movesAsHeld"][stageName(stage)] = standardNotation(asHeld.subspan(first, count));
        first += count;
    }
    if (solved.stoppedAt && solved.stoppedAt->stage == Stage::block) {
        return views;
    }
    views["blockFacelets"] = nlohmann::ordered_json::array();
    for (const int facelet : blockFaceletsAsHeld(solved.location)) {
        views["blockFacelets"].push_back(faceletTextIndex(facelet));
    }
    CubeState built = outcome.scramble.cube;
    std::size_t step = 0;
    while (step < asHeld.size() &&
           blockScore(turnedToLocation(built, solved.location)) < kCompleteBlockScore) {
        built = applyMove(built, asHeld[step++]);
    }
    views["blockFrom"] = step;
    return views;
}

}  // namespace cubega
