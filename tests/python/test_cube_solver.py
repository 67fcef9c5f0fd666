"""The Python module against the command line: seeded records and logbooks field for field, the
rules' messages, solve_many's order over threads, and Ctrl-C during a solve."""

import _thread
import ast
import inspect
import json
import os
import re
import subprocess
import threading
import time
from pathlib import Path

import pytest

import cube_solver

MODULE_DIR = Path(cube_solver.__file__).resolve().parent
SOLVER = Path(os.environ.get("CUBE_SOLVER", MODULE_DIR.parent / "cube-solver"))
STUB = Path(__file__).resolve().parents[2] / "src" / "python" / "cube_solver.pyi"


def without_time(record):
    """A record without its wall times, which no two runs share."""
    record = {key: value for key, value in record.items() if key != "seconds"}
    if "log" in record:
        record["log"] = [without_time(row) for row in record["log"]]
    return record


def command_line_record(tmp_path, arguments, log_every=None):
    """`cube-solver solve ... --format json`, with its logbook as "log" when asked for."""
    command = [str(SOLVER), "solve", *arguments, "--format", "json"]
    log_file = tmp_path / "log.jsonl"
    if log_every is not None:
        command += ["--log", str(log_file), "--log-every", str(log_every)]
    run = subprocess.run(command, capture_output=True, text=True, timeout=300, check=False)
    assert run.returncode in (0, 4), run.stderr  # 4: a budget ended the search
    record = json.loads(run.stdout)
    if log_every is not None:
        record["log"] = [json.loads(line) for line in log_file.read_text().splitlines()]
    return record


@pytest.mark.parametrize("keywords, options, log_every", [
    ({"scramble": "R U2 F' L", "seed": 7, "generations": 40, "stop_at_goal": True},
     ["R", "U2", "F'", "L", "--seed", "7", "-g", "40", "--stop-at-goal"], 25),
    ({"random": 15, "seed": 3, "generations": 60, "population": 40, "length": 24, "immigrants": 3,
      "mutation_rate": 0.1, "crossover_rate": 0.7, "selection_pressure": 1.8,
      "entry_generations": 500, "finish_generations": 2000, "max_generations": 9000},
     ["--random", "15", "--seed", "3", "-g", "60", "--population", "40", "--length", "24",
      "--immigrants", "3", "--mutation-rate", "0.1", "--crossover-rate", "0.7",
      "--selection-pressure", "1.8", "--entry-generations", "500", "--finish-generations", "2000",
      "--max-generations", "9000"], None),
])
def test_seeded_solve_is_the_command_lines_record(tmp_path, keywords, options, log_every):
    expected = command_line_record(tmp_path, options, log_every)
    result = cube_solver.solve(**keywords, log=log_every is not None, log_every=log_every)
    assert without_time(result) == without_time(expected)
    assert ("log" in result) == (log_every is not None)


def test_bad_values_raise_value_error_with_the_rules_message():
    solved = "U" * 9 + "R" * 9 + "F" * 9 + "D" * 9 + "L" * 9 + "B" * 9
    twisted = list(solved)
    twisted[8], twisted[9], twisted[20] = "R", "F", "U"  # the corner of U9, R1 and F3
    twisted = "".join(twisted)
    cases = [
        (lambda: cube_solver.solve("R U2 Q2 F"), 'character 6 of the scramble: "Q" is not a move'),
        (lambda: cube_solver.solve("R", population=1), "population must be a whole number from 2"),
        (lambda: cube_solver.solve("R", mutation_rate=1.5), "mutation_rate must be a number from 0"),
        (lambda: cube_solver.solve("R", log=True, log_every=0),
         "log_every must be a whole number from 1"),
        (lambda: cube_solver.solve("R", log_every=5), "log_every needs log=True"),
        (lambda: cube_solver.solve("R", log=True, tries=2),
         "the logbook keeps one try: give tries=1 (or none)"),
        (lambda: cube_solver.solve(), "give a scramble: scramble, facelets or random"),
        (lambda: cube_solver.solve("R", random=4), "give one scramble only"),
        (lambda: cube_solver.solve(facelets=twisted), "the facelets: a corner is twisted"),
        (lambda: cube_solver.parse("R U X"), 'character 5 of the scramble: "X" is not a move'),
        (lambda: cube_solver.check_facelets(twisted), "a corner is twisted"),
        (lambda: cube_solver.solve_many([], jobs=0), "jobs must be a whole number from 1 to 1024"),
    ]
    for call, message in cases:
        with pytest.raises(ValueError, match=re.escape(message)):
            call()
    assert cube_solver.check_facelets(solved) is None
    assert cube_solver.parse("R U2 F' L2'") == ["R", "U2", "F'", "L2"]
    assert cube_solver.parse("[R, U] x") == ["R", "B", "R'", "B'"]  # U is at the back after x


def test_solve_many_on_two_threads_gives_the_records_of_one_in_order():
    requests = [{"scramble": "R U2 F'", "seed": 1, "generations": 40, "stop_at_goal": True},
                {"random": 12, "seed": 9, "generations": 30, "stop_at_goal": True},
                {"scramble": "R", "population": 1},
                {"scramble": "F2 L' D", "seed": 4, "generations": 20, "stop_at_goal": True,
                 "log": True},
                {"scramble": "U", "seed": 5, "unknown": 1},
                {"random": 8, "seed": 6, "generations": 50, "stop_at_goal": True}]
    one = [without_time(record) for record in cube_solver.solve_many(requests, jobs=1)]
    two = [without_time(record) for record in cube_solver.solve_many(requests, jobs=2)]
    assert two == one
    assert one[2] == {"error": "population must be a whole number from 2 to 4096"}
    assert one[4] == {"error": "solve() got an unexpected keyword argument 'unknown'"}
    assert one[0] == without_time(cube_solver.solve(**requests[0]))
    assert [record.get("seed") for record in one] == [1, 9, None, 4, None, 6]
    assert "log" in one[3] and "log" not in one[0]


