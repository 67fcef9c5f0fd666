"""Reading the batch records and the logbook beside them into variants and their runs.

Standard library only: the command reads its arguments and reports usage errors before the
plotting and statistics modules are needed.
"""

import json
import math
import os
from collections import defaultdict, deque
from dataclasses import dataclass, field

PROGRAM = "cube-solver-report"
# The solver's name of the stage searched at every location; its logbook rows name the
# location, and the report follows the location that won.
BLOCK_STAGE = "block"
LOCATION_COUNT = 12
# Past this many, the malformed lines of one file are only counted (a foreign file would
# otherwise flood the terminal with one message a line).
MESSAGES_PER_FILE = 20
JSON_DECODER = json.JSONDecoder()


class Malformed(Exception):
    """A line this report cannot use; the message says why."""


class Stop(Exception):
    """An orderly stop: a message for the error stream and an exit status."""

    def __init__(self, message, status):
        super().__init__(message)
        self.status = status


@dataclass
class Run:
    """One solve attempt of a batch: a record that is neither an error nor malformed."""

    line: int | None  # the batch input line, which the logbook's rows name
    solved: bool
    seconds: float
    # None where the record neither gives them nor the population to count them with.
    evaluations: float | None
    generations: float | None
    moves: int | None = None  # the solution's, solved runs only
    stage_moves: dict = field(default_factory=dict)
    location: int | None = None
    stage: str | None = None  # the one stage a record of a single stage's search names
    population: int | None = None  # the record's parameters', where they name it
    # (stage, location, run, generation, best, evaluations or None)
    log_rows: list = field(default_factory=list)


@dataclass
class Variant:
    label: str
    path: str
    log_path: str | None = None
    runs: list = field(default_factory=list)
    failed_lines: int = 0
    skipped_lines: int = 0
    skipped_log_rows: int = 0
    stages: list = field(default_factory=list)  # the stages its files name, in their order
    algorithm: str | None = None  # the "algorithm" every record names, when they name one


class SkipReporter:
    """Names skipped lines on the error stream, a bounded number per file."""

    def __init__(self, stream):
        self.stream = stream
        self.counts = defaultdict(int)

    def skip(self, path, number, why):
        self.counts[path] += 1
        if self.counts[path] <= MESSAGES_PER_FILE:
            print(f"{path}:{number}: skipped: {why}", file=self.stream)

    def finish(self):
        for path, count in self.counts.items():
            if count > MESSAGES_PER_FILE:
                print(f"{path}: {count - MESSAGES_PER_FILE} more lines skipped",
                      file=self.stream)


def add_in_order(known, names):
    """Adds the names that `known` lacks, each after the name before it in `names` (first
    when it comes first): a run that a budget ended names only its first stages, and the
    stages keep the order the files write them in whichever run comes first."""
    previous = None
    for name in names:
        if name not in known:
            known.insert(known.index(previous) + 1 if previous is not None else 0, name)
        previous = name


def stage_names(variants):
    """Every stage the variants' files name, in their order."""
    names = []
    for variant in variants:
        add_in_order(names, variant.stages)
    return names


def is_number(value):
    return type(value) in (int, float) and math.isfinite(value)


def is_integer(value):
    return type(value) is int  # not bool, which JSON's true and false become


def number_field(record, key):
    value = record.get(key)
    if not is_number(value) or value < 0:
        raise Malformed(f'"{key}" is missing or not a number of at least 0')
    return value


def integer_field(record, key, minimum=0):
    value = record.get(key)
    if not is_integer(value) or value < minimum:
        raise Malformed(f'"{key}" is missing or not an integer of at least {minimum}')
    return value


def population_of(record):
    """The population the record's parameters name, or None."""
    parameters = record.get("parameters")
    if isinstance(parameters, dict) and is_integer(parameters.get("population")):
        if parameters["population"] >= 1:
            return parameters["population"]
    return None


