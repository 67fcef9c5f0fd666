"""Made-up batch outputs and logbooks in the solver's formats, for the report's tests, its
timing and the README's example figure.

    python3 tests/report/synthetic_runs.py DIR [--runs N]

writes DIR/pop51.jsonl and DIR/pop101.jsonl, each with its logbook (*.log.jsonl): two
variants whose populations differ, the larger one slower and shorter.
"""

import argparse
import json
import os
import random

LOCATION_WEIGHTS = (5, 3, 3, 4, 2, 2, 3, 2, 2, 3, 2, 1)


def dump(value):
    return json.dumps(value, separators=(",", ":"))


class Solve:
    """One made-up solve: its record and its logbook rows, in the order the solver writes."""

    def __init__(self, line, population, rng, speed, time_limit, rises):
        self.line, self.population, self.rng = line, population, rng
        self.speed, self.time_limit, self.rises = speed, time_limit, rises
        self.generations_so_far = 0
        self.rows = []
        self.stopped = None

    def seconds(self):
        return self.population * self.generations_so_far / self.speed

    def log(self, stage, location, run, generation, best, best_moves):
        row = {"line": self.line, "stage": stage}
        if location is not None:
            row["location"] = location
        mean = best - 40 - self.rng.random() * 60
        row.update(run=run, generation=generation,
                   evaluations=self.population * (self.generations_so_far + generation),
                   best=best, bestMoves=best_moves, mean=round(mean, 2), worst=int(mean) - 200,
                   distinct=self.population - self.rng.randrange(5),
                   seconds=round(self.population * (self.generations_so_far + generation)
                                 / self.speed, 3))
        self.rows.append(row)

    def loop_run(self, stage, location, run, length, start, goal, interval, moves):
        """Rows of one run of the generation loop whose best climbs from start to goal."""
        rises = sorted(self.rng.sample(range(2, length), min(self.rises, length - 2)))
        logged = sorted(set([1, length] + rises + list(range(interval, length, interval))))
        best = start
        for generation in logged:
            if self.time_limit and self.population * (
                    self.generations_so_far + generation) / self.speed > self.time_limit:
                self.stopped = {"stage": stage, "run": run, "generation": generation,
                                "best": best, "bestMoves": moves}
                self.log(stage, location, run, generation, best, moves)
                self.generations_so_far += generation
                return None
            done = sum(1 for rise in rises if rise <= generation) / max(len(rises), 1)
            best = int(start + (goal - start) * done)
            self.log(stage, location, run, generation, best, moves)
        self.generations_so_far += length
        return best

    def block(self, generations):
        winner = self.rng.choices(range(12), LOCATION_WEIGHTS)[0]
        passes = 1 if self.rng.random() < 0.8 else 2
        moves = self.rng.randint(8, 18)
        for run in range(1, passes + 1):
            for location in range(12):
                top = 160 - moves if location == winner and run == passes else 140 - moves
                if self.loop_run("block", location, run, generations, 60 + 20 * run, top, 5000,
                                 moves) is None:
                    return None
        return {"moves": "R U", "moveCount": moves, "runs": passes,
                "generations": 12 * passes * generations}, winner

    def two_gen_stage(self, stage, length, start, goal, moves):
        runs = 1
        while self.rng.random() < 0.35:
            runs += 1
        for run in range(1, runs + 1):
            top = goal - moves if run == runs else goal - 10 - moves
            if self.loop_run(stage, None, run, length, start, top, 5000, moves) is None:
                return None
        return {"moves": "F U", "moveCount": moves, "runs": runs, "generations": runs * length}


def make_solve(line, population, seed, speed, time_limit, rises):
    rng = random.Random(seed * 100_003 + line)
    solve = Solve(line, population, rng, speed, time_limit, rises)
    parameters = {"population": population, "length": 30, "immigrants": 5, "mutationRate": 0.05,
                  "crossoverRate": 0.8, "selectionPressure": 1.5, "generations": 500,
                  "entryGenerations": 10000, "finishGenerations": 200000, "stopAtGoal": False,
                  "maxGenerations": None, "timeLimit": time_limit}
    record = {"line": line, "scramble": "R U2 F'", "generations": 500, "seed": line,
              "parameters": parameters}
    stages = {}
    block = solve.block(500)
    if block is not None:
        stages["block"], location = block
        entry_length = 10 if rng.random() < 0.05 else 10000
        entry = solve.two_gen_stage("entry", entry_length, 900, 1700, rng.randint(4, 12))
        if entry is not None:
            stages["entry"] = entry
            finish_moves = rng.randint(14, 30) - (population > 60) * rng.randint(0, 6)
            finish = solve.two_gen_stage("finish", 200000, 300, 480, finish_moves)
            if finish is not None:
                stages["finish"] = finish
    solved = solve.stopped is None
    record["solved"] = solved
    if solved:
        total = sum(stage["moveCount"] for stage in stages.values())
        record.update(location=location, rotations=["y"], stages=stages, totalMoves=total,
                      solutionMoves=total - rng.randint(0, 2), quarterTurns=total + 8,
                      solution="R U F")
    else:
        record["stoppedAt"] = solve.stopped
        if "block" in stages:
            record.update(location=location, rotations=["y"])
        record["stages"] = stages
    record.update(evaluations=population * solve.generations_so_far,
                  seconds=round(solve.seconds(), 2), selfCheck=True)
    return record, solve.rows


def write_variant(path, runs, population, seed=1, speed=13e6, time_limit=None, logbook=True,
                  rises=8):
    """Writes a batch output of `runs` solves at `path` and, unless told not to, its logbook
    (`rises`: the steps of the best in one run of the generation loop)."""
    stem, extension = os.path.splitext(path)
    with open(path, "w", encoding="utf-8") as records, \
            open(f"{stem}.log{extension}" if logbook else os.devnull, "w",
                 encoding="utf-8") as log:
        for line in range(1, runs + 1):
            record, rows = make_solve(line, population, seed, speed, time_limit, rises)
            records.write(dump(record) + "\n")
            log.writelines(dump(row) + "\n" for row in rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("folder")
    parser.add_argument("--runs", type=int, default=50, help="solves per variant")
    parser.add_argument("--rises", type=int, default=8,
                        help="steps of the best in one run of the generation loop")
    arguments = parser.parse_args()
    os.makedirs(arguments.folder, exist_ok=True)
    write_variant(os.path.join(arguments.folder, "pop51.jsonl"), arguments.runs, 51, seed=1,
                  time_limit=4.0, rises=arguments.rises)
    write_variant(os.path.join(arguments.folder, "pop101.jsonl"), arguments.runs, 101, seed=2,
                  time_limit=4.0, rises=arguments.rises)


if __name__ == "__main__":
    main()
