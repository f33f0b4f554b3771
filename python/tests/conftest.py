"""Shared set-up of the package's tests: the build whose library and programs they use
(STYLUS_BUILD_DIR, by default build/ of the source tree; STYLUS_LIBRARY its libstylus.so),
a scratch working folder per test, and no session left open between tests."""

import os
import subprocess
import sys
from pathlib import Path

import pytest

SOURCE = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("STYLUS_BUILD_DIR", SOURCE / "build")).resolve()
os.environ.setdefault("STYLUS_LIBRARY", str(BUILD / "plot" / "libstylus.so"))
sys.path.insert(0, str(SOURCE / "python"))

import stylus  # noqa: E402
from stylus import _session  # noqa: E402


@pytest.fixture(autouse=True)
def scratch(tmp_path, monkeypatch):
    """Each test works in a folder of its own and leaves no session open."""
    monkeypatch.chdir(tmp_path)
    yield tmp_path
    if _session._State.open:
        stylus.disfin()
    stylus.msgmod("ON")
    stylus.setfil("")
    stylus.setwrn(None)
    stylus.print_lines(True)


def python_env(**extra):
    """The environment of a Python child process that uses the source tree's package."""
    env = dict(os.environ, PYTHONPATH=str(SOURCE / "python"), PYTHONDONTWRITEBYTECODE="1")
    env.update(extra)
    return env


def run(args, cwd=None, env=None, stdin=None):
    """Runs a command; its output (standard output and error together) on failure."""
    r = subprocess.run(args, cwd=cwd, env=env, input=stdin, stdout=subprocess.PIPE,
                       stderr=subprocess.STDOUT)
    assert r.returncode == 0, f"{args}: status {r.returncode}\n{r.stdout.decode(errors='replace')}"
    return r.stdout


def read_ppm(data: bytes):
    """A binary PPM (P6, maxval 255) as rows x columns x 3 uint8."""
    import numpy as np

    fields, at = [], 0
    while len(fields) < 4:
        while data[at : at + 1].isspace():
            at += 1
        if data[at : at + 1] == b"#":
            at = data.index(b"\n", at) + 1
            continue
        end = at
        while not data[end : end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    assert fields[0] == b"P6" and fields[3] == b"255"
    w, h = int(fields[1]), int(fields[2])
    return np.frombuffer(data, np.uint8, w * h * 3, at + 1).reshape(h, w, 3)
