"""The same picture from C and from Python gives the same files: a program that calls every
routine (every_routine.c and every_routine.py), and qh2's energy curve drawn by the example
examples/python/energy_curve.py from qh2's printed lines against the C program's own."""

import os
import re

import numpy as np

from conftest import BUILD, SOURCE, python_env, read_ppm, run
from energy_picture import EnergyPicture

HERE = os.path.dirname(os.path.abspath(__file__))


def masked(name, data):
    """The bytes of a file with the clock's date and time masked where the format has them."""
    if name.endswith((".psc", ".txt")):
        data = re.sub(rb"\d\d\.\d\d\.\d{4}", b"dd.mm.yyyy", data)
        data = re.sub(rb"\d\d:\d\d:\d\d", b"hh:mm:ss", data)
    return data


def test_the_twins_call_every_routine_of_the_table():
    from stylus._routines import parse_table

    py = open(os.path.join(HERE, "every_routine.py")).read()
    c = open(os.path.join(HERE, "every_routine.c")).read()
    assert [n for n, _, _ in parse_table() if not re.search(rf"stylus\.{n}\b", py)] == []
    assert [n for n, _, _ in parse_table() if not re.search(rf"\b{n}\(", c)] == []


def test_every_routine_gives_the_same_files_from_c_and_python(tmp_path):
    (tmp_path / "c").mkdir()
    (tmp_path / "py").mkdir()
    c_out = run([str(BUILD / "python" / "python_every_routine")], cwd=tmp_path / "c",
                env=dict(os.environ, DISPLAY=""))
    py_out = run(["/usr/bin/python3", os.path.join(HERE, "every_routine.py")],
                 cwd=tmp_path / "py", env=python_env(DISPLAY=""))
    (tmp_path / "c" / "stdout.txt").write_bytes(c_out)
    (tmp_path / "py" / "stdout.txt").write_bytes(py_out)
    names = sorted(os.listdir(tmp_path / "c"))
    assert names == sorted(os.listdir(tmp_path / "py"))
    assert names == ["every.img", "every.png", "every.psc", "every.tif", "every_r.png",
                     "stdout.txt", "stylus.err", "stylus_1.err", "values.txt"]
    for name in names:
        c = (tmp_path / "c" / name).read_bytes()
        py = (tmp_path / "py" / name).read_bytes()
        assert masked(name, c) == masked(name, py), name
    # Only the date line of the PostScript file was masked, and the warnings are there.
    ps = (tmp_path / "c" / "every.psc").read_bytes()
    assert len(re.findall(rb"\d\d:\d\d:\d\d", ps)) == 1
    values = (tmp_path / "py" / "values.txt").read_text()
    assert "warning 2 color [ <<<< Warning   2: Incorrect parameter in color!   (PINK)]" in values
    assert "warning 40 rpng [" in values and "file written [every.psc]" in values
    assert (tmp_path / "py" / "stylus.err").read_text().count("Warning") == 2


def test_energy_curve_example_draws_qh2s_picture(tmp_path):
    qh2_lines = run([str(BUILD / "sim" / "qh2")], cwd=tmp_path, env=dict(os.environ, DISPLAY=""))
    (tmp_path / "py").mkdir()
    run(["/usr/bin/python3", str(SOURCE / "examples" / "python" / "energy_curve.py")],
        cwd=tmp_path / "py", env=python_env(), stdin=qh2_lines)
    (tmp_path / "c").mkdir()
    run([str(BUILD / "examples" / "energy_curve"), "PNG"], cwd=tmp_path / "c")
    png = (tmp_path / "py" / "energy_curve.png").read_bytes()
    assert png == (tmp_path / "c" / "stylus.png").read_bytes()

    rgb = read_ppm(run(["pngtopnm", str(tmp_path / "py" / "energy_curve.png")]))
    assert rgb.shape == (603, 853, 3)
    picture = EnergyPicture(rgb)
    assert picture.axis_system_problems() == []
    pairs = re.findall(rb"separacia =\s*(\S+)\s+energia =\s*(\S+?)eV", qh2_lines)
    xs = np.array([float(a) for a, _ in pairs], np.float32)
    ys = np.array([float(b) for _, b in pairs], np.float32)
    assert len(xs) == 59
    assert picture.curve_problems(xs, ys) == []
    # The checks see a picture that is wrong: without its curve, or moved.
    assert picture.curve_problems(xs, ys + 1.0) != []
    assert EnergyPicture(np.roll(rgb, 40, axis=1)).axis_system_problems() != []
