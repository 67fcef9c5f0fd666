// The batch command's throughput with one solve at a time and with two: scrambles a second.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "cli/batch.hpp"

namespace cubega {
namespace {

// Eight seeded scrambles of the kind a batch holds, 30 generations a block search.
std::string seededLines() {
    const char* scrambles[] = {"R U2 F' L D2 B", "F R U' B2 D",  "L' D B2 R F'", "U R2 F D' L2",
                               "B' L U2 R' D",   "D2 F' U L B2", "R' B D2 F U'", "L2 U' R B' F2"};
    std::string lines;
    for (const char* scramble : scrambles) {
        lines += std::string(scramble) + "\n";
    }
    return lines;
}

void batchThroughput(benchmark::State& state) {
    BatchOptions options;
    options.defaults.generations = 30;
    options.defaults.seed = 2026;
    options.jobs = static_cast<std::size_t>(state.range(0));
    const std::string lines = seededLines();
    for (auto _ : state) {
        std::istringstream in(lines);
        std::ostringstream out, err;
        if (runBatch(in, out, err, options) != 0) {
            state.SkipWithError("the batch failed");
            break;
        }
    }
    state.counters["scrambles/s"] = benchmark::Counter(static_cast<double>(state.iterations() * 8),
                                                       benchmark::Counter::kIsRate);
}

BENCHMARK(batchThroughput)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace cubega
