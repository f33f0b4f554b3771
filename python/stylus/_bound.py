"""The library, loaded, and its routines bound: every routine of the table as a function of
this module (the package re-exports them). Importing it installs the warning bridge."""

from . import _docs, _library, _routines

library, library_path = _library.load()
routines = _routines.bind(library, _docs.docstrings())
globals().update(routines)
__all__ = sorted(routines)

# The package's own handler: the library's warnings become StylusWarning.
if hasattr(library, "setwrn"):
    routines["setwrn"](None)
