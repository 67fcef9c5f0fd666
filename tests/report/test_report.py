"""End-to-end runs of cube-solver-report on small files written here; its reading, its
statistics and its step functions."""

import csv
import io
import json
import math
import os
import subprocess
import sys
import xml.etree.ElementTree
from pathlib import Path

import numpy as np
import pytest

import synthetic_runs
from cube_solver_report import convergence, records, statistics

SCRIPT = Path(__file__).resolve().parents[2] / "report" / "cube-solver-report"
FIGURES = ("time-to-solution", "solution-length", "convergence", "block-locations")


def run_report(*arguments):
    return subprocess.run([sys.executable, str(SCRIPT), *map(str, arguments)],
                          capture_output=True, text=True, timeout=300)


def read_summary(folder):
    with open(folder / "summary.csv", newline="", encoding="utf-8") as table:
        return {row["variant"]: row for row in csv.DictReader(table)}


def write_lines(path, objects):
    path.write_text("".join(json.dumps(item) + "\n" if not isinstance(item, str) else item + "\n"
                            for item in objects), encoding="utf-8")


def solved(line, moves, seconds, generations=1000):
    return {"line": line, "scramble": "R U", "generations": 500, "parameters": {"population": 51},
            "solved": True, "location": 4, "stages": {},
            "totalMoves": moves + 2, "solutionMoves": moves, "evaluations": 51 * generations,
            "seconds": seconds, "selfCheck": True}


def budget_ended(line, seconds):
    return {"line": line, "scramble": "R U", "generations": 500, "parameters": {"population": 51},
            "solved": False, "stoppedAt": {"stage": "finish", "run": 1, "generation": 9,
                                           "best": 400, "bestMoves": 12},
            "evaluations": 51 * 99999, "seconds": seconds}


# A record of a solver that wrote no "line", "solved", "evaluations" or "solutionMoves".
OLDER_RECORD = {"scramble": "R U", "generations": 500, "location": 3,
                "stages": {"block": {"moves": "R", "moveCount": 5, "runs": 1, "generations": 6000},
                           "entry": {"moves": "", "moveCount": 0, "runs": 1, "generations": 10},
                           "finish": {"moves": "F", "moveCount": 20, "runs": 1,
                                      "generations": 200000}},
                "totalMoves": 25, "solution": "R U", "seconds": 2.5, "selfCheck": True}


def test_table_figures_and_p_values(tmp_path):
    write_lines(tmp_path / "a.jsonl", [solved(1, 31, 2.0, 2000), solved(2, 30, 1.0, 1000),
                                       solved(3, 32, 3.0, 3000)])
    write_lines(tmp_path / "b.jsonl", [solved(1, 40, 4.0), budget_ended(2, 9.5),
                                       {"line": 3, "error": "not a move: X"}, solved(4, 42, 6.0),
                                       solved(5, 41, 5.0)])
    write_lines(tmp_path / "old.jsonl", [OLDER_RECORD])
    result = run_report("-o", tmp_path / "out", tmp_path / "a.jsonl", tmp_path / "b.jsonl",
                        tmp_path / "old.jsonl")
    assert result.returncode == 0, result.stderr
    assert result.stderr == ""
    table = read_summary(tmp_path / "out")

    a, b, old = table["a"], table["b"], table["old"]
    assert (a["runs"], a["solved"], a["failed_lines"], a["skipped_lines"]) == ("3", "3", "0", "0")
    assert (b["runs"], b["solved"], b["failed_lines"], b["skipped_lines"]) == ("4", "3", "1", "0")
    assert [float(a[f"moves_{q}"]) for q in ("q1", "median", "q3")] == [30.5, 31, 31.5]
    assert [float(a[f"seconds_{q}"]) for q in ("q1", "median", "q3")] == [1.5, 2, 2.5]
    assert [float(a[f"generations_{q}"]) for q in ("q1", "median", "q3")] == [1500, 2000, 2500]
    assert [float(b[f"moves_{q}"]) for q in ("q1", "median", "q3")] == [40.5, 41, 41.5]
    # The budget-ended run is the slowest: the third quartile falls between 6 s and it.
    assert [float(b[f"seconds_{q}"]) for q in ("q1", "median", "q3")] == [4.75, 5.5, math.inf]
    # Exact two-sided Mann-Whitney: no overlap of 3 against 3 is 2/20, of 4 against 3 is 2/35.
    assert a["p_moves"] == "" and a["p_seconds"] == ""
    assert float(b["p_moves"]) == pytest.approx(0.1)
    assert float(b["p_seconds"]) == pytest.approx(2 / 35)
    # Older records: solved, totalMoves for the moves, evaluations from the stages' generations.
    assert (old["runs"], old["solved"], old["moves_median"]) == ("1", "1", "25.0")
    assert float(old["generations_median"]) == 206010
    assert float(old["p_moves"]) == pytest.approx(0.5)

    page = (tmp_path / "out" / "index.html").read_text(encoding="utf-8")
    assert "old, the evaluations of 1 solved run." in page  # it names no population
    for cell in ("<td>31 (30.5\u201331.5)</td>", "<td>5.5 (4.75\u2013\u221e)</td>",
                 "<td>2,000 (1,500\u20132,500)</td>", "<td>0.1</td>", "<td>0.0571</td>"):
        assert cell in page


