"""Finding and loading the shared library libstylus.

The library is looked for, in this order: the file named by the environment variable
STYLUS_LIBRARY; a libstylus.so beside this package; the library that `cmake --install` or
`pip install` recorded in _location.py; the system's search path (ld.so.conf,
LD_LIBRARY_PATH).
"""

from __future__ import annotations

import ctypes
import os
from pathlib import Path

from . import _location

ENVIRONMENT_VARIABLE = "STYLUS_LIBRARY"
SONAME = "libstylus.so.7"

_HERE = Path(__file__).resolve().parent


def candidates() -> list[str]:
    """The paths and names tried, in order; the environment variable alone when it is set."""
    named = os.environ.get(ENVIRONMENT_VARIABLE)
    if named:
        return [named]
    found = [str(_HERE / name) for name in (SONAME, "libstylus.so") if (_HERE / name).exists()]
    if _location.LIBRARY:
        found.append(os.path.normpath(_HERE / _location.LIBRARY))
    found.append(SONAME)
    return found


def load() -> tuple[ctypes.CDLL, str]:
    """The loaded library and the path or name it was loaded by; ImportError when none loads."""
    tried = []
    for path in candidates():
        try:
            return ctypes.CDLL(path), path
        except OSError as e:
            tried.append(f"  {path}: {e}")
    raise ImportError(
        "stylus: the shared library libstylus was not found. Tried:\n"
        + "\n".join(tried)
        + f"\nInstall the library (cmake --install), or set {ENVIRONMENT_VARIABLE} to the path"
        " of libstylus.so."
    )
