"""The figures, each written as SVG and PNG."""

import math
import os

import numpy as np
import matplotlib

matplotlib.use("Agg")  # files only: no display is needed or wanted
from matplotlib import pyplot as plt

from .convergence import convergence_band, convergence_grid, convergence_measure, stage_curve
from .records import BLOCK_STAGE, LOCATION_COUNT, PROGRAM, single_stage_records, stage_names
from .statistics import ecdf_steps, solved_moves, time_to_solution, unknown_count

FIGURES = (
    ("time-to-solution", "Time to solution"),
    ("solution-length", "Solution length"),
    ("convergence", "Convergence per stage"),
    ("block-locations", "Block locations"),
)


def colour(index):
    return f"C{index % 10}"


def shown(label):
    """A variant's label as matplotlib draws it literally: no mathtext between dollar signs,
    and a leading underscore (which hides a legend entry) kept visible."""
    label = label.replace("$", r"\$")
    return " " + label if label.startswith("_") else label


def note_no_data(axes, text="no data"):
    axes.text(0.5, 0.5, text, transform=axes.transAxes, ha="center", va="center",
              color="0.4")


def note_unknown(axes, variants, measure):
    """Names the variants whose solved runs do not give the measure, which the panel leaves
    out (records that name no population give no evaluations)."""
    counts = [(variant, unknown_count(variant, measure)) for variant in variants]
    lines = [f"{shown(variant.label)}: {count}" for variant, count in counts if count]
    if lines:
        axes.text(0.02, 0.98, f"solved runs left out, {measure} unknown:\n" + "\n".join(lines),
                  transform=axes.transAxes, ha="left", va="top", fontsize="small",
                  color="0.4")


def ecdf_panel(axes, variants, measure, axis_label):
    times = [time_to_solution(variant, measure) for variant in variants]
    values = [time for group in times for time in group if math.isfinite(time)]
    if not values:
        note_no_data(axes, "no solved run")
    else:
        right = max(values)
        for index, (variant, group) in enumerate(zip(variants, times)):
            steps = ecdf_steps(group, right)
            if steps is None:
                continue
            solved = sum(math.isfinite(time) for time in group)
            axes.step(*steps, where="post", color=colour(index),
                      label=f"{shown(variant.label)} ({solved}/{len(group)} solved)")
        # A log scale where the times spread over decades and none is zero.
        if min(values) > 0 and right > 10 * min(values):
            axes.set_xscale("log")
        axes.legend(loc="lower right", fontsize="small")
    note_unknown(axes, variants, measure)
    axes.set_ylim(0, 1.02)
    axes.set_xlabel(axis_label)
    axes.set_ylabel("share of runs solved")
    axes.grid(True, alpha=0.3)


def time_to_solution_figure(variants, _stages):
    figure, (seconds, evaluations) = plt.subplots(1, 2, figsize=(10, 4))
    ecdf_panel(seconds, variants, "seconds", "seconds")
    ecdf_panel(evaluations, variants, "evaluations", "evaluated sequences")
    figure.suptitle("Time to solution")
    figure.tight_layout()
    return figure


def box_panel(axes, variants, title, values_of, axis_label="moves"):
    data = [values_of(variant) for variant in variants]
    if not any(data):
        note_no_data(axes, "no solved run")
    if variants:
        boxes = axes.boxplot(data, labels=[shown(variant.label) for variant in variants],
                             patch_artist=True)
        for index, box in enumerate(boxes["boxes"]):
            box.set_facecolor(colour(index))
            box.set_alpha(0.6)
        axes.tick_params(axis="x", labelrotation=30)
    axes.set_title(title)
    axes.set_ylabel(axis_label)
    axes.grid(True, axis="y", alpha=0.3)


def stage_moves_of(stage):
    def values_of(variant):
        return [run.stage_moves[stage] for run in variant.runs
                if run.solved and stage in run.stage_moves]
    return values_of


def solution_length_figure(variants, stages):
    # Single-stage records: the stage's moves are the whole answer, and no panel repeats them.
    whole = not single_stage_records(variants)
    panel_count = int(whole) + len(stages)
    # Wide enough for the title when few stages are named.
    figure, panels = plt.subplots(1, max(panel_count, 1), figsize=(max(3 * panel_count, 6), 4),
                                  squeeze=False)
    stage_panels = panels[0]
    if whole:
        box_panel(panels[0][0], variants, "whole solution", solved_moves)
        stage_panels = panels[0][1:]
    for axes, stage in zip(stage_panels, stages):
        axis_label = "moves" if whole else f"moves of the {stage} stage"
        box_panel(axes, variants, f"{stage} stage", stage_moves_of(stage), axis_label)
    figure.suptitle("Solution length (solved runs)" if whole else
                    "The stage's moves (solved runs)")
    figure.tight_layout()
    return figure


