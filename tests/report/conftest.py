"""The report's tests import its package as a user would, with report/ on the path."""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "report"))
