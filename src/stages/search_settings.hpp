// How the three stages search: the parameters of every search, each stage's generations per
// run, and whether a run ends at its stage's goal. The defaults are the program's own.
#pragma once

#include <cstdint>

#include "genetic/search_params.hpp"

namespace cubega {

struct SearchSettings {
    SearchParams params;                        // every search of every stage
    std::int32_t blockGenerations = 500;        // each location's run
    std::int32_t entryGenerations = 10000;      // each run of the entry stage
    std::int32_t entryGenerationsInGroup = 10;  // the same from a cube already in the group
    std::int32_t finishGenerations = 200000;    // each run of the finish
    // A run ends after the first generation whose best meets its stage's goal (a complete
    // block in at most 20 moves, the cube in the group with the block, the cube solved)
    // rather than after all its generations.
    bool stopAtGoal = false;

    friend bool operator==(const SearchSettings&, const SearchSettings&) = default;
};

}  // namespace cubega
