"""Solves a scrambled 3x3x3 cube with a genetic search: solve(), solve_many() on threads,
parse(), check_facelets() and fields(), the table of solve()'s arguments."""

from typing import Any, Iterable, Iterator, Mapping, Optional, Union

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
