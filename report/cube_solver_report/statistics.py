"""The table's figures: quartiles, the time to solution and its empirical distribution, the
two-sided rank-sum test of each variant against the first."""

import math
from dataclasses import dataclass

from scipy.stats import mannwhitneyu

from .records import Variant


def quartiles(values):
    """First quartile, median, third quartile (linear between order statistics, as numpy's
    default); a quartile that reaches into infinite values is infinite. None when empty."""
    ordered = sorted(values)
    if not ordered:
        return None
    result = []
    for share in (0.25, 0.5, 0.75):
        position = share * (len(ordered) - 1)
        low, fraction = int(position), position - int(position)
        if fraction == 0:
            result.append(ordered[low])
        elif math.isinf(ordered[low + 1]):
            result.append(math.inf)
        else:
            result.append(ordered[low] + fraction * (ordered[low + 1] - ordered[low]))
    return tuple(result)


def solved_moves(variant):
    return [run.moves for run in variant.runs if run.solved and run.moves is not None]


def time_to_solution(variant, measure):
    """Seconds, evaluations or generations of every run: a run that a budget ended took
    forever; a solved run whose record does not give the measure is left out."""
    return [getattr(run, measure) if run.solved else math.inf for run in variant.runs
            if not run.solved or getattr(run, measure) is not None]


def unknown_count(variant, measure):
    """The solved runs that time_to_solution leaves out."""
    return sum(run.solved and getattr(run, measure) is None for run in variant.runs)


def ecdf_steps(times, right):
    """The share of runs solved within a time, as the corners of a step line (drawn "post")
    from the first solve to `right`; None when no run was solved. `times` holds every run,
    infinite for one that a budget ended: never solved, it keeps the line below 1."""
    solved = sorted(time for time in times if math.isfinite(time))
    if not solved:
        return None
    runs = len(times)
    x = [solved[0]] + solved + [right]
    y = [0.0] + [(k + 1) / runs for k in range(len(solved))] + [len(solved) / runs]
    return x, y


def two_sided_p(sample, reference):
    """The two-sided Mann-Whitney U test (scipy's default method: exact for small samples
    without ties, else the normal approximation); None without data on either side."""
    if not sample or not reference:
        return None
    p = mannwhitneyu(sample, reference, alternative="two-sided").pvalue
    return None if math.isnan(p) else float(p)


@dataclass
class Summary:
    variant: Variant
    moves: tuple | None
    seconds: tuple | None
    generations: tuple | None
    evaluations: tuple | None = None  # to the goal, over all runs
    p_moves: float | None = None
    p_seconds: float | None = None
    p_evaluations: float | None = None


def summarise(variants):
    summaries = [
        Summary(variant, quartiles(solved_moves(variant)),
                quartiles(time_to_solution(variant, "seconds")),
                quartiles(time_to_solution(variant, "generations")),
                quartiles(time_to_solution(variant, "evaluations"))) for variant in variants
    ]
    if len(variants) >= 2:
        first = variants[0]
        for summary in summaries[1:]:
            summary.p_moves = two_sided_p(solved_moves(summary.variant), solved_moves(first))
            summary.p_seconds = two_sided_p(time_to_solution(summary.variant, "seconds"),
                                            time_to_solution(first, "seconds"))
            summary.p_evaluations = two_sided_p(
                time_to_solution(summary.variant, "evaluations"),
                time_to_solution(first, "evaluations"))
    return summaries
