// The engine on the work of bench/problem_bench.py: (1024, 30) random rows judged at once from
// each stage's start cube, as cube_solver.Problem.evaluate judges them, without Python. The
// time is reported per row.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

#include "cube/notation_reader.hpp"
#include "eval/evaluate.hpp"
#include "stages/stage_problem.hpp"

namespace cubega {
namespace {

constexpr std::size_t kRows = 1024;

// The start cubes of bench/problem_bench.py.
StageProblem problemOf(Stage stage) {
    const std::string_view scramble = stage == Stage::block ? "R U2 F' L D2 B R' U F2 D L2 B' U R"
                                      : stage == Stage::entry
                                          ? "F R U R' U' F' U2 F U F' R U R' U R U2 R' F2 U'"
                                          : "F U F2 U' F' U2 F U' F2 U";
    const CubeState cube = readMoveText(scramble, 100).cube;
    return makeStageProblem(stage, cube, 0, kSequenceLength);
}

void stageProblemRows(benchmark::State& state) {
    const StageProblem problem = problemOf(static_cast<Stage>(state.range(0)));
    std::mt19937 rng(42);
    std::uniform_int_distribution<MoveCode> code(0, 17);
    std::vector<MoveCode> codes(kRows * kSequenceLength);
    for (MoveCode& c : codes) {
        c = code(rng);
    }
    prepareRows(problem, codes);
    const SequenceEvaluator evaluate(problem.start, problem.mode);
    std::vector<Evaluation> results(kRows);
    for (auto _ : state) {
        evaluate.evaluateRows(codes, kSequenceLength, results);
        benchmark::DoNotOptimize(results.data());
    }
    const auto rows = state.iterations() * static_cast<std::int64_t>(kRows);
    state.SetItemsProcessed(rows);
    state.counters["per row"] = benchmark::Counter(
        static_cast<double>(rows), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// stage 0 block, 1 entry, 2 finish
BENCHMARK(stageProblemRows)->ArgName("stage")->Arg(0)->Arg(1)->Arg(2);

}  // namespace
}  // namespace cubega
