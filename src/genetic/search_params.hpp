// The parameters of a genetic search that its users may choose, with the values the program
// uses unless told otherwise. Nothing here needs the search itself, so a front end that only
// passes parameters on includes just this.
#pragma once

#include <cstdint>

namespace cubega {

// The size of the populations the program breeds unless told otherwise: N rows of L slots.
inline constexpr std::int32_t kPopulationSize = 51;  // N
inline constexpr std::int32_t kSequenceLength = 30;  // L

// The sizes a search serves: N rows of L slots, the limits a user's choice is checked against.
// Beside them K runs from 0 to N - 1 (row 0, the elite, is never replaced), pm and pc from 0
// to 1 and sp from 1 to 2.
inline constexpr std::int32_t kMinPopulationSize = 2;
inline constexpr std::int32_t kMaxPopulationSize = 4096;
inline constexpr std::int32_t kMinSequenceLength = 1;
inline constexpr std::int32_t kMaxSequenceLength = 128;

// What stays the same for the whole life of a search.
struct SearchParams {
    std::int32_t populationSize = kPopulationSize;  // N
    std::int32_t sequenceLength = kSequenceLength;  // L
    std::int32_t immigrantCount = 5;                // K, worst rows replaced by random ones
    float mutationRate = 0.05F;                     // pm, chance per slot of a random reset
    float crossoverRate = 0.8F;                     // pc, chance a parent pair is crossed
    float selectionPressure = 1.5F;                 // sp, linear ranking, between 1 and 2

    friend bool operator==(const SearchParams&, const SearchParams&) = default;
};

}  // namespace cubega
