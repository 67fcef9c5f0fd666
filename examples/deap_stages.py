#!/usr/bin/env python3
"""Other optimizers on the solver's stages, at the same budget of evaluations.

Runs four algorithms on the same instances of one stage (block: random scrambles; entry: the
same with the block built by the program's own search; finish: random scrambles of F and U
turns):

  cube-solver    the program's own genetic search (Problem.search), seeded as --seed seeds
  deap           DEAP's eaSimple: tournament selection (3), two-point crossover (0.8), uniform
                 integer mutation (every child, each slot with chance 0.05)
  random         a random search: batches of --population uniform rows
  one-plus-one   a (1+1) evolution strategy: each slot of the parent reset with chance 1/L
                 (at least one), the child kept when it is at least as good

Every run evaluates at most --budget rows and ends at the first batch (a generation; one row for
the (1+1)) that holds a row meeting the stage's goal; the program's own search ends when its
best row meets it, after at most budget // population generations. Each algorithm's runs go to
DIR/NAME.jsonl, one record a run (stage, location, instance, scramble, seed, solved,
evaluations: to the goal, or all that were made; seconds, best, bestMoves, ...), and its
logbook to DIR/NAME.log.jsonl, in the program's logbook columns: one row for the current
population (the random search's batch, the (1+1)'s parent) at the first generation, at every
one whose best rises, every --log-every-th and at the last. cube-solver-report reads the
records as variants:

    cube-solver-report DIR/cube-solver.jsonl DIR/deap.jsonl DIR/random.jsonl \\
        DIR/one-plus-one.jsonl --out DIR/report

Needs the cube_solver module and Debian's python3-deap and python3-numpy.
"""

import argparse
import json
import random
import statistics
import sys
import time
from pathlib import Path

try:
    import numpy as np
    from deap import algorithms, base, creator, tools

    import cube_solver
except ImportError as missing:
    sys.exit(f"deap_stages.py: needs {missing.name} (cube_solver, python3-deap, python3-numpy)")

ALGORITHMS = ("cube-solver", "deap", "random", "one-plus-one")
# The program's own search builds the block of an entry instance: generations of an attempt.
BUILD_GENERATIONS = 20000
BUILD_ATTEMPTS = 20


# ---------------------------------------------------------------------------------------------
# Instances


def random_scramble(rng, faces="FURBDL", length=25):
    """Standard notation, no two neighbouring moves on one face."""
    moves = []
    while len(moves) < length:
        face = rng.choice(faces)
        if not moves or moves[-1][0] != face:
            moves.append(face + rng.choice(["", "2", "'"]))
    return " ".join(moves)


def built_block(problem, seed):
    """A row that completes the block (in any number of moves), from the program's own search
    (seeds seed, seed + 1, ... until one does)."""
    for attempt in range(BUILD_ATTEMPTS):
        record = problem.search(BUILD_GENERATIONS, seed + attempt)
        if (record["best"] + record["bestMoves"]) // 10 == problem.target:
            return record["row"]
    raise SystemExit("deap_stages.py: no search completed the block")


def instance(stage, rng, location, length, seed):
    """A stage's problem and its scramble: block, a random scramble at the location; entry, the
    same with the block built on it by the program's own search; finish, a random scramble of
    F and U turns (the group of F and U turns with the block complete, where the finish
    starts)."""
    if stage == "finish":
        scramble = random_scramble(rng, faces="FU")
        return cube_solver.Problem("finish", scramble, length=length), scramble
    scramble = random_scramble(rng)
    block = cube_solver.Problem("block", scramble, location=location, length=length)
    if stage == "block":
        return block, scramble
    # apply() gives the cube in the block problem's frame, turned already: location 0 keeps it.
    facelets = block.apply(built_block(block, seed))
    return cube_solver.Problem("entry", facelets=facelets, length=length), scramble


# ---------------------------------------------------------------------------------------------
# A run: the budget, the best row, the goal, the logbook


