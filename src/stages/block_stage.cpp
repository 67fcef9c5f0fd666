#include "stages/block_stage.hpp"

#include <algorithm>
#include <array>
#include <vector>

#include "cube/moves.hpp"
#include "cube/rotations.hpp"
#include "eval/evaluate.hpp"
#include "eval/scores.hpp"
#include "genetic/genetic_search.hpp"
#include "genetic/ranking.hpp"

namespace cubega {

namespace {

constexpr std::int32_t kBlockProgressInterval = 100000;

constexpr std::string_view kYLine = "whole cube clockwise rotation around Oz (= y)";
constexpr std::string_view kXYLine = "whole cube rotation around FUR corner (=xy)";
constexpr std::string_view kXLine = "whole cube rotation around LR horizontal axis (=x)";

void announce(std::string_view line, RecordWriter& console, RecordWriter* log) {
    console.write({line});
    if (log != nullptr) {
        log->write({line});
    }
}

// What the search of one location leaves for ranking and the commit.
struct LocationTables {
    std::array<Population, kLocationCount> savedPopulations;
    Population bestSequences{kLocationCount, kSequenceLength};  // row 0 of each location, all slots
    std::array<std::int32_t, kLocationCount> grades{};
    std::array<bool, kLocationCount> twoGenAtLocation{};
};

void writeLocationReport(const GeneticSearch& search, RecordWriter& console) {
    const Evaluation& best = search.best();
    const std::int32_t bestScore = (best.objective + best.moveCount) / 10;
    console.write({"optimal :"});
    console.write({movesToText(search.bestMoves())});
    console.write({"perfo, # moves, entropy"});
    console.write({best.objective, best.moveCount, bestScore});
    if (bestScore == 16) {
        console.write({"This 2x2x3 was solved :)"});
    }
    console.writeBlank();
}

void searchLocation(const CubeState& scrambled, std::int32_t location, std::int32_t generations,
                    bool resumeFromSaved, GeneticSearch& search, LocationTables& tables,
                    StageContext& context) {
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
    fillRandomly(search.population(), context.random);  // drawn even when resuming
    if (resumeFromSaved) {
        search.population() = tables.savedPopulations[slot];
    }
    search.run({generations, kBlockProgressInterval, twoGen}, working, kBlockMode, context.random,
               console);
    tables.savedPopulations[slot] = search.population();
    writeLocationReport(search, console);
    const auto best = search.population().row(0);
    std::copy(best.begin(), best.end(), tables.bestSequences.row(location).begin());
    tables.grades[slot] = locationGrade(search.best().objective, search.best().moveCount);
    tables.twoGenAtLocation[slot] = twoGen;
}

// Passes over the twelve locations until the best grade qualifies; returns the locations in
// rank order. One search serves every location and pass; the tables live only as long as
// the passes.
std::array<std::int32_t, kLocationCount> searchAllLocations(const CubeState& scrambled,
                                                            std::int32_t generations,
                                                            LocationTables& tables,
                                                            StageContext& context) {
    GeneticSearch search;
    std::array<std::int32_t, kLocationCount> order{};
    bool resumeFromSaved = false;
    for (;;) {
        for (std::int32_t location = 0; location < kLocationCount; ++location) {
            searchLocation(scrambled, location, generations, resumeFromSaved, search, tables,
                           context);
        }
        context.console.writeBlank();
        // Stable by descending grade: of equal grades the lower location comes first.
        rankOrder(tables.grades, order);
        if (blockSearchIsDone(tables.grades[static_cast<std::size_t>(order[0])])) {
            return order;
        }
        context.console.write(
            {"Adding generations to solve the 2x2x3: no good solution was found."});
        resumeFromSaved = true;
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

CubeState turnedToLocation(const CubeState& scrambled, std::int32_t location) {
    CubeState cube = scrambled;
    for (std::int32_t y = 0; y < location / 3; ++y) {
        cube = rotateY(cube);
    }
    if (location % 3 == 1) {
        cube = rotateXY(cube);
    } else if (location % 3 == 2) {
        cube = rotateX(rotateX(cube));
    }
    return cube;
}

CubeState orientToLocation(const CubeState& scrambled, std::int32_t location, RecordWriter& console,
                           RecordWriter* log) {
    for (std::int32_t y = 0; y < location / 3; ++y) {
        announce(kYLine, console, log);
        if (log == nullptr) {
            console.writeBlank();
        }
    }
    if (location % 3 == 1) {
        announce(kXYLine, console, log);
    } else if (location % 3 == 2) {
        announce(kXLine, console, log);
        announce(kXLine, console, log);
    }
    return turnedToLocation(scrambled, location);
}

std::int32_t locationGrade(std::int32_t objective, std::int32_t moveCount) {
    return 100 * ((objective + moveCount) / 10) - moveCount - 1600;
}

void runBlockStage(const CubeState& scrambled, std::int32_t generations, SolveState& state,
                   StageContext& context) {
    LocationTables tables;
    const auto order = searchAllLocations(scrambled, generations, tables, context);
    writeRanking(order, context.console);

    const std::int32_t chosen = order[0];
    const auto blockSequence = tables.bestSequences.row(chosen);
    const CubeState working = orientToLocation(scrambled, chosen, context.console, &context.log);
    const Evaluation best = evaluateSequence(working, blockSequence, kSequenceLength, kBlockMode);
    const auto used = blockSequence.first(static_cast<std::size_t>(best.moveCount));
    state.workingCube = applySequence(working, used);
    state.totalMoves = best.moveCount;
    state.blockText = movesToText(used);
    state.blockLocation = chosen;
    state.restrictToTwoFaces = tables.twoGenAtLocation[static_cast<std::size_t>(chosen)];
}

}  // namespace cubega