def stage_generations(stages):
    """Generations of the record's stages together, or None when a stage does not say."""
    if not isinstance(stages, dict) or not stages:
        return None
    total = 0
    for entry in stages.values():
        if not isinstance(entry, dict) or not is_integer(entry.get("generations")):
            return None
        total += entry["generations"]
    return total


def search_effort(record, population):
    """(evaluations, generations) of the record's search, each None when unknown."""
    generations = stage_generations(record.get("stages"))
    if "evaluations" in record:
        evaluations = number_field(record, "evaluations")
    elif generations is None:
        raise Malformed('"evaluations" is missing')
    else:
        # Written before the field existed: every generation evaluates the whole population.
        evaluations = None if population is None else generations * population
    if evaluations is not None and population is not None:
        generations = evaluations / population
    return evaluations, generations


def stage_move_counts(stages):
    counts = {}
    if isinstance(stages, dict):
        for stage, entry in stages.items():
            if isinstance(entry, dict) and is_integer(entry.get("moveCount")):
                counts[stage] = entry["moveCount"]
    return counts


def single_stage_of(record):
    if "stage" not in record:
        return None
    if not isinstance(record["stage"], str) or not record["stage"]:
        raise Malformed('"stage" is not a name')
    return record["stage"]


def solution_moves(record, required):
    key = "solutionMoves" if "solutionMoves" in record else "totalMoves"
    if key not in record and not required:
        return None
    return integer_field(record, key)


def parse_record(record):
    """A Run, or None for a line the solver could not solve at all; Malformed otherwise."""
    if not isinstance(record, dict):
        raise Malformed("not a JSON object")
    # Records written before the logbook existed carry no line number; only the logbook needs it.
    line = integer_field(record, "line", minimum=1) if "line" in record else None
    if "error" in record:
        return None
    solved = record.get("solved", True)
    if not isinstance(solved, bool):
        raise Malformed('"solved" is not true or false')
    seconds = number_field(record, "seconds")
    population = population_of(record)
    evaluations, generations = search_effort(record, population)
    run = Run(line=line, solved=solved, seconds=seconds, evaluations=evaluations,
              generations=generations, stage=single_stage_of(record), population=population)
    run.stage_moves = stage_move_counts(record.get("stages"))
    if solved:
        # A single stage's search need not count a whole solution's moves: its stage's are the
        # solution's.
        run.moves = solution_moves(record, required=run.stage is None)
        if run.moves is None and run.stage is not None:
            run.moves = run.stage_moves.get(run.stage)
    if "location" in record:
        location = record["location"]
        if not is_integer(location) or not 0 <= location < LOCATION_COUNT:
            raise Malformed('"location" is not a location 0..11')
        run.location = location
    return run


def record_stages(record):
    """The stages a record names: its stages' keys, or the stage of a single stage's search."""
    stages = record.get("stages")
    names = list(stages) if isinstance(stages, dict) else []
    return names + [record["stage"]] if isinstance(record.get("stage"), str) else names


def read_json_lines(path, skips):
    """(line number, parsed JSON) of every non-blank line; bad JSON is reported and left out."""
    try:
        with open(path, "rb") as source:
            for number, text in enumerate(source, start=1):
                if not text.strip():
                    continue
                try:
                    yield number, JSON_DECODER.decode(text.decode("utf-8"))
                except ValueError:  # bad JSON, or bytes that are not UTF-8
                    skips.skip(path, number, "not JSON")
    except OSError as error:
        raise Stop(f"{PROGRAM}: cannot read {path}: {error.strerror}", 1) from error


def read_results(variant, skips):
    """The variant's runs; failed and skipped lines are counted."""
    before = skips.counts[variant.path]
    algorithms = set()
    for number, record in read_json_lines(variant.path, skips):
        if isinstance(record, dict):
            algorithm = record.get("algorithm")
            algorithms.add(algorithm if isinstance(algorithm, str) and algorithm else None)
        try:
            run = parse_record(record)
        except Malformed as why:
            skips.skip(variant.path, number, str(why))
            continue
        if run is None:
            variant.failed_lines += 1
        else:
            variant.runs.append(run)
            add_in_order(variant.stages, record_stages(record))
    variant.skipped_lines = skips.counts[variant.path] - before
    if len(algorithms) == 1:
        variant.algorithm = algorithms.pop()


