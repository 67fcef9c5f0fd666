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

constexpr std::int32_t kBlockProgressInterval = 100000;

std::string_view rotationLine(Rotation rotation) {
    switch (rotation) {
        case Rotation::y:
            return "whole cube clockwise rotation around Oz (= y)";
        case Rotation::x:
            return "whole cube rotation around LR horizontal axis (=x)";
        case Rotation::xy:
            return "whole cube rotation around FUR corner (=xy)";
    }
    return "";
}

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

void writeLocationReport(const GeneticSearch& search, RecordWriter& console) {
    const Evaluation& best = search.best();
    console.write({"optimal :"});
    console.write({movesToText(search.bestMoves())});
    console.write({"perfo, # moves, entropy"});
    console.write({best.objective, best.moveCount, bestScore(best)});
    if (bestScore(best) == 16) {
        console.write({"This 2x2x3 was solved :)"});
    }
    console.writeBlank();
}

// A location's goal: a complete block in at most 20 moves.
bool blockGoalMet(const Evaluation& best) {
    return blockSearchIsDone(locationGrade(best.objective, best.moveCount));
}

void searchLocation(const CubeState& scrambled, std::int32_t location, std::int32_t generations,
                    std::int32_t pass, Locations& locations, StageContext& context,
                    StageRuns& runs) {
    RecordWriter& console = context.console;
    const auto slot = static_cast<std::size_t>(location);
    console.writeBlank();
    console.write({"------------2x2x3 position is : ", location, "       ----------"});
    const CubeState working = orientToLocation(scrambled, location, console, nullptr);
    // Only a cube that F and U turns can finish is searched with F and U turns alone: any
    // other cube could never complete its block that way.
    const bool twoGen = inTwoGenGroup(working);
    if (twoGen) {
        console.write({"2-gen solve"});
    }
    GeneticSearch& search = locations.searches[slot];
    if (pass > 1) {  // later passes resume from the saved populations
        search.resumeWithRandomDrawsSpent(context.random);
    } else {
        search.startFromRandomPopulation(context.random);
    }
    runs.generations +=
        runStageSearch(search, {generations, kBlockProgressInterval, twoGen}, blockGoalMet, working,
                       kBlockMode, context, {Stage::block, pass, location});
    writeLocationReport(search, console);
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
        context.console.writeBlank();
        // Stable by descending grade: of equal grades the lower location comes first.
        rankOrder(locations.grades, order);
        if (blockSearchIsDone(locations.grades[static_cast<std::size_t>(order[0])])) {
            return order;
        }
        context.console.write(
            {"Adding generations to solve the 2x2x3: no good solution was found."});
    }
}

void writeRanking(const std::array<std::int32_t, kLocationCount>& ranked, RecordWriter& console) {
    console.write({"Best 2x2x3 locations : "});
    console.write({ranked[0], ranked[1], ranked[2], ranked[3], ranked[4], ranked[5], ranked[6],
                   ranked[7], ranked[8], ranked[9], ranked[10], ranked[11]});
    console.writeBlank();
    console.write({"End of the 2x2x3 search."});
    console.write({"Alg will now try to go into 2-gen for the best location."});
    console.write({"Location searched : ", ranked[0]});
    console.writeBlank();
}

}  // namespace

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

CubeState orientToLocation(const CubeState& scrambled, std::int32_t location, RecordWriter& console,
                           RecordWriter* log) {
    for (const Rotation rotation : rotationsOfLocation(location)) {
        console.write({rotationLine(rotation)});
        if (log != nullptr) {
            log->write({rotationLine(rotation)});
        } else if (rotation == Rotation::y) {
            console.writeBlank();
        }
    }
    return turnedToLocation(scrambled, location);
}

std::int32_t locationGrade(std::int32_t objective, std::int32_t moveCount,
                           std::int32_t sequenceLength) {
    const std::int32_t point = std::max(100, sequenceLength + 1);
    return point * (bestScore({objective, moveCount}) - 16) - moveCount;
}

void runBlockStage(const CubeState& scrambled, std::int32_t generations, SolveState& state,
                   StageContext& context) {
    // Twelve searches with their populations: on the heap, for a small stack.
    const auto locations = std::make_unique<Locations>(context.settings.params);
    state.blockRuns = {};
    const auto order =
        searchAllLocations(scrambled, generations, *locations, context, state.blockRuns);
    writeRanking(order, context.console);

    const std::int32_t chosen = order[0];
    const auto blockSequence = locations->searches[static_cast<std::size_t>(chosen)].bestRow();
    const CubeState working = orientToLocation(scrambled, chosen, context.console, &context.log);
    const Evaluation best = evaluateSequence(
        working, blockSequence, static_cast<std::int32_t>(blockSequence.size()), kBlockMode);
    const auto used = blockSequence.first(static_cast<std::size_t>(best.moveCount));
    state.workingCube = applySequence(working, used);
    state.totalMoves = best.moveCount;
    state.blockMoves.assign(used.begin(), used.end());
    state.blockLocation = chosen;
    state.restrictToTwoFaces = locations->twoGen[static_cast<std::size_t>(chosen)];
}

}  // namespace cubega