def convergence_axis_label(variants, stage, measure):
    if measure == "evaluations" and single_stage_records(variants):
        return "evaluations"
    what = "winning location, passes" if stage == BLOCK_STAGE else "runs"
    if measure == "evaluations":
        return f"evaluations of the stage ({what} one after another)"
    return f"generation of the stage ({what} one after another)"


def convergence_panel(axes, variants, stage, measure):
    curves = [[c for c in (stage_curve(run, stage, measure) for run in variant.runs)
               if c is not None] for variant in variants]
    every = [curve for group in curves for curve in group]
    if not every:
        note_no_data(axes, "no logbook rows")
    else:
        # Evaluations start at the first batch's size, not at 1.
        start = min(int(curve[0][0]) for curve in every) if measure == "evaluations" else 1
        grid = convergence_grid(every, max(start, 1))
        for index, (variant, group) in enumerate(zip(variants, curves)):
            if not group:
                continue
            low, median, high = convergence_band(group, grid)
            axes.fill_between(grid, low, high, step="post", color=colour(index), alpha=0.25,
                              linewidth=0)
            axes.step(grid, median, where="post", color=colour(index),
                      label=f"{shown(variant.label)} ({len(group)} runs)")
        if grid[-1] > 10:
            axes.set_xscale("log")
        axes.legend(loc="upper left", fontsize="small")  # the best starts low, at the left
    axes.set_title(f"{stage} stage")
    axes.set_xlabel(convergence_axis_label(variants, stage, measure))
    axes.set_ylabel("best objective")
    axes.grid(True, alpha=0.3)


def convergence_figure(variants, stages):
    panel_count = max(len(stages), 1)  # no stage named anywhere: one empty panel says so
    figure, panels = plt.subplots(1, panel_count, figsize=(max(13 * panel_count / 3, 8), 4),
                                  squeeze=False)
    measure = convergence_measure(variants)
    for axes, stage in zip(panels[0], stages):
        convergence_panel(axes, variants, stage, measure)
    if not stages:
        note_no_data(panels[0][0], "no logbook rows")
    figure.suptitle("Convergence: median best objective over runs, band between quartiles")
    figure.tight_layout()
    return figure


def block_locations_figure(variants, _stages):
    figure, axes = plt.subplots(figsize=(8, 4))
    width = 0.8 / max(len(variants), 1)
    drawn = False
    named = {run.location for variant in variants for run in variant.runs
             if run.location is not None}
    for index, variant in enumerate(variants):
        won = [run.location for run in variant.runs if run.location is not None]
        if not won or len(named) == 1:
            continue
        counts = np.bincount(won, minlength=LOCATION_COUNT)
        axes.bar(np.arange(LOCATION_COUNT) + (index - (len(variants) - 1) / 2) * width,
                 100 * counts / len(won), width, color=colour(index),
                 label=f"{shown(variant.label)} ({len(won)} runs)")
        drawn = True
    if drawn:
        axes.legend(fontsize="small")
    elif named:
        note_no_data(axes, f"every run is at location {named.pop()}: nothing to compare")
    else:
        note_no_data(axes, "no run names a location")
    axes.set_xticks(range(LOCATION_COUNT))
    axes.set_xlabel("block location")
    axes.set_ylabel("share of runs (%)")
    axes.set_title("Where the block was built")
    axes.grid(True, axis="y", alpha=0.3)
    return figure


FIGURE_MAKERS = {
    "time-to-solution": time_to_solution_figure,
    "solution-length": solution_length_figure,
    "convergence": convergence_figure,
    "block-locations": block_locations_figure,
}


def write_figures(variants, folder, dpi):
    """Every figure as SVG and PNG; the stages' panels in the order the files name them."""
    plt.rcParams["svg.hashsalt"] = PROGRAM  # the same data gives the same files
    stages = stage_names(variants)
    for name, _ in FIGURES:
        figure = FIGURE_MAKERS[name](variants, stages)
        figure.savefig(os.path.join(folder, f"{name}.svg"), metadata={"Date": None})
        figure.savefig(os.path.join(folder, f"{name}.png"), dpi=dpi)
        plt.close(figure)
