"""STYLUS for Python: the plotting library's routines under their own names, and a session
as a context manager.

    import stylus
    with stylus.session("PNG", file="plot.png") as s:
        s.axes((0, 3), (-32.5, -23), xtitle="Separation (A)", ytitle="Energy (eV)")
        s.curve(x, y, color="RED", width=4)

Every routine of stylus.h is here with the same name and arguments in the same order
(stylus.metafl("POST"), stylus.graf(0, 3, 0, 0.5, -32.5, -23, -32.5, 1), stylus.curve(x, y)):
texts as str, numbers as Python numbers, arrays as sequences or NumPy arrays. The library's
warnings arrive as StylusWarning. The reference is docs/python.md and the library's pages.
"""

from ._bound import library_path, routines
from ._bound import *  # noqa: F401,F403 - the routines of the table
from ._bridge import StylusWarning, print_lines
from ._library import ENVIRONMENT_VARIABLE
from ._session import Picture, Result, nice_step, session

__all__ = sorted(routines) + [
    "ENVIRONMENT_VARIABLE",
    "Picture",
    "Result",
    "StylusWarning",
    "library_path",
    "nice_step",
    "print_lines",
    "session",
]
__version__ = "7.3.0"