def parse_log_row(row):
    """(line, stage, location, run, generation, best, evaluations) of a logbook row (the
    evaluations None where the row does not give them); Malformed otherwise."""
    if not isinstance(row, dict):
        raise Malformed("not a JSON object")
    line, stage, run = row.get("line"), row.get("stage"), row.get("run")
    generation, best = row.get("generation"), row.get("best")
    if not is_integer(line) or line < 1:
        raise Malformed('"line" is missing or not an integer of at least 1')
    if not isinstance(stage, str) or not stage:
        raise Malformed('"stage" is missing or not a name')
    if not is_integer(run) or run < 1 or not is_integer(generation) or generation < 0:
        raise Malformed('"run" or "generation" is missing or not a count')
    if not is_number(best):
        raise Malformed('"best" is missing or not a number')
    location = row.get("location")
    if stage == BLOCK_STAGE:
        if not is_integer(location) or not 0 <= location < LOCATION_COUNT:
            raise Malformed('a block row without a location 0..11')
    else:
        location = None
    evaluations = row.get("evaluations")
    if not is_number(evaluations) or evaluations < 0:
        evaluations = None
    return line, stage, location, run, generation, best, evaluations


def logbook_path(results_path):
    stem, extension = os.path.splitext(results_path)
    return f"{stem}.log{extension}"


def read_logbook(variant, skips):
    """Hands each solve's rows to its run: the k-th group of rows of line n goes to the k-th
    record of line n (a solve's rows are written together, and files joined from split
    batches may hold a line number more than once)."""
    path = variant.log_path
    before = skips.counts[path]
    waiting = defaultdict(deque)
    for run in variant.runs:
        waiting[run.line].append(run)
    unmatched = set()
    current_line, current_run, previous_stage = None, None, None
    for number, row in read_json_lines(path, skips):
        try:
            line, *rest = parse_log_row(row)
        except Malformed as why:
            skips.skip(path, number, str(why))
            continue
        if line != current_line:
            current_line, previous_stage = line, None
            current_run = waiting[line].popleft() if waiting[line] else None
            if current_run is None:
                unmatched.add(line)
        if current_run is not None:
            current_run.log_rows.append(tuple(rest))
            if rest[0] != previous_stage:
                add_in_order(variant.stages, [name for name in (previous_stage, rest[0]) if name])
                previous_stage = rest[0]
    variant.skipped_log_rows = skips.counts[path] - before
    if unmatched:
        lines = ", ".join(str(line) for line in sorted(unmatched)[:10])
        print(f"{path}: rows of lines without a solve record left out (lines {lines}"
              f"{', ...' if len(unmatched) > 10 else ''})", file=skips.stream)


def single_stage_records(variants):
    """Whether every run is a single stage's search (and there is one): the report then counts
    the stage's evaluations and moves rather than a whole solve's."""
    runs = [run for variant in variants for run in variant.runs]
    return bool(runs) and all(run.stage is not None for run in runs)


def populations(variants):
    """The populations the runs' records name."""
    return {run.population for variant in variants for run in variant.runs
            if run.population is not None}


def label_by_algorithm(variants):
    """Labels each variant whose records all name one algorithm by it, unless another variant
    would take the same label."""
    wanted = [variant.algorithm or variant.label for variant in variants]
    for variant, label in zip(variants, wanted):
        if variant.algorithm and wanted.count(label) == 1:
            variant.label = label


def load_variants(paths, labels, skips):
    variants = []
    for path, label in zip(paths, labels):
        variant = Variant(label=label, path=path)
        read_results(variant, skips)
        if os.path.isfile(logbook_path(path)):
            variant.log_path = logbook_path(path)
            read_logbook(variant, skips)
        variants.append(variant)
    skips.finish()
    return variants
