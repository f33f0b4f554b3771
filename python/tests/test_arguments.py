"""Arguments from Python: arrays of any type and plain sequences give the very file that
float32 arrays give, bad arguments raise before the library sees them, results come back as
Python numbers and texts."""

import numpy as np
import pytest

import stylus
from stylus import _routines


def draw_png(x1, y1, x2, y2):
    """A PNG session with two curves; the bytes of its file."""
    with stylus.session("PNG", file="curves.png", picture=False) as s:
        s.axes((0, 3), (-33, -23))
        stylus.curve(x1, y1)
        stylus.color("GREEN")
        stylus.curve(x2, y2)
    return open(s.result.file, "rb").read()


def test_other_types_and_sequences_give_the_same_file():
    # Values that single precision holds exactly, so every form means the same points.
    xs = np.arange(13) / 4.0
    ys = -32.0 + (np.arange(13) * 7 % 10) * 0.5
    xi, yi = np.array([0, 1, 2, 3]), np.array([-24, -30, -25, -31])
    reference = draw_png(xs.astype(np.float32), ys.astype(np.float32),
                         xi.astype(np.float32), yi.astype(np.float32))
    twice = np.repeat(xs, 2)  # every other value: a strided view
    variants = {
        "float64": (xs, ys, xi.astype(np.float64), yi.astype(np.float64)),
        "lists": (xs.tolist(), ys.tolist(), xi.tolist(), yi.tolist()),
        "tuples and int arrays": (tuple(xs), tuple(ys), xi.astype(np.int32), yi.astype(np.int64)),
        "strided, big-endian, float16, int16": (twice[::2], ys.astype(">f8"),
                                                xi.astype(np.float16), yi.astype(np.int16)),
    }
    for what, args in variants.items():
        assert draw_png(*args) == reference, what


def test_contiguous_float32_is_not_copied():
    a = np.arange(10, dtype=np.float32)
    assert _routines._as_array(a, "x", np.float32) is a
    assert not np.shares_memory(_routines._as_array(a[::2], "x", np.float32), a)


def test_trfrel_changes_lists_and_arrays_in_place():
    with stylus.session("VIRT", picture=False):
        stylus.graf(0, 3, 0, 0.5, -32.5, -23, -32.5, 1)
        f32, lst = np.array([0.0, 1.5, 3.0], np.float32), [0.0, 1.5, 3.0]
        f64 = np.array([-32.5, -28.0, -23.0])
        stylus.trfrel(f32, f64)
        stylus.trfrel(lst, [0.0, 0.0, 0.0])
        assert f32.tolist() == lst == [494.0, 1483.5, 2473.0]
        assert f64.tolist() == [1799.0, np.float32(1136.3158).item(), 400.0]
        with pytest.raises(TypeError, match="in place"):
            stylus.trfrel((0.0, 1.0), [0.0, 1.0])
        frozen = np.zeros(2)
        frozen.setflags(write=False)
        with pytest.raises(TypeError, match="read-only"):
            stylus.trfrel(np.zeros(2), frozen)
        with pytest.raises(TypeError, match="int64 cannot hold"):
            stylus.trfrel(np.zeros(2), np.zeros(2, np.int64))


@pytest.mark.parametrize(
    "call, error",
    [
        (lambda: stylus.height(36.0), TypeError),
        (lambda: stylus.height("36"), TypeError),
        (lambda: stylus.height(True), TypeError),
        (lambda: stylus.height(2**31), ValueError),
        (lambda: stylus.graf("0", 3, 0, 1, 0, 1, 0, 1), TypeError),
        (lambda: stylus.graf(0, 3, 0, 1, 0, 1, 0), TypeError),
        (lambda: stylus.color(3), TypeError),
        (lambda: stylus.color(None), TypeError),
        (lambda: stylus.messag("a\0b", 10, 10), ValueError),
        (lambda: stylus.curve("abc", "def"), TypeError),
        (lambda: stylus.curve([1, "a"], [1, 2]), TypeError),
        (lambda: stylus.curve([1j, 2j], [1, 2]), TypeError),
        (lambda: stylus.curve(np.zeros((2, 2)), np.zeros(4)), ValueError),
        (lambda: stylus.curve([1, 2, 3], [1, 2]), ValueError),
        (lambda: stylus.curve([1, 2, 3], [1, 2, 3], 4), ValueError),
        (lambda: stylus.curve(x=[1, 2], y=None), TypeError),
        (lambda: stylus.myline([1.5, 2.0]), TypeError),
        (lambda: stylus.myline([2**40, 1]), ValueError),
        (lambda: stylus.setfil(12), TypeError),
        (lambda: stylus.setwrn(5), TypeError),
    ],
)
def test_bad_arguments_raise_before_the_library_is_called(call, error):
    # At level 0 every one of these routines would give warning 3: none is heard.
    heard = []
    stylus.setwrn(lambda *w: heard.append(w) or 0)
    with pytest.raises(error):
        call()
    assert heard == []


def test_calls_the_library_refuses_warn_and_go_on():
    with pytest.warns(stylus.StylusWarning) as caught:
        stylus.disfin()
        with stylus.session("VIRT", picture=False):
            stylus.curve([0, 1], [0, 1])  # before graf: level 1
            stylus.graf(0, 1, 0, 1, 0, 1, 0, 1)
            stylus.curve([], [])  # no points
            stylus.curve([0.0, 1.0], [0.0, 1.0], -5)
    assert [(w.message.number, w.message.routine) for w in caught] == [
        (3, "disfin"), (3, "curve"), (2, "curve"), (2, "curve")]
    assert stylus.nwarns() == 3


def test_results_are_python_numbers_and_texts():
    assert stylus.getver() == 7.3 and isinstance(stylus.getver(), float)
    assert stylus.getplv() == 0
    date, time = stylus.dddate(), stylus.ddtime()
    assert isinstance(date, str) and len(date) == 10 and date[2] == date[5] == "."
    assert len(time) == 8 and time[2] == time[5] == ":"
    assert stylus.nlmess("") == 0
    assert stylus.getfil() == ""
