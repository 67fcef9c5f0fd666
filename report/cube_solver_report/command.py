"""The command: its arguments, its messages and its exit status."""

import argparse
import os
import sys

from .records import PROGRAM, SkipReporter, Stop, label_by_algorithm, load_variants

DESCRIPTION = """\
Pictures and a summary of many runs of cube-solver.

Each RESULTS file is the output of one `cube-solver batch` (JSON Lines, one record a
scramble): a variant, labelled by --label, else by the "algorithm" its records all name, else
by its file name without extension. Where a logbook stands beside it (`a.log.jsonl` for
`a.jsonl`: the name with .log before the extension, as `cube-solver batch --log` writes it),
its rows give the convergence figure. Records of a single stage's search (a top-level
"stage", as examples/deap_stages.py writes them for any optimizer) are read too: the report
then counts that stage's evaluations and moves.
"""

EPILOG = """\
what DIR receives (created if needed):
  index.html               one page: the inputs, the summary table and every figure (the
                           figures are the SVG files beside it; nothing is fetched from
                           elsewhere)
  time-to-solution.svg/.png
                           the empirical cumulative distribution of the time to solution,
                           in seconds and in evaluated sequences, one line per variant: the
                           share of a variant's runs solved within that time. Runs that a
                           budget ended count as runs, never as solved, so they keep the
                           curve below 1. A solved run whose record gives no evaluations
                           (nor the population to count them with) is left out of the
                           evaluations, and counted in a note
  solution-length.svg/.png the moves of the solution (solutionMoves, else totalMoves) and of
                           each stage (moveCount), a box per variant, over solved runs;
                           single-stage records: the stage's moves only
  convergence.svg/.png     per stage, from the logbooks: the median over runs of the best
                           objective (10 x score - moves) against the generations of the
                           stage so far, with the band between the quartiles. Entry and
                           finish: the stage's runs of the generation loop one after the
                           other; block stage: the winning location (the record's
                           `location`) over its passes. A search that has ended keeps its
                           last best; between logged rows the best is the last row's. When
                           the records name different populations or are single-stage, the
                           axis is evaluations instead (generations of a population of 1
                           and of 51 do not line up): a single stage's logbook column
                           `evaluations`, else the stage's generations x population
  block-locations.svg/.png how often each of the twelve block locations won, per variant,
                           as a share of the runs that name one (or a note, when they all
                           name the same one)
  summary.csv              the table in figures (quartiles as numbers, inf, or empty)

the table, per variant:
  runs                     records of a solve, solved or ended by a budget
  solved                   runs with "solved": true (a record without the field, written
                           before budgets existed, is solved)
  failed lines             records {"line": k, "error": ...}: input the solver refused
  skipped lines            lines of the file that are not such records: not JSON, not an
                           object, or missing a field this report needs; each is named on
                           the error stream as FILE:LINE (the first 20 of a file)
  skipped logbook rows     the same for the logbook
  moves                    median (quartiles) of the solution's moves, over solved runs
  seconds, generations     median (quartiles) over all runs; a run that a budget ended is
                           slower than every solved run (a quartile among them is shown as
                           infinite). Generations: evaluations / population, all stages,
                           the population from the record's "parameters"; a record without
                           either (written before the fields existed) counts its stages'
                           generations
  p (moves), p (seconds)   with two or more variants: the two-sided Mann-Whitney U test
                           (scipy's default method: exact for small samples without ties,
                           otherwise the normal approximation) of each variant against the
                           first, over the same values as the medians

  single-stage records (a top-level "stage") are compared at a budget of evaluations: the
  table gives the share solved and, instead of generations, the evaluations to the goal
  (median and quartiles over all runs, a run that a budget ended slower than every solved
  one) with p (evaluations), the same test over them; moves are the stage's

exit status: 0 the report was written (skipped lines are no failure); 1 a file could not be
read or DIR could not be written; 2 a usage error (unknown option, a RESULTS file that does
not exist, --label not given once per file or two variants with one label).

needs Debian's python3-matplotlib, python3-numpy and python3-scipy.
"""


def argument_parser():
    parser = argparse.ArgumentParser(
        prog=PROGRAM, description=DESCRIPTION, epilog=EPILOG,
        formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("results", nargs="+", metavar="RESULTS.jsonl",
                        help="the output of one cube-solver batch: one variant")
    parser.add_argument("-o", "--output", required=True, metavar="DIR",
                        help="the folder to write the report into (created if needed)")
    parser.add_argument("--label", action="append", metavar="NAME",
                        help="the name of a variant, once per RESULTS file in their order "
                        "(default: each file's name without extension)")
    parser.add_argument("--dpi", type=int, default=100, metavar="N",
                        help="resolution of the PNG figures in dots per inch (default 100)")
    return parser


def variant_labels(parser, arguments):
    if arguments.label is None:
        labels = [os.path.splitext(os.path.basename(path))[0] for path in arguments.results]
    elif len(arguments.label) != len(arguments.results):
        parser.error(f"{len(arguments.label)} --label for {len(arguments.results)} files: "
                     "give one per file, in their order, or none")
    else:
        labels = arguments.label
    for label in labels:
        if labels.count(label) > 1:
            parser.error(f"two variants are labelled '{label}': name them with --label")
    return labels


def check_inputs(parser, arguments):
    for path in arguments.results:
        if not os.path.exists(path):
            parser.error(f"{path}: no such file")
        if os.path.isdir(path):
            parser.error(f"{path}: a folder, not a batch output file")
    if arguments.dpi < 10 or arguments.dpi > 1000:
        parser.error("--dpi must be 10..1000")


def make_folder(folder):
    try:
        os.makedirs(folder, exist_ok=True)
    except OSError as error:
        raise Stop(f"{PROGRAM}: cannot create {folder}: {error.strerror}", 1) from error
    if not os.access(folder, os.W_OK):
        raise Stop(f"{PROGRAM}: cannot write into {folder}", 1)


def main(argv):
    """The command over its arguments (without the program's name); the exit status."""
    parser = argument_parser()
    arguments = parser.parse_args(argv)
    labels = variant_labels(parser, arguments)
    check_inputs(parser, arguments)
    try:
        # Only now: --help and the usage errors need no plotting or statistics module.
        from .page import write_report
    except ImportError as missing:
        print(f"{PROGRAM}: needs the Python module {missing.name}: install python3-matplotlib"
              " python3-numpy python3-scipy", file=sys.stderr)
        return 1
    try:
        make_folder(arguments.output)
        variants = load_variants(arguments.results, labels, SkipReporter(sys.stderr))
        if arguments.label is None:
            label_by_algorithm(variants)
        write_report(variants, arguments.output, arguments.dpi)
    except Stop as stop:
        print(stop, file=sys.stderr)
        return stop.status
    return 0