def assert_figures_written(folder):
    page = (folder / "index.html").read_text(encoding="utf-8")
    for name in FIGURES:
        svg, png = folder / f"{name}.svg", folder / f"{name}.png"
        assert png.read_bytes().startswith(b"\x89PNG\r\n\x1a\n"), name
        assert xml.etree.ElementTree.parse(svg).getroot().tag.endswith("svg"), name
        assert f'src="{name}.svg"' in page


def test_every_figure_written_with_logbooks(tmp_path):
    synthetic_runs.write_variant(tmp_path / "small.jsonl", 8, 51, seed=1, time_limit=2.0)
    synthetic_runs.write_variant(tmp_path / "large.jsonl", 8, 101, seed=2)
    result = run_report("-o", tmp_path / "out", "--label", "51 rows", "--label", "101 rows",
                        tmp_path / "small.jsonl", tmp_path / "large.jsonl")
    assert result.returncode == 0, result.stderr
    assert_figures_written(tmp_path / "out")
    table = read_summary(tmp_path / "out")
    assert table["51 rows"]["logbook"].endswith("small.log.jsonl")
    assert table["51 rows"]["runs"] == table["101 rows"]["runs"] == "8"
    assert table["51 rows"]["skipped_log_rows"] == "0"


def test_malformed_lines_are_named_counted_and_skipped(tmp_path):
    results = tmp_path / "bad.jsonl"
    write_lines(results, [solved(1, 30, 1.0), "{not JSON", [1, 2],
                          {"line": 4, "solved": True, "evaluations": 10, "totalMoves": 3},
                          dict(solved(5, 30, 1.0), location=12)])
    write_lines(tmp_path / "bad.log.jsonl", [
        {"line": 1, "stage": "entry", "run": 1, "generation": 1, "best": 900},
        {"line": 1, "stage": "block", "run": 1, "generation": 1, "best": 50}])
    result = run_report("-o", tmp_path / "out", results)
    assert result.returncode == 0
    assert "Traceback" not in result.stderr
    for line in (2, 3, 4, 5):
        assert f"{results}:{line}: skipped" in result.stderr
    assert f"{tmp_path / 'bad.log.jsonl'}:2: skipped" in result.stderr
    table = read_summary(tmp_path / "out")["bad"]
    assert (table["runs"], table["skipped_lines"], table["skipped_log_rows"]) == ("1", "4", "1")


def test_empty_input_gives_an_empty_report(tmp_path):
    (tmp_path / "empty.jsonl").write_bytes(b"")
    result = run_report("-o", tmp_path / "out", tmp_path / "empty.jsonl")
    assert result.returncode == 0, result.stderr
    assert_figures_written(tmp_path / "out")
    assert read_summary(tmp_path / "out")["empty"]["runs"] == "0"


def test_the_module_is_the_same_command():
    script = run_report("--help")
    module = subprocess.run([sys.executable, "-m", "cube_solver_report", "--help"],
                            capture_output=True, text=True, timeout=60,
                            env=dict(os.environ, PYTHONPATH=str(SCRIPT.parent)))
    assert module.returncode == script.returncode == 0
    assert module.stdout == script.stdout and "cube-solver batch" in module.stdout


@pytest.mark.parametrize("arguments, status, message", [
    (["-o", "{out}", "{missing}"], 2, "no such file"),
    (["-o", "{out}", "--label", "x", "{empty}", "{empty}"], 2, "--label"),
    (["-o", "{empty}/out", "{empty}"], 1, "cannot create"),
])
def test_usage_and_output_errors(tmp_path, arguments, status, message):
    (tmp_path / "empty.jsonl").write_bytes(b"")
    names = {"out": tmp_path / "out", "missing": tmp_path / "missing.jsonl",
             "empty": tmp_path / "empty.jsonl"}
    result = run_report(*(argument.format(**names) for argument in arguments))
    assert result.returncode == status
    assert message in result.stderr and "Traceback" not in result.stderr


