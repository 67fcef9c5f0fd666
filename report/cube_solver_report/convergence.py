"""The best objective of each stage over its generations, from the logbooks' rows, and its
quartiles over runs."""

import warnings
from collections import defaultdict

import numpy as np

from .records import BLOCK_STAGE

CONVERGENCE_POINTS = 400


def stage_curve(run, stage):
    """The run's best objective in the stage as a step function: (generations of the stage so
    far at each row, best there), or None when the logbook has no row of it. The block stage
    follows the winning location over its passes; the other stages their runs one after the
    other. A run of the loop ends at the generation of its last row."""
    if stage == BLOCK_STAGE:
        if run.location is None:
            return None
        rows = [(r[2], r[3], r[4]) for r in run.log_rows
                if r[0] == BLOCK_STAGE and r[1] == run.location]
    else:
        rows = [(r[2], r[3], r[4]) for r in run.log_rows if r[0] == stage]
    if not rows:
        return None
    length = defaultdict(int)
    for loop_run, generation, _ in rows:
        length[loop_run] = max(length[loop_run], generation)
    offset, before = {}, 0
    for loop_run in sorted(length):
        offset[loop_run] = before
        before += length[loop_run]
    x = np.array([offset[loop_run] + generation for loop_run, generation, _ in rows],
                 dtype=np.int64)
    best = np.array([row[2] for row in rows], dtype=float)
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


def convergence_grid(curves):
    end = max((int(curve[0][-1]) for curve in curves), default=1)
    return np.unique(np.round(np.geomspace(1, max(end, 1), CONVERGENCE_POINTS)).astype(np.int64))


def convergence_band(curves, grid):
    """First quartile, median and third quartile over runs at each grid point."""
    values = np.vstack([curve_values(curve, grid) for curve in curves])
    with warnings.catch_warnings():  # a grid point that no run has reached yet stays NaN
        warnings.simplefilter("ignore", RuntimeWarning)
        return np.nanpercentile(values, [25, 50, 75], axis=0)
