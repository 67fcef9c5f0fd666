// A part of a batch, for a study spread over several machines or jobs: part K of N holds the
// input lines K, K + N, K + 2N, ... (every line counted, blank and comment lines too), so each
// part keeps the whole input's line numbers, and with them its seeds.
#pragma once

#include <cstddef>
#include <string_view>

namespace cubega {

struct BatchPart {
    std::size_t index = 1;  // K, from 1
    std::size_t count = 1;  // N; part 1 of 1 is the whole input

    // Whether input line `lineNumber` (from 1) is this part's.
    bool holds(std::size_t lineNumber) const {
        return lineNumber >= 1 && (lineNumber - 1) % count == index - 1;
    }
};

// The part that "K/N" names; throws UsageError unless 1 <= K <= N.
BatchPart batchPartOf(std::string_view text);

}  // namespace cubega
