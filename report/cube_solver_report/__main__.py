"""python3 -m cube_solver_report: the command cube-solver-report."""

import sys

from .command import main

sys.exit(main(sys.argv[1:]))
