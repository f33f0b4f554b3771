"""The session as a context manager: it always ends, names its file, keeps the picture of a
raster session as colour numbers and RGB, and gives notebooks a PNG."""

import numpy as np
import pytest

import stylus
from conftest import read_ppm, run


def test_ends_the_session_when_the_block_raises():
    with pytest.raises(ZeroDivisionError):
        with stylus.session("POST", file="broken.ps") as s:
            stylus.graf(0, 1, 0, 0.5, 0, 1, 0, 0.5)
            1 / 0
    # The file is complete (ended by disfin) and a new session can start.
    assert s.result.file == "broken.ps"
    assert open("broken.ps", "rb").read().rstrip().endswith(b"showpage")
    with stylus.session("VIRT") as again:
        pass
    assert again.result.picture is not None


def test_refuses_a_second_session_and_choices_the_library_refused():
    with stylus.session("VIRT", picture=False):
        with pytest.raises(RuntimeError, match="open already"):
            with stylus.session("PNG"):
                pass
        stylus.height(40)  # the first session goes on
    # Every keyword has a driver now (the terminal devices too): a session on one starts.
    with stylus.session("TEKT", file="t.tek") as s:
        pass
    assert s.result.file == "t.tek" and open("t.tek", "rb").read(1) == b"\x1b"
    # An unknown keyword would leave the last choice in force: the session does not start.
    for args, routine in ((("NONE",), "metafl"), (("PNG", "x" * 300), "setfil"),
                          (("PNG", None, "XX4L"), "setpag")):
        with pytest.warns(stylus.StylusWarning, match=f"Incorrect parameter in {routine}"):
            with pytest.raises(ValueError, match=f"{routine} refused"):
                with stylus.session(*args[:2], page=args[2] if len(args) > 2 else None):
                    pass


def test_file_name_is_versioned_and_reported():
    open("plot.png", "wb").write(b"mine")
    with stylus.session("PNG", file="plot.png") as s:
        stylus.graf(0, 1, 0, 0.5, 0, 1, 0, 0.5)
    assert s.result.file == "plot_1.png"
    assert open("plot.png", "rb").read() == b"mine"
    with stylus.session("PNG") as s:
        pass
    assert s.result.file == "stylus.png"


def test_picture_matches_the_png_file_and_the_notebook_png():
    with stylus.session("PNG", file="pic.png") as s:
        s.axes((0, 3), (-33, -23), xtitle="Separation (A)", ytitle="Energy (eV)")
        s.curve([0, 1, 2, 3], [-30, -24, -31, -25], color="RED", width=4)
        during = s.image()
    pic = s.result.picture
    assert pic.colors.shape == (603, 853) and pic.colors.dtype == np.uint8
    assert pic.palette.shape == (256, 3)
    assert np.array_equal(pic.colors, during)
    # The file that the library wrote, decoded by netpbm, shows the same pixels.
    from_file = read_ppm(run(["pngtopnm", "pic.png"]))
    assert np.array_equal(pic.rgb, from_file)
    assert (pic.rgb == [255, 0, 0]).all(axis=2).sum() > 500  # the red curve
    # The notebook's PNG: a valid file (pngcheck) with the same pixels.
    png = s._repr_png_()
    open("shown.png", "wb").write(png)
    run(["pngcheck", "-q", "shown.png"])
    assert np.array_equal(read_ppm(run(["pngtopnm", "shown.png"])), pic.rgb)


def test_vector_devices_keep_no_picture():
    with stylus.session("POST", file="v.ps") as s:
        with pytest.raises(ValueError, match="keeps no picture"):
            s.image()
    assert s.result.picture is None and s._repr_png_() is None
    assert s.result.warnings == 0


def test_axes_choose_round_steps_and_decimals():
    assert stylus.nice_step(0, 3) == 0.5
    assert stylus.nice_step(-32.5, -23) == 1.0
    assert stylus.nice_step(0, 1e-3) == pytest.approx(1e-4)
    assert stylus.nice_step(5, 5) == 1.0
    # The keyword form draws what the calls it stands for draw.
    with stylus.session("PNG", file="kw.png", picture=False) as s:
        s.axes((0, 3), (-32.5, -23), xtitle="x", ytitle="y")
    with stylus.session("PNG", file="calls.png", picture=False):
        stylus.labdig(1, "X")
        stylus.labdig(-1, "Y")
        stylus.name("x", "X")
        stylus.name("y", "Y")
        stylus.graf(0, 3, 0, 0.5, -32.5, -23, -32.5, 1)
    assert open("kw.png", "rb").read() == open("calls.png", "rb").read()
    with stylus.session("VIRT", picture=False) as s:
        with pytest.raises(TypeError, match="pair"):
            s.axes(3, (0, 1))


def test_screen_picture_without_display(monkeypatch):
    monkeypatch.delenv("DISPLAY", raising=False)
    with stylus.session("CONS") as s:
        stylus.graf(0, 1, 0, 0.5, 0, 1, 0, 0.5)
    assert s.result.picture.colors.shape[0] > 100


def test_text_sets_height_and_angle_then_draws():
    with stylus.session("VIRT") as s:
        s.text("Hello", 100, 1000, height=80, angle=90)
        drawn = s.image()
    with stylus.session("VIRT") as s:
        stylus.height(80)
        stylus.angle(90)
        stylus.messag("Hello", 100, 1000)
    assert np.array_equal(s.result.picture.colors, drawn)
    assert (drawn != drawn[0, 0]).sum() > 100
