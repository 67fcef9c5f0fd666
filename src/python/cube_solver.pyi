"""Solves a scrambled 3x3x3 cube with a genetic search: solve(), solve_many() on threads,
parse(), check_facelets() and fields(), the table of solve()'s arguments."""

from typing import Any, Iterable, Iterator, Mapping, Optional, Union

import numpy

def solve(
    scramble: Optional[str] = None,
    *,
    facelets: Optional[str] = None,
    random: Optional[int] = None,
    seed: Optional[int] = None,
    population: int = 51,
    length: int = 30,
    immigrants: Optional[int] = None,
    mutation_rate: float = 0.05,
    crossover_rate: float = 0.8,
    selection_pressure: float = 1.5,
    generations: int = 500,
    entry_generations: int = 10000,
    finish_generations: int = 200000,
    stop_at_goal: bool = False,
    tries: int = 1,
    first: bool = False,
    max_generations: Optional[int] = None,
    time_limit: Optional[float] = None,
    log: bool = False,
    log_every: Optional[int] = None,
) -> dict[str, Any]:
    """Solve a scrambled cube with the genetic search.

    Give the scramble as moves in standard notation ("R U2 F'", read as the command line
    reads it), as facelets (54 letters, faces U R F D L B) or as random=N (a random scramble
    of N moves). The other arguments set the search as the command line's options of the
    same names do; seed=S makes the run repeatable (the same as `cube-solver solve --seed S`);
    with tries=K the K tries run side by side.

    Returns the command line's JSON record as a dict: scramble (or facelets), generations,
    seed, parameters, solved, stoppedAt (when max_generations or time_limit ended the search),
    location, rotations, stages, totalMoves, solution, evaluations, seconds, selfCheck. With
    log=True it also holds "log": the logbook's rows as a list of dicts (stage, location, run,
    generation, evaluations, best, bestMoves, mean, worst, distinct, seconds), which
    pandas.DataFrame takes as they are; log_every=K logs every K-th generation too.

    The search runs with the GIL released; Ctrl-C (KeyboardInterrupt) stops it. Raises
    ValueError with the rule a value breaks.
    """

class SolveMany(Iterator[dict[str, Any]]):
    """The results of solve_many(), in input order; close() stops the solves that run."""

    def __iter__(self) -> "SolveMany": ...
    def __next__(self) -> dict[str, Any]: ...
    def close(self) -> None:
        """Stop the solves that run and end the results."""

def solve_many(
    requests: Iterable[Union[str, Mapping[str, Any]]], jobs: Optional[int] = None
) -> SolveMany:
    """Solve many scrambles on several threads.

    Each request is a dict of solve()'s keyword arguments or a scramble string. Yields the
    results in input order, each as soon as it and all before it are done; a request that
    breaks a rule yields {"error": message} in its place. jobs: solves at once, a request's
    tries side by side too (default: the processors available). The requests are read a few at a time as the solves go on.
    Ctrl-C (KeyboardInterrupt) stops every solve; close() stops them too.
    """

def parse(notation: str) -> list[str]:
    """The moves of a scramble in the notation the command line reads (face turns, wide turns,
    slices, rotations, groups, commutators), as face turns: parse("R U2 F'") == ['R', 'U2',
    "F'"]. Raises ValueError naming where the text is not a move."""

def check_facelets(state: str) -> None:
    """Check a cube's 54 facelet letters (faces U R F D L B, each row by row): returns None for
    a cube that face turns reach, else raises ValueError with the first rule it breaks."""

def fields() -> list[dict[str, Any]]:
    """The table of a request's fields: for each its key, option, keyword, kind, group, range,
    default (None for none), unit and help."""

