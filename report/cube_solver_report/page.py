"""The report's folder: the page (index.html), the table in figures (summary.csv) and the
figures."""

import csv
import html
import math
import os

from .figures import FIGURES, write_figures
from .records import PROGRAM, Stop
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


def table_rows(summaries, compare):
    rows = []
    for summary in summaries:
        variant = summary.variant
        cells = [
            variant.label,
            str(len(variant.runs)),
            str(sum(run.solved for run in variant.runs)),
            str(variant.failed_lines),
            str(variant.skipped_lines),
            str(variant.skipped_log_rows) if variant.log_path else "\u2014",
            format_quartiles(summary.moves, 1),
            format_quartiles(summary.seconds, 2),
            format_quartiles(summary.generations, 0),
        ]
        if compare:
            first = summary is summaries[0]
            cells += ["(reference)" if first else format_p(summary.p_moves),
                      "(reference)" if first else format_p(summary.p_seconds)]
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


def summary_table(summaries):
    compare = len(summaries) >= 2
    header = ["variant", "runs", "solved", "failed lines", "skipped lines",
              "skipped logbook rows", "moves", "seconds", "generations"]
    if compare:
        header += ["p (moves)", "p (seconds)"]
    lines = ["<table>", "<tr>" + "".join(f"<th>{html.escape(h)}</th>" for h in header) + "</tr>"]
    for cells in table_rows(summaries, compare):
        lines.append("<tr>" + "".join(f"<td>{html.escape(c)}</td>" for c in cells) + "</tr>")
    lines.append("</table>")
    return "\n".join(lines)


TABLE_NOTE = (
    "Moves, seconds, generations: median (first quartile\u2013third quartile). Moves over "
    "solved runs; seconds and generations over all runs, a run that a budget ended counted "
    "as slower than every solved run (\u221e where a quartile falls among them). "
    "Generations: evaluated sequences / population, all stages. p: the two-sided "
    "Mann\u2013Whitney U test of the variant against the first, over the same values.")


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
            f"<figcaption>{html.escape(FIGURE_CAPTIONS[name])} "
            f'(<a href="{name}.svg">SVG</a>, <a href="{name}.png">PNG</a>)</figcaption>\n'
            "</figure>")
    notes = [TABLE_NOTE]
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
        summary_table(summaries),
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


def write_summary_csv(summaries, path):
    with open(path, "w", newline="", encoding="utf-8") as output:
        writer = csv.writer(output)
        header = ["variant", "file", "logbook", "runs", "solved", "failed_lines",
                  "skipped_lines", "skipped_log_rows"]
        for measure in ("moves", "seconds", "generations"):
            header += [f"{measure}_q1", f"{measure}_median", f"{measure}_q3"]
        writer.writerow(header + ["p_moves", "p_seconds"])
        for summary in summaries:
            variant = summary.variant
            row = [variant.label, variant.path, variant.log_path or "", len(variant.runs),
                   sum(run.solved for run in variant.runs), variant.failed_lines,
                   variant.skipped_lines, variant.skipped_log_rows]
            for figures in (summary.moves, summary.seconds, summary.generations):
                row += [csv_number(value) for value in (figures or (None, None, None))]
            writer.writerow(row + [csv_number(summary.p_moves), csv_number(summary.p_seconds)])


def write_report(variants, folder, dpi):
    summaries = summarise(variants)
    try:
        write_figures(variants, folder, dpi)
        write_summary_csv(summaries, os.path.join(folder, "summary.csv"))
        with open(os.path.join(folder, "index.html"), "w", encoding="utf-8") as output:
            output.write(page(variants, summaries))
    except OSError as error:
        raise Stop(f"{PROGRAM}: cannot write into {folder}: {error.strerror}", 1) from error
