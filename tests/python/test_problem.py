"""The stages as problems for any optimizer: cube_solver.Problem against the plain evaluation
and the solver's own answers, the Logbook's columns, and the example that compares optimizers."""

import json
import os
import subprocess
import sys
from pathlib import Path

import numpy as np
import pytest

import cube_solver

REPO = Path(__file__).resolve().parents[2]
MODULE_DIR = Path(cube_solver.__file__).resolve().parent
SCRAMBLE = "R U2 F' L D2 B R' U F2 D L2 B' U R"
# The entry stage starts from a complete block: moves that keep the first two layers (and so
# the block between D and B) leave the cube outside the group of F and U turns.
ENTRY_SCRAMBLE = "F R U R' U' F' U2 F U F' R U R' U R U2 R' F2 U'"
# The finish starts in the group of F and U turns.
FINISH_SCRAMBLE = "F U F2 U' F' U2 F U' F2 U"


def codes_of(notation):
    """Move codes of standard notation: face F U R B D L, + 6 for a half turn, + 12 for '."""
    codes = []
    for move in cube_solver.parse(notation):
        code = "FURBDL".index(move[0])
        code += 6 if move.endswith("2") else 12 if move.endswith("'") else 0
        codes.append(code)
    return codes


def problems():
    return [cube_solver.Problem("block", SCRAMBLE, location=5),
            cube_solver.Problem("entry", ENTRY_SCRAMBLE),
            cube_solver.Problem("finish", FINISH_SCRAMBLE, length=24)]