def threads_of_this_process():
    status = Path("/proc/self/status").read_text()
    return int(status.split("Threads:")[1].split()[0])


def interrupted_after(start_the_solve):
    """Seconds from Ctrl-C (sent from another thread) to KeyboardInterrupt in the solve."""
    sent = []

    def interrupt():
        sent.append(time.perf_counter())
        _thread.interrupt_main()

    timer = threading.Timer(0.3, interrupt)
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        start_the_solve()
    raised = time.perf_counter()
    timer.join()
    return raised - sent[0]


def test_ctrl_c_ends_a_solve_promptly_and_leaves_no_thread():
    threads = threads_of_this_process()
    endless = {"scramble": "R U2 F", "generations": 100_000_000}
    # Generous bounds: the check is that the solve stops at once, not how fast the machine is.
    assert interrupted_after(lambda: cube_solver.solve(**endless)) < 1.0
    assert interrupted_after(lambda: next(cube_solver.solve_many([endless] * 4, jobs=2))) < 1.0
    assert threads_of_this_process() == threads
    result = cube_solver.solve("R U", seed=1, generations=20, stop_at_goal=True)
    assert result["solved"] and result["selfCheck"]


def python_ticks_during(call):
    """How often another Python thread ran during the middle of a call."""
    ticks = []
    stop = threading.Event()

    def tick():
        while not stop.is_set():
            ticks.append(time.perf_counter())
            time.sleep(0.001)

    ticker = threading.Thread(target=tick)
    ticker.start()
    start = time.perf_counter()
    call()
    end = time.perf_counter()
    stop.set()
    ticker.join()
    return sum(start + 0.1 < tick_time < end - 0.1 for tick_time in ticks)


def test_python_runs_beside_the_solves():
    half_a_second = {"scramble": "R U2 F", "generations": 100_000_000, "time_limit": 0.5}
    assert python_ticks_during(lambda: cube_solver.solve(**half_a_second)) > 20
    assert python_ticks_during(lambda: list(cube_solver.solve_many([half_a_second], jobs=1))) > 20


def test_the_stubs_show_the_parameters_the_module_takes():
    def parameters(function):
        arguments = function.args
        defaults = [None] * (len(arguments.args) - len(arguments.defaults)) + arguments.defaults
        positional = [(a.arg, d and ast.literal_eval(d)) for a, d in zip(arguments.args, defaults)]
        keywords = [(a.arg, d and ast.literal_eval(d))
                    for a, d in zip(arguments.kwonlyargs, arguments.kw_defaults)]
        return positional, keywords

    def signature_parameters(function):
        kinds = inspect.Parameter
        signature = inspect.signature(function).parameters.values()
        positional = [(p.name, p.default) for p in signature if p.kind != kinds.KEYWORD_ONLY]
        keywords = [(p.name, p.default) for p in signature if p.kind == kinds.KEYWORD_ONLY]
        return positional, keywords

    stubs = {node.name: node for node in ast.parse(STUB.read_text()).body
             if isinstance(node, ast.FunctionDef)}
    assert parameters(stubs["solve"]) == signature_parameters(cube_solver.solve)
    for name in ("solve_many", "parse", "check_facelets", "fields"):
        signature = getattr(cube_solver, name).__doc__.splitlines()[0]
        module_function = ast.parse(f"def {signature}: pass").body[0]
        assert parameters(stubs[name]) == parameters(module_function), name


def test_every_field_is_the_command_lines_rule_and_its_default_is_echoed():
    """The keywords' rules give the command line's messages, named as keywords, and a solve
    given the program's value of a search field echoes it in its parameters."""
    for field in cube_solver.fields():
        if field["kind"] not in ("whole", "real") or field["keyword"] not in KEYWORDS:
            continue
        minimum = field["minimum"]
        value = minimum - 1 if field["kind"] == "whole" else (
            minimum - 0.5 if field["minimumAllowed"] else minimum)
        arguments = {"scramble": None if field["key"] == "random" else "R",
                     field["keyword"]: value}
        if field["group"] == "logbook":
            arguments["log"] = True
        with pytest.raises(ValueError) as refused:
            cube_solver.solve(**arguments)
        options = [field["option"], str(value)] + ([] if field["key"] == "random" else ["R"])
        if field["group"] == "logbook":
            options += ["--log", os.devnull]
        run = subprocess.run([str(SOLVER), "solve", *options], capture_output=True, text=True,
                             timeout=60, check=False)
        message = str(refused.value)
        assert message.startswith(field["keyword"] + " must be")
        assert run.stderr == "cube-solver: " + field["option"] + message[len(field["keyword"]):] + "\n"
    for field in cube_solver.fields():
        if field["group"] in ("search", "tries", "budget") and field["default"] is not None:
            budget = {} if field["key"] == "maxGenerations" else {"max_generations": 1}
            record = cube_solver.solve("R U", **{field["keyword"]: field["default"]}, **budget)
            assert record["parameters"][field["key"]] == field["default"], field["key"]


KEYWORDS = set(inspect.signature(cube_solver.solve).parameters)