def test_stage_curves_join_runs_and_follow_the_winning_location():
    run = records.Run(line=1, solved=True, seconds=1.0, evaluations=51.0, generations=1.0,
                      location=4)
    run.log_rows = [
        # (stage, location, run, generation, best)
        ("block", 4, 1, 1, 50), ("block", 5, 1, 1, 90), ("block", 4, 1, 300, 120),
        ("block", 4, 1, 500, 130), ("block", 4, 2, 1, 130), ("block", 4, 2, 200, 144),
        ("block", 4, 2, 500, 144),
        ("entry", None, 1, 1, 900), ("entry", None, 1, 10, 900), ("entry", None, 2, 1, 900),
        ("entry", None, 2, 6, 1690), ("entry", None, 2, 10, 1690),
    ]
    block_x, block_best = convergence.stage_curve(run, "block")
    assert block_x.tolist() == [1, 300, 500, 501, 700, 1000]
    assert block_best.tolist() == [50, 120, 130, 130, 144, 144]
    entry = convergence.stage_curve(run, "entry")
    assert entry[0].tolist() == [1, 10, 11, 16, 20]
    # In evaluations, a stage of a whole solve counts its own generations x the population.
    run.population = 51
    assert convergence.stage_curve(run, "entry", "evaluations")[0].tolist() == [
        51, 510, 561, 816, 1020]
    assert convergence.stage_curve(run, "finish") is None

    grid = np.array([1, 15, 16, 100])
    assert convergence.curve_values(entry, grid).tolist() == [900, 900, 1690, 1690]
    later = (np.array([2]), np.array([1000.0]))
    low, median, high = convergence.convergence_band([entry, later], grid)
    assert median.tolist() == [900, 950, 1345, 1345]
    assert low.tolist() == [900, 925, 1172.5, 1172.5]


def test_reading_keeps_what_records_give_and_counts_foreign_lines(tmp_path):
    budget_ended_in_block = {"line": 1, "parameters": {"population": 80}, "solved": False,
                             "stages": {"block": {"runs": 1, "generations": 40}},
                             "evaluations": 3200, "seconds": 0.5}
    single_stage = {"stage": "finish", "solved": True, "evaluations": 1000, "seconds": 0.25}
    logbook_row = {"line": 1, "stage": "entry", "run": 1, "generation": 1, "best": 900}
    path = tmp_path / "mixed.jsonl"
    write_lines(path, [budget_ended_in_block, OLDER_RECORD, single_stage, logbook_row])
    variant, stream = records.Variant(label="mixed", path=str(path)), io.StringIO()
    records.read_results(variant, records.SkipReporter(stream))

    assert (len(variant.runs), variant.skipped_lines) == (3, 1)
    assert stream.getvalue() == (
        f'{path}:4: skipped: "seconds" is missing or not a number of at least 0\n')
    ended, older, single = variant.runs
    assert (ended.evaluations, ended.generations) == (3200, 40)
    # No population named: evaluations unknown, generations the stages' own.
    assert (older.evaluations, older.generations, older.moves) == (None, 206010, 25)
    assert (single.stage, single.evaluations, single.generations, single.moves) == (
        "finish", 1000, None, None)
    # The budget-ended run names the block stage only; the stages keep the solver's order.
    assert variant.stages == ["block", "entry", "finish"]
    assert statistics.time_to_solution(variant, "evaluations") == [math.inf, 1000]
    assert statistics.unknown_count(variant, "evaluations") == 1


def test_quartiles_and_time_to_solution_with_runs_a_budget_ended():
    inf = math.inf
    assert statistics.quartiles([3, 1, 2, 4, 5]) == (2, 3, 4)
    assert statistics.quartiles([3, inf, 1, 2]) == (1.75, 2.5, inf)
    assert statistics.quartiles([inf, inf]) == (inf, inf, inf)
    assert statistics.quartiles([]) is None
    # Two of four runs solved: the curve climbs in steps of 1/4 and ends at 1/2, never 1.
    assert statistics.ecdf_steps([2.0, inf, 1.0, inf], 5.0) == (
        [1.0, 1.0, 2.0, 5.0], [0.0, 0.25, 0.5, 0.5])
    assert statistics.ecdf_steps([inf, inf], 5.0) is None