def test_evaluate_gives_the_plain_evaluation_row_by_row_and_counts_every_row():
    rng = np.random.default_rng(5)
    for problem in problems():
        counted = 0
        for n, dtype in [(1, np.int64), (63, np.uint8), (64, np.int32), (65, np.int16),
                         (1000, np.int64)]:
            rows = rng.integers(0, 18, size=(n, problem.dimension)).astype(dtype)
            if n == 65:
                rows = rows[:, ::-1]  # strided
            objectives, move_counts = problem.evaluate(rows)
            expected_objectives, expected_counts = problem._reference_evaluate(rows)
            assert objectives.dtype == np.int32 and move_counts.dtype == np.int32
            assert objectives.tolist() == expected_objectives, (problem, n)
            assert move_counts.tolist() == expected_counts, (problem, n)
            counted += n
            assert problem.evaluations == counted
        row = rows[7]
        assert problem(row.tolist()) == objectives[7]
        assert problem.evaluations == counted + 1
        assert len(problem.moves(row).split()) == move_counts[7]
        problem.reset()
        assert problem.evaluations == 0
    # The finish judges every code folded onto F and U: F R D as F, U B L as U.
    finish = problems()[2]
    rows = rng.integers(0, 18, size=(100, finish.dimension))
    folded = rows % 2 + 6 * (rows // 6)
    assert finish.folded and (finish.evaluate(rows)[0] == finish.evaluate(folded)[0]).all()


def test_bad_rows_and_wrong_start_cubes_raise_value_error_with_the_position():
    problem = cube_solver.Problem("block", SCRAMBLE, location=0)
    rows = np.zeros((5, 30), dtype=np.int64)
    bad_code = np.asfortranarray(rows)  # strided, as a transposed array is
    bad_code[3, 7] = 18
    negative = rows.astype(np.int8)
    negative[4, 29] = -1
    cases = [
        (lambda: problem.evaluate(rows[:, :29]), r"\(n, 30\) array .* shape \(5, 29\)"),
        (lambda: problem.evaluate(rows[0]), r"\(n, 30\) array .* shape \(30,\)"),
        (lambda: problem.evaluate(rows.astype(float)), "must hold integers, not float64"),
        (lambda: problem.evaluate(rows.astype(bool)), "must hold integers, not bool"),
        (lambda: problem.evaluate(bad_code), "row 3, slot 7: 18 is not a move code"),
        (lambda: problem.evaluate(negative), "row 4, slot 29: -1 is not a move code"),
        (lambda: problem([0] * 31), r"a row must be 30 move codes, not an array of shape \(31,\)"),
        (lambda: cube_solver.Problem("entry", SCRAMBLE, location=3),
         "the cube's block at location 3 is not complete: the entry stage starts from a built"),
        (lambda: cube_solver.Problem("finish", ENTRY_SCRAMBLE),
         "the cube turned to location 0 is not in the group of F and U turns"),
        (lambda: cube_solver.Problem("finish", SCRAMBLE), "block at location 0 is not complete"),
        (lambda: cube_solver.Problem("block", SCRAMBLE), "a block problem needs its location"),
        (lambda: cube_solver.Problem("block", SCRAMBLE, location=12), "location must be a whole"),
        (lambda: cube_solver.Problem("middle", SCRAMBLE), "stage must be block, entry or finish"),
        (lambda: cube_solver.Problem("entry"), "give the start cube"),
        (lambda: cube_solver.Problem("block", "R Q", location=0), '"Q" is not a move'),
    ]
    for call, message in cases:
        with pytest.raises(ValueError, match=message):
            call()
    assert problem.evaluations == 0


def padded(notation, length):
    codes = codes_of(notation)
    return codes + [0] * (length - len(codes))


def test_the_solvers_stages_meet_their_goals_and_search_repeats_the_solvers_run():
    record = cube_solver.solve(SCRAMBLE, seed=7, generations=200, stop_at_goal=True, log=True)
    stages = record["stages"]
    block = cube_solver.Problem("block", SCRAMBLE, location=record["location"])
    row = padded(stages["block"]["moves"], block.dimension)
    assert block.goal_met(np.array([row])).tolist() == [True]
    assert block.moves(row) == stages["block"]["moves"]
    # Each stage starts where the last one's moves end, in the same frame.
    entry = cube_solver.Problem("entry", facelets=block.apply(row))
    entry_row = padded(stages["entry"]["moves"], entry.dimension)
    assert entry.goal_met(entry_row).tolist() == [True]
    finish = cube_solver.Problem("finish", facelets=entry.apply(entry_row))
    assert finish.goal_met(padded(stages["finish"]["moves"], finish.dimension)).tolist() == [True]
    assert (block.target, entry.target, finish.target) == (16, 170, 48)

    # The solver searches location 0 first, from the same seed: its first pass is this search.
    first_location = cube_solver.Problem("block", SCRAMBLE, location=0)
    search = first_location.search(200, 7)
    without_seconds = lambda rows: [{k: v for k, v in r.items() if k != "seconds"} for r in rows]
    solvers = [row for row in record["log"] if row.get("location") == 0 and row["run"] == 1]
    assert without_seconds(search["log"]) == without_seconds(solvers)
    assert search["best"] == first_location(search["row"])
    assert search["evaluations"] == search["generations"] * 51
    assert search["solved"] == first_location.goal_met(search["row"])[0]


def test_logbook_rows_have_the_programs_columns_and_exact_figures():
    problem = cube_solver.Problem("entry", ENTRY_SCRAMBLE, length=3)
    log = cube_solver.Logbook(problem, line=4)
    rows = np.array([[1, 2, 3], [1, 2, 3], [0, 0, 0], [4, 5, 6]])
    row = log.record(2, 10, np.array([5, 9, 9, 1]), [3, 4, 2, 7], rows, evaluations=40)
    assert {k: v for k, v in row.items() if k != "seconds"} == {
        "line": 4, "stage": "entry", "run": 2, "generation": 10, "evaluations": 40, "best": 9,
        "bestMoves": 4, "mean": 6.0, "worst": 1, "distinct": 3}
    problem.evaluate(rows)
    assert log.record(2, 11, [1], [1])["evaluations"] == 4
    assert log.rows[1]["distinct"] is None and len(log.rows) == 2


def test_the_example_writes_records_and_logbooks_the_report_reads(tmp_path):
    pytest.importorskip("deap")
    environment = dict(os.environ, PYTHONPATH=str(MODULE_DIR))
    run = subprocess.run(
        [sys.executable, str(REPO / "examples" / "deap_stages.py"), "--instances", "2",
         "--budget", "500", "--seed", "3", "--out", str(tmp_path / "runs")],
        capture_output=True, text=True, timeout=300, check=False, env=environment)
    assert run.returncode == 0, run.stderr
    records = sorted((tmp_path / "runs").glob("*.jsonl"))
    variants = [path for path in records if not path.name.endswith(".log.jsonl")]
    assert len(variants) == 4
    for path in variants:
        lines = [json.loads(line) for line in path.read_text().splitlines()]
        assert len(lines) == 2
        for record in lines:
            assert record["stage"] == "block" and record["location"] == 0
            assert record["evaluations"] <= 500 and isinstance(record["solved"], bool)
        rows = [json.loads(line) for line in path.with_suffix(".log.jsonl").read_text().splitlines()]
        assert rows and {"line", "stage", "run", "generation", "best", "bestMoves"} <= rows[0].keys()

    report = subprocess.run(
        [sys.executable, str(REPO / "report" / "cube-solver-report"), *map(str, variants),
         "--out", str(tmp_path / "report")],
        capture_output=True, text=True, timeout=300, check=False,
        env=dict(environment, MPLBACKEND="Agg"))
    assert report.returncode == 0, report.stderr
    assert "skipped" not in report.stderr, report.stderr
