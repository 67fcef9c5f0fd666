// The batch command's throughput with one solve at a time and with two: scrambles a second.
#include <benchmark/benchmark.h>

#include <iterator>
#include <sstream>
#include <string>

#include "cli/batch.hpp"
#include "request/request_fields.hpp"

namespace cubega {
namespace {

// Sixteen seeded scrambles of the kind a batch holds, 30 generations a block search. (With
// two solves at a time, the last one alone sets the end; the more lines, the less that
// counts, as in batches of hundreds.)
constexpr const char* kScrambles[] = {
    "R U2 F' L D2 B", "F R U' B2 D",   "L' D B2 R F'", "U R2 F D' L2",
    "B' L U2 R' D",   "D2 F' U L B2",  "R' B D2 F U'", "L2 U' R B' F2",
    "F2 D R' U B",    "U' L2 B R D'",  "D B' F2 L U",  "R2 F' D U2 L'",
    "B2 U F' R L2",   "L D' R2 B' U2", "F' U2 L D B'", "U2 B R' F D2"};

// The scrambles as plain lines, or as JSON lines that ask for `tries` tries each.
std::string seededLines(std::int64_t tries) {
    std::string lines;
    for (const char* scramble : kScrambles) {
        lines += tries > 1 ? "{\"scramble\": \"" + std::string(scramble) +
                                 "\", \"tries\": " + std::to_string(tries) + "}\n"
                           : std::string(scramble) + "\n";
    }
    return lines;
}

void batchThroughput(benchmark::State& state) {
    BatchOptions options;
    options.defaults.values.set(FieldId::generations, std::int64_t{30});
    options.defaults.seed = 2026;
    options.jobs = static_cast<std::size_t>(state.range(0));
    const std::string lines = seededLines(state.range(1));
    for (auto _ : state) {
        std::istringstream in(lines);
        std::ostringstream out, err;
        if (runBatch(in, out, err, options) != 0) {
            state.SkipWithError("the batch failed");
            break;
        }
    }
    state.counters["scrambles/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * static_cast<double>(std::size(kScrambles)),
        benchmark::Counter::kIsRate);
}

// A line's tries run side by side on the batch's jobs, as its lines do.
BENCHMARK(batchThroughput)
    ->ArgNames({"jobs", "tries"})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({1, 2})
    ->Args({2, 2})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace cubega
