"""The report's folder: the page (index.html), the table in figures (summary.csv) and the
figures."""

import csv
import html
import math
import os

from .convergence import convergence_measure
from .figures import FIGURES, write_figures
from .records import PROGRAM, Stop, single_stage_records
from .statistics import summarise, unknown_count


def format_number(value, decimals):
    if math.isinf(value):
        return "\u221e"
    text = f"{value:,.{decimals}f}"
    return text.rstrip("0").rstrip(".") if "." in text else text


def format_quartiles(figures, decimals):
    if figures is None:
        return "\u2014"
    low, median, high = (format_number(value, decimals) for value in figures)
    return f"{median} ({low}\u2013{high})"


def format_p(p):
    return "\u2014" if p is None else f"{p:.3g}"


def format_share(count, total):
    return f"{100 * count / total:.0f}%" if total else "\u2014"


def table_rows(summaries, compare, single_stage):
    """The table's cells; single-stage records are compared by the share solved and the
    evaluations to the goal rather than by generations."""
    rows = []
    for summary in summaries:
        variant = summary.variant
        solved = sum(run.solved for run in variant.runs)
        cells = [variant.label, str(len(variant.runs)), str(solved)]
        if single_stage:
            cells.append(format_share(solved, len(variant.runs)))
        cells += [
            str(variant.failed_lines),
            str(variant.skipped_lines),
            str(variant.skipped_log_rows) if variant.log_path else "\u2014",
            format_quartiles(summary.moves, 1),
            format_quartiles(summary.seconds, 2),
            format_quartiles(summary.evaluations if single_stage else summary.generations, 0),
        ]
        if compare:
            p_values = [summary.p_moves, summary.p_seconds]
            if single_stage:
                p_values.append(summary.p_evaluations)
            first = summary is summaries[0]
            cells += ["(reference)" if first else format_p(p) for p in p_values]
        rows.append(cells)
    return rows


PAGE_STYLE = """
body { font-family: sans-serif; margin: 2em; max-width: 80em; color: #222; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #bbb; padding: 0.3em 0.6em; text-align: right; }
th:first-child, td:first-child { text-align: left; }
th { background: #eee; }
figure { margin: 2em 0; }
figure img { max-width: 100%; }
figcaption { max-width: 60em; }
.note { color: #555; max-width: 60em; }
"""

FIGURE_CAPTIONS = {
    "time-to-solution": "The share of each variant's runs solved within a time, in seconds "
    "and in evaluated sequences. Runs that a budget ended are never solved: they keep the "
    "curve below 1.",
    "solution-length": "Moves of the whole solution and of each stage, a box per variant "
    "(median, quartiles, whiskers at 1.5 times the spread between quartiles), over solved "
    "runs.",
    "convergence": "The median over runs of the best objective (10 \u00d7 score \u2212 moves) "
    "against the generations of the stage so far, with the band between the quartiles. "
    "Entry and finish: the stage's runs of the generation loop one after another; block "
    "stage: the winning location over its passes. A search that has ended keeps its last "
    "best.",
    "block-locations": "How often each of the twelve block locations won, as a share of the "
    "runs that name one.",
}


def inputs_list(variants):
    items = []
    for variant in variants:
        log = (f"logbook {html.escape(variant.log_path)}" if variant.log_path else
               "no logbook")
        items.append(f"<li><b>{html.escape(variant.label)}</b>: "
                     f"{html.escape(variant.path)}, {log}</li>")
    return "<ul>\n" + "\n".join(items) + "\n</ul>"


def summary_table(summaries, single_stage):
    compare = len(summaries) >= 2
    if single_stage:
        header = ["variant", "runs", "solved", "share solved", "failed lines", "skipped lines",
                  "skipped logbook rows", "moves of the stage", "seconds",
                  "evaluations to the goal"]
    else:
        header = ["variant", "runs", "solved", "failed lines", "skipped lines",
                  "skipped logbook rows", "moves", "seconds", "generations"]
    if compare:
        header += ["p (moves)", "p (seconds)"] + (["p (evaluations)"] if single_stage else [])
    lines = ["<table>", "<tr>" + "".join(f"<th>{html.escape(h)}</th>" for h in header) + "</tr>"]
    for cells in table_rows(summaries, compare, single_stage):
        lines.append("<tr>" + "".join(f"<td>{html.escape(c)}</td>" for c in cells) + "</tr>")
    lines.append("</table>")
    return "\n".join(lines)


TABLE_NOTE = (
    "Moves, seconds, generations: median (first quartile\u2013third quartile). Moves over "
    "solved runs; seconds and generations over all runs, a run that a budget ended counted "
    "as slower than every solved run (\u221e where a quartile falls among them). "
    "Generations: evaluated sequences / population, all stages. p: the two-sided "
    "Mann\u2013Whitney U test of the variant against the first, over the same values.")

