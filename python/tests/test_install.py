"""The package as users install it: `cmake --install` into a prefix (the package beside the
library, with its path to it) and `pip install --no-build-isolation ./python` offline into a
virtual environment with the system's site packages; each imports and draws without any
environment variable. Also the other two ways of finding the library: a library beside the
package, and STYLUS_LIBRARY, which is taken alone when it is set."""

import os
import shutil
import subprocess

import pytest

from conftest import BUILD, SOURCE, run

# Draws a PNG and prints where the library came from and what was written.
PROGRAM = """
import stylus
with stylus.session("PNG", file="check.png") as s:
    s.axes((0, 1), (0, 1))
    s.curve([0, 1], [0, 1], color="RED")
print(stylus.library_path)
print(s.result.file, s.result.picture.colors.shape, stylus.curve.__doc__.splitlines()[0])
"""


def clean_env(**extra):
    env = {k: v for k, v in os.environ.items()
           if k not in ("STYLUS_LIBRARY", "PYTHONPATH", "PKG_CONFIG_PATH", "LD_LIBRARY_PATH")}
    env.update(PYTHONDONTWRITEBYTECODE="1", DISPLAY="", **extra)
    return env


@pytest.fixture(scope="module")
def prefix(tmp_path_factory):
    prefix = tmp_path_factory.mktemp("prefix")
    run(["cmake", "--install", str(BUILD), "--prefix", str(prefix)])
    return prefix


def check_run(python, cwd, env, doc="curve: draw data."):
    """Runs PROGRAM; the library it used. doc: the first docstring line expected."""
    out = run([python, "-c", PROGRAM], cwd=cwd, env=env).decode().splitlines()
    assert out[-1] == f"check.png (603, 853) {doc}"
    assert (cwd / "check.png").read_bytes().startswith(b"\x89PNG")
    return out[-2]


def test_cmake_install_puts_the_package_beside_the_library(prefix, tmp_path):
    packages = prefix / "lib" / "python3" / "dist-packages"
    assert (packages / "stylus" / "__init__.py").exists()
    assert not (packages / "stylus" / "tests").exists()
    used = check_run("/usr/bin/python3", tmp_path, clean_env(PYTHONPATH=str(packages)))
    assert os.path.samefile(used, prefix / "lib" / "libstylus.so.7")


def test_pip_install_into_a_virtual_environment(prefix, tmp_path):
    # A copy of the source tree's python/ and docs/: pip builds in the folder it is given.
    src = tmp_path / "src"
    for folder in ("python", "docs"):
        shutil.copytree(SOURCE / folder, src / folder,
                        ignore=shutil.ignore_patterns("build", "*.egg-info", "__pycache__"))
    run(["/usr/bin/python3", "-m", "venv", "--system-site-packages", str(tmp_path / "venv")])
    pip = str(tmp_path / "venv" / "bin" / "pip")
    run([pip, "install", "--no-build-isolation", "./python"], cwd=src,
        env=clean_env(PKG_CONFIG_PATH=str(prefix / "lib" / "pkgconfig"), PIP_NO_INDEX="1"))
    work = tmp_path / "work"
    work.mkdir()
    used = check_run(str(tmp_path / "venv" / "bin" / "python"), work, clean_env())
    assert os.path.samefile(used, prefix / "lib" / "libstylus.so.7")


def test_a_library_beside_the_package_and_the_environment_variable(prefix, tmp_path):
    shutil.copytree(prefix / "lib" / "python3" / "dist-packages" / "stylus", tmp_path / "stylus")
    shutil.copy(BUILD / "plot" / "libstylus.so", tmp_path / "stylus" / "libstylus.so")
    work = tmp_path / "work"
    work.mkdir()
    # The copy's path to the reference pages leads nowhere: the docstrings say only that.
    used = check_run("/usr/bin/python3", work, clean_env(PYTHONPATH=str(tmp_path)),
                     doc="The library's routine curve.")
    assert os.path.samefile(used, tmp_path / "stylus" / "libstylus.so")
    # Set, the variable is the only place tried: a wrong path is an ImportError naming it.
    r = subprocess.run(["/usr/bin/python3", "-c", "import stylus"], cwd=work,
                       env=clean_env(PYTHONPATH=str(tmp_path), STYLUS_LIBRARY="/no/libstylus.so"),
                       capture_output=True, text=True)
    assert r.returncode != 0
    assert "ImportError" in r.stderr and "STYLUS_LIBRARY" in r.stderr
    assert "/no/libstylus.so" in r.stderr
