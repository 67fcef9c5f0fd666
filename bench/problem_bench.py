#!/usr/bin/env python3
"""Rows per second of cube_solver.Problem.evaluate, against the engine's own evaluation of a
population (cubega_bench's fastEvaluationOfPopulation on the same back end), in one sitting.

Each stage's problem evaluates (1024, 30) random rows per call, the numpy round trip included
(an int64 array in, as numpy makes it by default, and an int8 one; two int32 arrays out). Both
sides: the median of five timings of about --seconds / 5 each. The target: at least half the
engine's rate.

    PYTHONPATH=build/release/python python3 bench/problem_bench.py \\
        --engine build/release/bench/cubega_bench
"""

import argparse
import json
import statistics
import subprocess
import sys
import timeit
from pathlib import Path

import numpy as np

REPO = Path(__file__).resolve().parents[1]
try:
    import cube_solver
except ImportError:
    sys.path.insert(0, str(REPO / "build" / "release" / "python"))
    import cube_solver

# The stage's start cubes (as in tests/python/test_problem.py) and the engine's mode numbers.
STAGES = [
    ("block", dict(scramble="R U2 F' L D2 B R' U F2 D L2 B' U R", location=0), 3),
    ("entry", dict(scramble="F R U R' U' F' U2 F U F' R U R' U R U2 R' F2 U'"), 4),
    ("finish", dict(scramble="F U F2 U' F' U2 F U' F2 U"), 2),
]


def rows_per_second(problem, rows, seconds):
    """The median rate of five timings."""
    calls = max(1, int(seconds / 5 / timed_call(problem, rows)))
    times = timeit.repeat(lambda: problem.evaluate(rows), number=calls, repeat=5)
    return len(rows) * calls / statistics.median(times)


def timed_call(problem, rows):
    return min(timeit.repeat(lambda: problem.evaluate(rows), number=1, repeat=3))


def engine_rates(engine, back_end, seconds):
    """items_per_second of fastEvaluationOfPopulation on the back end, by mode: the median of
    five repetitions."""
    run = subprocess.run(
        [str(engine), f"--benchmark_filter=fastEvaluationOfPopulation/path:{back_end}/",
         "--benchmark_format=json", f"--benchmark_min_time={seconds / 5}",
         "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true"],
        capture_output=True, text=True, check=True)
    return {int(result["run_name"].rsplit("mode:", 1)[1]): result["items_per_second"]
            for result in json.loads(run.stdout)["benchmarks"]
            if result.get("aggregate_name") == "median"}


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rows", type=int, default=1024)
    parser.add_argument("--seconds", type=float, default=2.0, help="per measurement")
    parser.add_argument("--engine", type=Path, default=REPO / "build/release/bench/cubega_bench",
                        help="the cubega_bench binary (left out when it does not exist)")
    arguments = parser.parse_args(argv)

    rng = np.random.default_rng(42)
    rows = rng.integers(0, 18, size=(arguments.rows, 30))
    problems = [(name, cube_solver.Problem(name, **start), mode) for name, start, mode in STAGES]
    back_end = problems[0][1].back_end
    engine = (engine_rates(arguments.engine, back_end, arguments.seconds)
              if arguments.engine.exists() else {})

    print(f"back end {back_end}, ({arguments.rows}, 30) rows a call, million rows per second")
    print(f"{'stage':>7} {'int64 rows':>11} {'int8 rows':>10} {'engine':>8} {'int64/engine':>13}")
    for name, problem, mode in problems:
        wide = rows_per_second(problem, rows, arguments.seconds)
        narrow = rows_per_second(problem, rows.astype(np.int8), arguments.seconds)
        own = engine.get(mode)
        ratio = f"{wide / own:13.2f}" if own else f"{'-':>13}"
        own_text = f"{own / 1e6:8.2f}" if own else f"{'-':>8}"
        print(f"{name:>7} {wide / 1e6:11.2f} {narrow / 1e6:10.2f} {own_text} {ratio}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
