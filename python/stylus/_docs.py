"""Docstrings of the routines, taken from the library's reference pages (docs/*.md).

A section of a page ("## graf: axis system") documents the routines whose C prototypes its
```c block declares; its text, without the C and Fortran calls, becomes their docstring.
The pages are found where `cmake --install` or `pip install` put them (_location.DOCS), or
in the source tree beside this package's folder.
"""

from __future__ import annotations

import re
from pathlib import Path

from . import _location

_HERE = Path(__file__).resolve().parent
_PROTOTYPE = re.compile(
    r"(?:^|[;\s])(?:const\s+)?(?:void|int|float|char)\s*\*?\s*([a-z][a-z0-9_]*)\("
)


def pages_folder() -> Path | None:
    for folder in (_HERE / "docs", _HERE / _location.DOCS if _location.DOCS else None,
                   _HERE.parent.parent / "docs"):
        if folder is not None and (folder / "sessions.md").is_file():
            return folder
    return None


def _sections(text: str):
    title, lines = None, []
    for line in text.splitlines():
        if line.startswith("## "):
            if title is not None:
                yield title, lines
            title, lines = line[3:].strip(), []
        elif title is not None:
            lines.append(line)
    if title is not None:
        yield title, lines


def _docstring(title: str, lines: list[str]) -> tuple[list[str], str]:
    """The routines a section declares, and its docstring."""
    names, prose, in_code, in_fortran = [], [], None, False
    for line in lines:
        if line.startswith("```"):
            in_code = None if in_code is not None else line[3:].strip()
            continue
        if in_code is not None:
            if in_code == "c":
                names += _PROTOTYPE.findall(line)
            else:
                prose.append(line)
            continue
        if line.startswith("Fortran:"):
            in_fortran = True
        if in_fortran:
            in_fortran = bool(line.strip())
            continue
        prose.append(line)
    body = "\n".join(prose).strip()
    return names, f"{title}.\n\n{body}"


def docstrings(folder: Path | None = None) -> dict[str, str]:
    """Routine name to docstring, for every routine of the reference pages."""
    folder = folder if folder is not None else pages_folder()
    docs: dict[str, str] = {}
    if folder is None:
        return docs
    for page in sorted(folder.glob("*.md")):
        for title, lines in _sections(page.read_text(encoding="utf-8")):
            names, doc = _docstring(title, lines)
            for name in names:
                docs.setdefault(name, doc + f"\n\n(From the reference page {page.name}.)")
    return docs