class RunEnded(Exception):
    """The budget is spent or the goal met."""


class Run:
    """One run of an optimizer on a problem: evaluates batches of rows within the budget, keeps
    the best row and the first that meets the goal, and logs generations as the program's
    logbook does."""

    def __init__(self, problem, budget, line, log_every):
        problem.reset()
        self.problem, self.budget, self.log_every = problem, budget, log_every
        self.logbook = cube_solver.Logbook(problem, line=line)
        self.start = time.perf_counter()
        self.best = None  # (objective, move count, row)
        self.goal_row = None
        self.evaluations_to_goal = None
        self.generation = 0
        self.previous_best = None
        self.unlogged = None  # the last generation, when its row is not written yet

    @property
    def left(self):
        return self.budget - self.problem.evaluations

    def evaluate(self, rows):
        """Objectives and move counts of the rows the budget still allows (maybe fewer)."""
        rows = np.asarray(rows)[: self.left]
        objectives, move_counts = self.problem.evaluate(rows)
        top = int(np.argmax(objectives)) if len(rows) else None
        if top is not None and (self.best is None or objectives[top] > self.best[0]):
            self.best = (int(objectives[top]), int(move_counts[top]), rows[top].copy())
        if self.goal_row is None:
            self.look_for_goal(rows, objectives, move_counts)
        return objectives, move_counts

    def look_for_goal(self, rows, objectives, move_counts):
        # Only rows whose best score (objective = 10 x score - moves) reaches the target can
        # meet the goal; the stage's own test decides for them.
        reaching = np.flatnonzero((objectives + move_counts) // 10 == self.problem.target)
        met = reaching[self.problem.goal_met(rows[reaching])] if len(reaching) else []
        if len(met):
            self.goal_row = rows[met[0]].copy()
            self.evaluations_to_goal = self.problem.evaluations

    @property
    def ended(self):
        return self.goal_row is not None or self.left <= 0

    def generation_done(self, objectives, move_counts, rows):
        """The population after a generation, for the logbook."""
        self.generation += 1
        best = max(objectives)
        if (self.generation == 1 or best > self.previous_best or
                self.generation % self.log_every == 0):
            self.logbook.record(1, self.generation, objectives, move_counts, rows)
            self.unlogged = None
        else:
            self.unlogged = (self.generation, objectives, move_counts, rows,
                             self.problem.evaluations)
        self.previous_best = best

    def result(self):
        """The run's figures, its last generation logged."""
        if self.unlogged is not None:
            generation, objectives, move_counts, rows, evaluations = self.unlogged
            self.logbook.record(1, generation, objectives, move_counts, rows,
                                evaluations=evaluations)
        solved = self.goal_row is not None
        answer = self.goal_row if solved else self.best[2]
        return {"solved": solved,
                "evaluations": self.evaluations_to_goal if solved else self.problem.evaluations,
                "seconds": time.perf_counter() - self.start,
                "best": self.best[0], "bestMoves": self.best[1],
                "moves": self.problem.moves(answer)}


# ---------------------------------------------------------------------------------------------
# The algorithms


def deap_types():
    if not hasattr(creator, "StageFitness"):
        creator.create("StageFitness", base.Fitness, weights=(1.0,))
        creator.create("StageRow", list, fitness=creator.StageFitness, move_count=0)
    return creator.StageRow


def run_deap(run, seed, population):
    """DEAP's eaSimple; a generation's new rows are judged together by one evaluate()."""
    random.seed(seed)  # DEAP's operators draw from Python's random module
    length = run.problem.dimension
    row_type = deap_types()
    toolbox = base.Toolbox()
    toolbox.register("code", random.randint, 0, 17)
    toolbox.register("individual", tools.initRepeat, row_type, toolbox.code, n=length)
    toolbox.register("population", tools.initRepeat, list, toolbox.individual)
    toolbox.register("mate", tools.cxTwoPoint)
    toolbox.register("mutate", tools.mutUniformInt, low=0, up=17, indpb=0.05)
    toolbox.register("select", tools.selTournament, tournsize=3)
    toolbox.register("evaluate", lambda row: None)  # never called: "map" judges every row

    def evaluate_all(_, rows):
        objectives, move_counts = run.evaluate(np.array(rows, dtype=np.int8))
        for row, move_count in zip(rows, move_counts):
            row.move_count = int(move_count)
        if run.ended:
            judged = rows[:len(objectives)]
            run.generation_done(objectives, move_counts, np.array(judged, dtype=np.int8))
            raise RunEnded
        return [(int(objective),) for objective in objectives]

    def log_population(rows):
        run.generation_done([int(row.fitness.values[0]) for row in rows],
                            [row.move_count for row in rows], np.array(rows, dtype=np.int8))

    toolbox.register("map", evaluate_all)
    statistics_ = tools.Statistics()
    statistics_.register("logged", log_population)
    try:
        algorithms.eaSimple(toolbox.population(n=population), toolbox, cxpb=0.8, mutpb=1.0,
                            ngen=run.budget, stats=statistics_, verbose=False)
    except RunEnded:
        pass


def run_random_search(run, seed, population):
    rng = np.random.default_rng(seed)
    while not run.ended:
        rows = rng.integers(0, 18, size=(min(population, run.left), run.problem.dimension))
        objectives, move_counts = run.evaluate(rows)
        run.generation_done(objectives, move_counts, rows)


def run_one_plus_one(run, seed):
    rng = np.random.default_rng(seed)
    length = run.problem.dimension
    parent = rng.integers(0, 18, size=(1, length))
    parent_objective, parent_moves = (value[0] for value in run.evaluate(parent))
    run.generation_done([parent_objective], [parent_moves], parent)
    while not run.ended:
        child = parent.copy()
        reset = rng.random(length) < 1 / length
        if not reset.any():
            reset[rng.integers(length)] = True
        child[0, reset] = rng.integers(0, 18, size=int(reset.sum()))
        objective, moves = (value[0] for value in run.evaluate(child))
        if objective >= parent_objective:
            parent, parent_objective, parent_moves = child, objective, moves
        run.generation_done([parent_objective], [parent_moves], parent)


def run_own_search(problem, budget, seed, population, line):
    """The program's search at budget // population generations: its record and logbook."""
    record = problem.search(budget // population, seed, population=population)
    rows = [{"line": line, **row} for row in record["log"]]
    figures = {key: record[key] for key in ("solved", "evaluations", "seconds", "best",
                                            "bestMoves", "moves")}
    return figures, rows


def run_algorithm(name, problem, arguments, seed, line):
    """The figures and logbook rows of one run."""
    if name == "cube-solver":
        return run_own_search(problem, arguments.budget, seed, arguments.population, line)
    run = Run(problem, arguments.budget, line, arguments.log_every)
    if name == "deap":
        run_deap(run, seed, arguments.population)
    elif name == "random":
        run_random_search(run, seed, arguments.population)
    else:
        run_one_plus_one(run, seed)
    figures = run.result()
    return figures, run.logbook.rows


# ---------------------------------------------------------------------------------------------
# Records


def record_of(name, problem, scramble, index, seed, line, figures, arguments):
    """A run's record, close to a `cube-solver batch` record so that the report reads it. The
    location is the block's (an entry instance's cube was turned to it before its block was
    built); a finish instance's scramble is in the block's frame, location 0."""
    moves = figures["moves"]
    move_count = len(moves.split())
    record = {"line": line, "algorithm": name, "stage": problem.stage,
              "location": 0 if problem.stage == "finish" else arguments.location,
              "instance": index, "scramble": scramble,
              "facelets": problem.facelets, "seed": seed, "solved": figures["solved"],
              "evaluations": figures["evaluations"], "seconds": round(figures["seconds"], 4),
              "best": figures["best"], "bestMoves": figures["bestMoves"],
              "stages": {problem.stage: {"moves": moves, "moveCount": move_count}}}
    if figures["solved"]:
        record["totalMoves"] = move_count
    population = 1 if name == "one-plus-one" else arguments.population
    record["parameters"] = {"population": population, "length": problem.dimension,
                            "budget": arguments.budget}
    return record


def write_json_lines(path, items):
    with open(path, "a", encoding="utf-8") as file:
        for item in items:
            file.write(json.dumps(item) + "\n")


def summary_line(name, records):
    solved = [record for record in records if record["solved"]]
    evaluations = statistics.median(record["evaluations"] for record in records)
    seconds = statistics.median(record["seconds"] for record in records)
    return (f"{name:>14}: {len(solved)}/{len(records)} solved, median {evaluations:.0f} "
            f"evaluations, {seconds:.3f} s")


# ---------------------------------------------------------------------------------------------
# Command line


def positive(text):
    value = int(text)
    if value < 1:
        raise argparse.ArgumentTypeError(f"{text} is not a whole number of at least 1")
    return value


def argument_parser():
    parser = argparse.ArgumentParser(
        description="Other optimizers against the program's own search on one stage's "
                    "instances, at the same budget of evaluations.",
        epilog=__doc__.split("\n\n", 1)[1], formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--stage", choices=("block", "entry", "finish"), default="block")
    parser.add_argument("--instances", type=positive, default=20,
                        help="random scrambles (default 20)")
    parser.add_argument("--budget", type=positive, default=100000,
                        help="evaluations per run (default 100000)")
    parser.add_argument("--seed", type=int, default=1,
                        help="the scrambles' and the runs' seed (default 1)")
    parser.add_argument("--out", type=Path, default=Path("stage-runs"),
                        help="where the files go (default stage-runs)")
    parser.add_argument("--location", type=int, choices=range(12), default=0, metavar="0..11",
                        help="the block's location, for block and entry (default 0)")
    # Two-point crossover needs two slots.
    parser.add_argument("--length", type=int, choices=range(2, 129), default=30,
                        metavar="2..128", help="moves a row (default 30)")
    parser.add_argument("--population", type=positive, default=51,
                        help="population of the searches and batch of the random search "
                             "(default 51)")
    parser.add_argument("--log-every", type=positive, default=100,
                        help="a logbook row every K-th generation too (default 100)")
    return parser


def main(argv):
    parser = argument_parser()
    arguments = parser.parse_args(argv)
    if arguments.budget < arguments.population:
        parser.error(f"--budget must be at least the population ({arguments.population})")
    if not 0 <= arguments.seed < 2**32 - arguments.instances:
        parser.error("--seed must be a whole number from 0 to 4294967295 less the instances")
    arguments.out.mkdir(parents=True, exist_ok=True)
    for name in ALGORITHMS:
        for path in (arguments.out / f"{name}.jsonl", arguments.out / f"{name}.log.jsonl"):
            path.write_text("", encoding="utf-8")

    scrambles = random.Random(arguments.seed)
    records = {name: [] for name in ALGORITHMS}
    for index in range(arguments.instances):
        problem, scramble = instance(arguments.stage, scrambles, arguments.location,
                                     arguments.length, seed=1000 * (index + 1) + arguments.seed)
        seed = arguments.seed + index
        for name in ALGORITHMS:
            line = index + 1
            figures, rows = run_algorithm(name, problem, arguments, seed, line)
            record = record_of(name, problem, scramble, index, seed, line, figures, arguments)
            records[name].append(record)
            write_json_lines(arguments.out / f"{name}.jsonl", [record])
            write_json_lines(arguments.out / f"{name}.log.jsonl", rows)
    for name in ALGORITHMS:
        print(summary_line(name, records[name]))
    print(f"records and logbooks in {arguments.out}/")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except OSError as error:
        sys.exit(f"deap_stages.py: {error}")
    except KeyboardInterrupt:
        sys.exit("deap_stages.py: stopped")
