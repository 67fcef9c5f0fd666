#include "stages/block_stage.hpp"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "cube/moves.hpp"
#include "eval/evaluate.hpp"
#include "eval/scores.hpp"
#include "genetic/genetic_search.hpp"
#include "genetic/ranking.hpp"

namespace cubega {

namespace {

// Each location's search, kept for the whole stage so that a later pass continues from the
// population at which the location's last run stopped, and what ranking and the commit read.
struct Locations {
    explicit Locations(const SearchParams& params)
        : searches([&]<std::size_t... I>(std::index_sequence<I...>) {
              return std::array<GeneticSearch, kLocationCount>{((void)I, GeneticSearch(params))...};
          }(std::make_index_sequence<kLocationCount>())) {}

    std::array<GeneticSearch, kLocationCount> searches;
    std::array<std::int32_t, kLocationCount> grades{};
    std::array<bool, kLocationCount> twoGen{};  // the location's cube passed the group test
};

void searchLocation(const CubeState& scrambled, std::int32_t location, std::int32_t generations,
                    std::int32_t pass, Locations& locations, StageContext& context,
                    StageRuns& runs) {
    const auto slot = static_cast<std::size_t>(location);
    const CubeState working = turnedToLocation(scrambled, location);
    // Only a cube that F and U turns can finish is searched with F and U turns alone: any
    // other cube could never complete its block that way.
    const bool twoGen = inTwoGenGroup(working);
    GeneticSearch& search = locations.searches[slot];
    if (pass > 1) {  // later passes resume from the saved populations
        search.resumeWithRandomDrawsSpent(context.random);
    } else {
        search.startFromRandomPopulation(context.random);
    }
    const StageRunAt at{Stage::block, pass, location};
    runs.generations +=
        runStageSearch(search, {generations, progressIntervalOf(Stage::block), twoGen},
                       blockGoalMet, working, kBlockMode, context, at);
    const auto moves = search.bestMoves();
    context.tell(RunEnded{
        at, search.best(), {moves.begin(), moves.end()}, blockGoalMet(search.best()), false});
    locations.grades[slot] = locationGrade(search.best().objective, search.best().moveCount,
                                           search.params().sequenceLength);
    locations.twoGen[slot] = twoGen;
}

// Passes over the twelve locations until the best grade qualifies; returns the locations in
// rank order and counts the passes.
std::array<std::int32_t, kLocationCount> searchAllLocations(const CubeState& scrambled,
                                                            std::int32_t generations,
                                                            Locations& locations,
                                                            StageContext& context,
                                                            StageRuns& runs) {
    std::array<std::int32_t, kLocationCount> order{};
    for (std::int32_t pass = 1;; ++pass) {
        for (std::int32_t location = 0; location < kLocationCount; ++location) {
            searchLocation(scrambled, location, generations, pass, locations, context, runs);
        }
        runs.runs = pass;
        context.tell(PassEnded{pass});
        // Stable by descending grade: of equal grades the lower location comes first.
        rankOrder(locations.grades, order);
        if (blockSearchIsDone(locations.grades[static_cast<std::size_t>(order[0])])) {
            return order;
        }
        context.tell(RunExtended{Stage::block});
    }
}

}  // namespace

bool blockGoalMet(const Evaluation& best) {
    return blockSearchIsDone(locationGrade(best.objective, best.moveCount));
}

LocationRotations rotationsOfLocation(std::int32_t location) {
    LocationRotations rotations;
    for (std::int32_t y = 0; y < location / 3; ++y) {
        rotations.add(Rotation::y);
    }
    if (location % 3 == 1) {
        rotations.add(Rotation::xy);
    } else if (location % 3 == 2) {
        rotations.add(Rotation::x);
        rotations.add(Rotation::x);
    }
    return rotations;
}

std::vector<MoveCode> movesAsHeld(std::span<const MoveCode> moves,
                                  const LocationRotations& rotations) {
    std::vector<MoveCode> held(moves.begin(), moves.end());
    for (MoveCode& move : held) {
        for (auto rotation = rotations.end(); rotation != rotations.begin();) {
            move = moveBeforeRotation(*--rotation, move);
        }
    }
    return held;
}

CubeState turnedToLocation(const CubeState& scrambled, std::int32_t location) {
    CubeState cube = scrambled;
    for (const Rotation rotation : rotationsOfLocation(location)) {
        cube = rotate(cube, rotation);
    }
    return cube;
}

std::array<int, kBlockFacelets.size()> blockFaceletsAsHeld(std::int32_t location) {
    // Each facelet labelled with its own position: once turned, the labels at the block's
    // positions say where they came from.
    CubeState labels;
    for (int i = 0; i < kFaceletCount; ++i) {
        labels[i] = i;
    }
    const CubeState turned = turnedToLocation(labels, location);
    std::array<int, kBlockFacelets.size()> held{};
    for (std::size_t k = 0; k < kBlockFacelets.size(); ++k) {
        held[k] = turned[kBlockFacelets[k]];
    }
    return held;
}

std::int32_t locationGrade(std::int32_t objective, std::int32_t moveCount,
                           std::int32_t sequenceLength) {
    const std::int32_t point = std::max(100, sequenceLength + 1);
    return point * (bestScore({objective, moveCount}) - kCompleteBlockScore) - moveCount;
}

void runBlockStage(const CubeState& scrambled, std::int32_t generations, SolveState& state,
                   StageContext& context) {
    // Twelve searches with their populations: on the heap, for a small stack.
    const auto locations = std::make_unique<Locations>(context.settings.params);
    state.blockRuns = {};
    const auto order =
        searchAllLocations(scrambled, generations, *locations, context, state.blockRuns);
    context.tell(LocationsRanked{order});

    const std::int32_t chosen = order[0];
    const auto blockSequence = locations->searches[static_cast<std::size_t>(chosen)].bestRow();
    for (const Rotation rotation : rotationsOfLocation(chosen)) {
        context.tell(CubeRotated{rotation});
    }
    const CubeState working = turnedToLocation(scrambled, chosen);
    const Evaluation best = evaluateSequence(
        working, blockSequence, static_cast<std::int32_t>(blockSequence.size()), kBlockMode);
    const auto used = blockSequence.first(static_cast<std::size_t>(best.moveCount));
    state.workingCube = applySequence(working, used);
    state.totalMoves = best.moveCount;
    state.blockMoves.assign(used.begin(), used.end());
    state.blockLocation = chosen;
    state.restrictToTwoFaces = locations->twoGen[static_cast<std::size_t>(chosen)];
    context.tell(StageDone{Stage::block, state.blockMoves, best});
}

}  // namespace cubega