class Problem:
    """One stage of the solver as a problem for any optimizer.

    stage: "block" (a 2x2x3 block), "entry" (into the group of F and U turns with the block
    kept) or "finish" (solved with F and U turns). The start cube: a scramble in standard
    notation or facelets (54 letters), turned to location (0..11; required for "block", 0 by
    default for the others) as the block stage turns it; it must be where the stage starts (a
    complete block for "entry", a complete block in the group of F and U turns for "finish"),
    else ValueError.

    A row is `length` move codes 0..17 (face code % 6: F U R B D L; 0..5 quarter turns, 6..11
    half turns, 12..17 anticlockwise), played on the turned cube. The finish (and the block
    stage at a location whose cube is already in the group of F and U turns) folds each code
    onto F and U before judging it, as the stage's own search does (`folded`). Objective, to
    maximize: 10 * best score - moves, the best score any prefix reaches and the shortest
    prefix that reaches it.
    """

    def __init__(
        self,
        stage: str,
        scramble: Optional[str] = None,
        *,
        facelets: Optional[str] = None,
        location: Optional[int] = None,
        length: int = 30,
    ) -> None: ...
    @property
    def stage(self) -> str: ...
    @property
    def location(self) -> int: ...
    @property
    def dimension(self) -> int: ...
    @property
    def lower(self) -> "numpy.ndarray":
        """The lowest code of each slot: 0."""
    @property
    def upper(self) -> "numpy.ndarray":
        """The highest code of each slot: 17."""
    @property
    def target(self) -> int:
        """The stage's goal as a best score: 16 (block), 170 (entry), 48 (finish)."""
    @property
    def maximize(self) -> bool: ...
    @property
    def folded(self) -> bool: ...
    @property
    def facelets(self) -> str:
        """The start cube turned to the location, where the rows are played (54 letters)."""
    @property
    def back_end(self) -> str:
        """The evaluation's back end (the fastest this processor runs)."""
    @property
    def evaluations(self) -> int:
        """Rows judged by problem(row) and evaluate() since the last reset()."""
    def reset(self) -> None:
        """Set the evaluations counter to 0."""
    def __call__(self, row: Any) -> int:
        """The objective of one row of `length` move codes (counted)."""
    def evaluate(self, rows: Any) -> tuple["numpy.ndarray", "numpy.ndarray"]:
        """Judge an (n, length) integer array of rows: (objectives, move_counts), two int32
        arrays of length n, on the fastest evaluation (the GIL released from 64 rows on). A
        wrong shape, a dtype that is not integer or a code out of range raises ValueError
        naming the row and slot."""
    def goal_met(self, rows: Any) -> "numpy.ndarray":
        """Row by row, whether the row meets the stage's goal (a bool array)."""
    def moves(self, row: Any) -> str:
        """The row's counted moves (folded when the problem folds) in standard notation."""
    def apply(self, row: Any) -> str:
        """The facelets reached after the row's counted moves (54 letters)."""
    def search(
        self,
        generations: int,
        seed: int,
        *,
        population: int = 51,
        immigrants: Optional[int] = None,
        mutation_rate: float = 0.05,
        crossover_rate: float = 0.8,
        selection_pressure: float = 1.5,
        log_every: Optional[int] = None,
    ) -> dict[str, Any]:
        """Run the program's own genetic search on this problem, seeded as `cube-solver solve
        --seed SEED` seeds a solve, ending at the stage's goal or after `generations`. Returns
        a record (stage, location, seed, solved, evaluations, generations, best, bestMoves,
        moves, row, seconds) with its logbook's rows as "log"."""

class Logbook:
    """An optimizer's generations in the columns of the program's logbook (stage, location,
    run, generation, evaluations, best, bestMoves, mean, worst, distinct, seconds), with
    "line": k first when line is given."""

    def __init__(self, problem: Problem, *, line: Optional[int] = None) -> None: ...
    def record(
        self,
        run: int,
        generation: int,
        objectives: Any,
        move_counts: Any,
        rows: Any = None,
        *,
        evaluations: Optional[int] = None,
    ) -> dict[str, Any]:
        """Add the row of one generation's population and return it."""
    @property
    def rows(self) -> list[dict[str, Any]]: ...
    def write_jsonl(self, path: Any, append: bool = False) -> None:
        """Write the rows as JSON Lines (appended to the file with append=True)."""
