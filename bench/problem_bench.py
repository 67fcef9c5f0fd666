#!/usr/bin/env python3
"""Rows per second of cube_solver.Problem.evaluate, against the engine in one sitting: cubega_bench's
stageProblemRows (the same (1024, 30) rows from the same start cubes, judged without Python)
and fastEvaluationOfPopulation (a population of 51 rows, the generation loop's evaluation),
both on the back end the module uses.

Each stage's problem evaluates (1024, 30) random rows per call, the numpy round trip included
(an int64 array in, as numpy makes it by default, and an int8 one; two int32 arrays out). Both
sides count processor time, as Google Benchmark's items_per_second does, so that other work on
a shared machine weighs on neither; the median of five timings of about --seconds / 5 each.
The target: at least half the engine's rate.

    PYTHONPATH=build/release/python python3 bench/problem_bench.py \\
        --engine build/release/bench/cubega_bench
"""

import argparse
import json
import statistics
import subprocess
import sys
import time
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
    """The median rate of five timings, in processor time."""
    call = lambda: problem.evaluate(rows)
    once = min(timeit.repeat(call, number=1, repeat=3, timer=time.process_time))
    calls = max(1, int(seconds / 5 / max(once, 1e-6)))
    times = timeit.repeat(call, number=calls, repeat=5, timer=time.process_time)
    return len(rows) * calls / statistics.median(times)


def engine_rates(engine, back_end, seconds):
    """items_per_second by benchmark: stageProblemRows by stage name, fastEvaluationOfPopulation
    by mode; the median of five repetitions."""
    run = subprocess.run(
        [str(engine),
         f"--benchmark_filter=stageProblemRows|fastEvaluationOfPopulation/path:{back_end}/",
         "--benchmark_format=json", f"--benchmark_min_time={seconds / 5}",
         "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true"],
        capture_output=True, text=True, check=True)
    stage_names = {"0": "block", "1": "entry", "2": "finish"}
    rates = {}
    for result in json.loads(run.stdout)["benchmarks"]:
        if result.get("aggregate_name") != "median":
            continue
        name, argument = result["run_name"].rsplit(":", 1)
        key = stage_names[argument] if name.startswith("stageProblemRows") else int(argument)
        rates[key] = result["items_per_second"]
    return rates


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
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
    print(f"{'stage':>7} {'int64 rows':>11} {'int8 rows':>10} {'same rows':>10} "
          f"{'population':>11} {'int64/same rows':>16}")
    for name, problem, mode in problems:
        wide = rows_per_second(problem, rows, arguments.seconds)
        narrow = rows_per_second(problem, rows.astype(np.int8), arguments.seconds)
        same, population = engine.get(name), engine.get(mode)
        figures = [f"{wide / 1e6:11.2f}", f"{narrow / 1e6:10.2f}",
                   f"{same / 1e6:10.2f}" if same else f"{'-':>10}",
                   f"{population / 1e6:11.2f}" if population else f"{'-':>11}",
                   f"{wide / same:16.2f}" if same else f"{'-':>16}"]
        print(f"{name:>7} " + " ".join(figures))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
