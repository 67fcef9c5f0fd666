// A whole run of the built-in scramble with 1000 generations per block search and a frozen
// clock: wall time, total moves and the peak resident memory of the process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "dialogue/driver.hpp"

namespace cubega {
namespace {

std::int32_t loggedTotal(const std::filesystem::path& path) {
    std::ifstream log(path);
    std::string line;
    std::int32_t total = -1;
    while (std::getline(log, line)) {
        if (line.rfind(" total moves # : ", 0) == 0) {
            total = std::stoi(line.substr(17));
        }
    }
    return total;
}

void wholeRunOfTheDefaultScramble(benchmark::State& state) {
    const auto results = std::filesystem::temp_directory_path() / "cubega-bench-results.txt";
    std::int32_t total = 0;
    for (auto _ : state) {
        std::istringstream in("3\n1000\n0\n");
        std::ostringstream out, err;
        FixedClock clock({static_cast<std::uint32_t>(state.range(0)), 1765000000});
        DialogueEnvironment environment{in, out, err, clock, results};
        if (holdDialogue(environment) != 0) {
            state.SkipWithError("the run failed");
            break;
        }
        total = loggedTotal(results);
    }
    std::filesystem::remove(results);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["total moves"] = total;
    state.counters["peak RSS (MB)"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The clock value picks the run; several show the spread.
BENCHMARK(wholeRunOfTheDefaultScramble)
    ->ArgName("clock ms")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace cubega