def test_rank_sum_p_values_worked_by_hand():
    # Exact: U = 1 (only 4 > 3); of the C(7, 3) = 35 equally likely orders, U <= 1 in 2.
    assert statistics.two_sided_p([1, 2, 4], [3, 5, 6, 7]) == pytest.approx(4 / 35)
    # Ties (two runs a budget ended): the normal approximation. Ranks 1, 3, 6.5, 6.5 give
    # U = 17 - 10 = 7 against a mean of 6; variance 4 * 3 / 12 * (8 - (2^3 - 2) / (7 * 6)) =
    # 55/7; with the continuity correction z = 0.5 / sqrt(55/7) = 0.178377, p = 0.858427.
    assert statistics.two_sided_p([1, 3, math.inf, math.inf], [2, 4, 5]) == pytest.approx(
        0.858427, abs=1e-6)
    assert statistics.two_sided_p([], [1, 2]) is None


def single_stage_run(line, algorithm, population, evaluations, solved):
    """A record of one stage's search, as examples/deap_stages.py writes it, and its logbook:
    the best climbs from 60 to the goal's 148 (16 x 10 - 12 moves), or to 120 when a budget
    ends the run; a generation evaluates the population."""
    moves = 12
    record = {"line": line, "algorithm": algorithm, "stage": "block", "location": 0,
              "seed": line, "solved": solved, "evaluations": evaluations, "seconds": 0.5,
              "best": 148 if solved else 120, "bestMoves": moves,
              "stages": {"block": {"moves": "R U", "moveCount": moves}},
              "parameters": {"population": population, "length": 30, "budget": 10000}}
    if solved:
        record["totalMoves"] = moves
    rows = [{"line": line, "stage": "block", "location": 0, "run": 1,
             "generation": generation, "evaluations": generation * population, "best": best,
             "bestMoves": moves}
            for generation, best in ((1, 60), (evaluations // population, record["best"]))]
    return record, rows


def test_single_stage_records_of_two_populations_compared_by_evaluations(tmp_path):
    runs = {"a": [single_stage_run(1, "ga", 51, 1020, True),
                  single_stage_run(2, "ga", 51, 2040, True),
                  single_stage_run(3, "ga", 51, 9996, False)],
            "b": [single_stage_run(line, "one-plus-one", 1, 300 * line, True)
                  for line in (1, 2, 3)]}
    for name, solves in runs.items():
        write_lines(tmp_path / f"{name}.jsonl", [record for record, _ in solves])
        write_lines(tmp_path / f"{name}.log.jsonl", [row for _, rows in solves for row in rows])
    result = run_report("-o", tmp_path / "out", tmp_path / "a.jsonl", tmp_path / "b.jsonl")
    assert result.returncode == 0, result.stderr
    assert_figures_written(tmp_path / "out")

    # Labelled by the records' algorithm; evaluations to the goal, the budget-ended run slower
    # than any solved one; complete separation of 3 against 3: exact p = 2/20.
    table = read_summary(tmp_path / "out")
    ga, one = table["ga"], table["one-plus-one"]
    assert [float(ga[f"evaluations_{q}"]) for q in ("q1", "median", "q3")] == [
        1530, 2040, math.inf]
    assert [float(one[f"evaluations_{q}"]) for q in ("q1", "median", "q3")] == [450, 600, 750]
    assert float(ga["share_solved"]) == pytest.approx(2 / 3) and one["share_solved"] == "1.0"
    assert float(one["p_evaluations"]) == pytest.approx(0.1)
    page = (tmp_path / "out" / "index.html").read_text(encoding="utf-8")
    for cell in ("<th>evaluations to the goal</th>", "<td>67%</td>",
                 "<td>2,040 (1,530\u2013\u221e)</td>", "<td>600 (450\u2013750)</td>"):
        assert cell in page

    # The convergence figure's axis: a generation of the (1+1) is one evaluation, of the GA 51.
    variants = records.load_variants([str(tmp_path / "a.jsonl"), str(tmp_path / "b.jsonl")],
                                     ["a", "b"], records.SkipReporter(io.StringIO()))
    assert convergence.convergence_measure(variants) == "evaluations"
    ga_x, ga_best = convergence.stage_curve(variants[0].runs[1], "block", "evaluations")
    one_x, _ = convergence.stage_curve(variants[1].runs[1], "block", "evaluations")
    assert (ga_x.tolist(), ga_best.tolist(), one_x.tolist()) == ([51, 2040], [60, 148], [1, 600])
