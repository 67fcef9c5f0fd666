"""The best objective of each stage over its generations (or evaluations), from the logbooks'
rows, and its quartiles over runs."""

import warnings
from collections import defaultdict

import numpy as np

from .records import BLOCK_STAGE, populations, single_stage_records

CONVERGENCE_POINTS = 400


def convergence_measure(variants):
    """The convergence figure's axis: generations, unless the runs' populations differ or the
    records are a single stage's search (generations of a population of 1 and of 51 do not
    line up), then evaluations."""
    if single_stage_records(variants) or len(populations(variants)) > 1:
        return "evaluations"
    return "generations"


def stage_rows(run, stage):
    """The logbook rows of the stage that the curve follows: the block stage's of the winning
    location (none when the run names no location), the other stages' all."""
    if stage == BLOCK_STAGE:
        if run.location is None:
            return []
        return [r for r in run.log_rows if r[0] == BLOCK_STAGE and r[1] == run.location]
    return [r for r in run.log_rows if r[0] == stage]


def generations_so_far(rows):
    """Generations of the stage so far at each row: the runs of the generation loop one after
    the other, a run ending at the generation of its last row."""
    length = defaultdict(int)
    for row in rows:
        length[row[2]] = max(length[row[2]], row[3])
    offset, before = {}, 0
    for loop_run in sorted(length):
        offset[loop_run] = before
        before += length[loop_run]
    return np.array([offset[row[2]] + row[3] for row in rows], dtype=np.int64)


def evaluations_so_far(run, rows):
    """Evaluations of the stage so far at each row, or None when unknown. A single stage's
    search is the whole run: its logbook's own column counts them. In a whole solve that column
    counts every stage and location before, so there it is the stage's generations x the
    population."""
    if run.stage is not None and all(len(row) > 5 and row[5] is not None for row in rows):
        return np.array([row[5] for row in rows], dtype=np.int64)
    if run.population is None:
        return None
    return generations_so_far(rows) * run.population


def stage_curve(run, stage, measure="generations"):
    """The run's best objective in the stage as a step function: (generations, or evaluations,
    of the stage so far at each row, best there), or None when the logbook has no row of it
    (or, for evaluations, does not give them). The block stage follows the winning location
    over its passes; the other stages their runs one after the other."""
    rows = stage_rows(run, stage)
    if not rows:
        return None
    if measure == "evaluations":
        x = evaluations_so_far(run, rows)
        if x is None:
            return None
    else:
        x = generations_so_far(rows)
    best = np.array([row[4] for row in rows], dtype=float)
    order = np.argsort(x, kind="stable")
    return x[order], best[order]


def curve_values(curve, grid):
    """The step function at each grid point: the last row at or before it (NaN before the
    first row; a search that has ended keeps its last best)."""
    x, best = curve
    index = np.searchsorted(x, grid, side="right") - 1
    values = best[np.maximum(index, 0)]
    values[index < 0] = np.nan
    return values


def convergence_grid(curves, start=1):
    end = max((int(curve[0][-1]) for curve in curves), default=1)
    return np.unique(np.round(np.geomspace(start, max(end, start), CONVERGENCE_POINTS))
                     .astype(np.int64))


def convergence_band(curves, grid):
    """First quartile, median and third quartile over runs at each grid point."""
    values = np.vstack([curve_values(curve, grid) for curve in curves])
    with warnings.catch_warnings():  # a grid point that no run has reached yet stays NaN
        warnings.simplefilter("ignore", RuntimeWarning)
        return np.nanpercentile(values, [25, 50, 75], axis=0)
