"""Builds the package for pip and records in stylus/_location.py where the installed library
and its reference pages are: the library named by STYLUS_LIBRARY at build time, else the one
pkg-config knows (PKG_CONFIG_PATH=PREFIX/lib/pkgconfig); the pages of that prefix, or those
of the source tree copied into the package. Nothing is compiled."""

import os
import shutil
import subprocess
from pathlib import Path

from setuptools import setup
from setuptools.command.build_py import build_py

HERE = Path(__file__).resolve().parent


def pkg_config(variable):
    try:
        out = subprocess.run(["pkg-config", f"--variable={variable}", "stylus"],
                             capture_output=True, text=True, check=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return None
    return os.path.realpath(out) if out else None


def installed_paths():
    """(library, reference pages) of the installed library, each None when unknown."""
    library = os.environ.get("STYLUS_LIBRARY") or None
    prefix = pkg_config("prefix")
    if library is None and prefix is not None:
        libdir = pkg_config("libdir")
        for name in ("libstylus.so.7", "libstylus.so"):
            if libdir and os.path.exists(os.path.join(libdir, name)):
                library = os.path.join(libdir, name)
                break
    docs = os.path.join(prefix, "share", "doc", "stylus") if prefix else None
    if docs is not None and not os.path.exists(os.path.join(docs, "sessions.md")):
        docs = None
    # The name the loader knows (libstylus.so.7), so that a later 7.x library is found too.
    return (os.path.abspath(library) if library else None), docs


class build_with_location(build_py):
    def run(self):
        super().run()
        package = Path(self.build_lib) / "stylus"
        library, docs = installed_paths()
        if docs is None and (HERE.parent / "docs" / "sessions.md").exists():
            (package / "docs").mkdir(exist_ok=True)
            for page in (HERE.parent / "docs").glob("*.md"):
                shutil.copy(page, package / "docs" / page.name)
        (package / "_location.py").write_text(
            "# Written by pip install (setup.py): the installed library and reference pages.\n"
            f"LIBRARY = {library!r}\nDOCS = {docs!r}\n"
        )


setup(cmdclass={"build_py": build_with_location})