SINGLE_STAGE_TABLE_NOTE = (
    "Single-stage records, compared at a budget of evaluations. Moves of the stage: median "
    "(first quartile\u2013third quartile) over solved runs. Seconds and evaluations to the "
    "goal: over all runs, a run that a budget ended counted as slower than every solved run "
    "(\u221e where a quartile falls among them). p: the two-sided Mann\u2013Whitney U test of "
    "the variant against the first, over the same values.")

EVALUATIONS_CONVERGENCE_CAPTION = (
    "The median over runs of the best objective (10 \u00d7 score \u2212 moves) against the "
    "evaluations so far, with the band between the quartiles: a single stage's search by its "
    "logbook's count, a stage of a whole solve by its generations \u00d7 the population "
    "(generations of different populations, or of different optimizers, do not line up). A "
    "search that has ended keeps its last best.")


def figure_caption(name, variants):
    if name == "convergence" and convergence_measure(variants) == "evaluations":
        return EVALUATIONS_CONVERGENCE_CAPTION
    return FIGURE_CAPTIONS[name]


def unknown_note(variants):
    """Names the solved runs whose records give no evaluations or generations (no population
    to count them with), which the time to solution leaves out; None when there are none."""
    parts = []
    for variant in variants:
        for measure in ("evaluations", "generations"):
            count = unknown_count(variant, measure)
            if count:
                parts.append(f"{variant.label}, the {measure} of {count} solved "
                             f"run{'s' if count > 1 else ''}")
    if not parts:
        return None
    return ("Left out of the time to solution where the records do not give it: "
            + "; ".join(parts) + ".")


def page(variants, summaries):
    figures = []
    for name, title in FIGURES:
        figures.append(
            f'<figure id="{name}">\n<h2>{html.escape(title)}</h2>\n'
            f'<img src="{name}.svg" alt="{html.escape(title)}">\n'
            f"<figcaption>{html.escape(figure_caption(name, variants))} "
            f'(<a href="{name}.svg">SVG</a>, <a href="{name}.png">PNG</a>)</figcaption>\n'
            "</figure>")
    single_stage = single_stage_records(variants)
    notes = [SINGLE_STAGE_TABLE_NOTE if single_stage else TABLE_NOTE]
    left_out = unknown_note(variants)
    if left_out:
        notes.append(left_out)
    return "\n".join([
        "<!DOCTYPE html>",
        '<html lang="en">',
        "<head>",
        '<meta charset="utf-8">',
        "<title>cube-solver report</title>",
        f"<style>{PAGE_STYLE}</style>",
        "</head>",
        "<body>",
        "<h1>cube-solver report</h1>",
        "<h2>Inputs</h2>",
        inputs_list(variants),
        "<h2>Summary</h2>",
        summary_table(summaries, single_stage),
        *(f'<p class="note">{html.escape(note)}</p>' for note in notes),
        *figures,
        "</body>",
        "</html>",
        "",
    ])


def csv_number(value):
    if value is None:
        return ""
    return "inf" if math.isinf(value) else repr(float(value))


def write_summary_csv(summaries, path, single_stage):
    """The table in figures; single-stage records add the share solved, the evaluations to
    the goal and their p."""
    measures = ("moves", "seconds", "generations") + (("evaluations",) if single_stage else ())
    with open(path, "w", newline="", encoding="utf-8") as output:
        writer = csv.writer(output)
        header = ["variant", "file", "logbook", "runs", "solved"]
        header += ["share_solved"] if single_stage else []
        header += ["failed_lines", "skipped_lines", "skipped_log_rows"]
        for measure in measures:
            header += [f"{measure}_q1", f"{measure}_median", f"{measure}_q3"]
        writer.writerow(header + [f"p_{measure}" for measure in measures
                                  if measure != "generations"])
        for summary in summaries:
            writer.writerow(summary_csv_row(summary, measures, single_stage))


def summary_csv_row(summary, measures, single_stage):
    variant = summary.variant
    solved = sum(run.solved for run in variant.runs)
    row = [variant.label, variant.path, variant.log_path or "", len(variant.runs), solved]
    if single_stage:
        row.append(csv_number(solved / len(variant.runs) if variant.runs else None))
    row += [variant.failed_lines, variant.skipped_lines, variant.skipped_log_rows]
    for measure in measures:
        figures = getattr(summary, measure)
        row += [csv_number(value) for value in (figures or (None, None, None))]
    return row + [csv_number(getattr(summary, f"p_{measure}")) for measure in measures
                  if measure != "generations"]


def write_report(variants, folder, dpi):
    summaries = summarise(variants)
    try:
        write_figures(variants, folder, dpi)
        write_summary_csv(summaries, os.path.join(folder, "summary.csv"),
                          single_stage_records(variants))
        with open(os.path.join(folder, "index.html"), "w", encoding="utf-8") as output:
            output.write(page(variants, summaries))
    except OSError as error:
        raise Stop(f"{PROGRAM}: cannot write into {folder}: {error.strerror}", 1) from error
