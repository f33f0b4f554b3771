"""The library's warnings as Python warnings.

The library calls a handler for every warning it counts (setwrn). The handler installed
here only notes the warning; when the library call returns, the binding raises each noted
warning as a StylusWarning with warnings.warn, so that it points at the caller's line and
the warning filters (including "error") act on it as on any other warning. The library
still counts the warning and, unless print_lines(False) was called, prints its line as
always. A warning while messages are off (msgmod("OFF")) is noted but not raised.
"""

from __future__ import annotations

import ctypes
import sys
import warnings
from typing import Callable, NamedTuple, Optional

HANDLER_TYPE = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_int, ctypes.c_char_p, ctypes.c_char_p)


class StylusWarning(UserWarning):
    """A warning of the library: its number (0 for the off-page lines of messag), the routine
    that gave it and the line as the library prints it."""

    def __init__(self, number: int, routine: str, line: str):
        super().__init__(line.lstrip(" <"))
        self.number = number
        self.routine = routine
        self.line = line


class Noted(NamedTuple):
    number: int
    routine: str
    line: str


def _text(raw: Optional[bytes]) -> str:
    return raw.decode("utf-8", "surrogateescape") if raw else ""


class Bridge:
    """The handler the library calls, and what it noted during the library call in progress."""

    def __init__(self) -> None:
        self.noted: list[Noted] = []
        self.failures: list[BaseException] = []
        self.take_lines = 0  # the handler's answer: 0 the library prints the line as well
        self.user: Optional[Callable[[int, str, str], object]] = None
        self.c_handler = HANDLER_TYPE(self._handle)

    def _handle(self, number: int, routine: Optional[bytes], line: Optional[bytes]) -> int:
        # An exception must not cross the library; it is raised when the call returns.
        try:
            noted = Noted(number, _text(routine), _text(line))
            self.noted.append(noted)
            if self.user is not None:
                answer = self.user(*noted)
                return 1 if answer else 0
            return self.take_lines
        except BaseException as e:  # noqa: BLE001 - kept and raised after the call
            self.failures.append(e)
            return 0

    def begin(self) -> None:
        self.noted.clear()
        self.failures.clear()

    def collect(self) -> list[Noted]:
        """The warnings noted during the call just made."""
        noted = list(self.noted)
        self.noted.clear()
        return noted

    def emit(self, noted: list[Noted]) -> None:
        """Raises an exception of the program's handler, kept during the call; without such a
        handler, warns of each warning whose line the library had to print."""
        failures = list(self.failures)
        self.failures.clear()
        if failures:
            raise failures[0]
        if self.user is None:
            level = _caller_level()
            for n in noted:
                if n.line:
                    warnings.warn(StylusWarning(*n), stacklevel=level)


def _caller_level() -> int:
    """The stacklevel of the first frame outside this package, for warnings.warn called here."""
    frame = sys._getframe(1)
    level = 1
    while frame is not None and _ours(frame.f_globals.get("__name__", "")):
        frame = frame.f_back
        level += 1
    return level


def _ours(module: str) -> bool:
    return module == "stylus" or module.startswith("stylus.")


bridge = Bridge()


def print_lines(on: bool) -> None:
    """Whether the library goes on printing the lines of the warnings that reach Python as
    StylusWarning (True, the default: the error file and standard output keep every line)."""
    bridge.take_lines = 0 if on else 1
