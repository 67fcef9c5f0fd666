"""cube-solver-report: pictures and a summary of many runs of cube-solver.

Reads the JSON Lines that `cube-solver batch` writes (one file per variant) and the logbook
beside each, and writes a folder with index.html, the figures as SVG and PNG, and
summary.csv. Run `cube-solver-report --help` (or `python3 -m cube_solver_report --help`) for
the whole story.

Modules: records (reading the files), statistics (the table's figures), convergence (the
logbooks' curves), figures, page (the folder's page and table), command (the arguments).
"""
