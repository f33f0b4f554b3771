#!/usr/bin/env python3
"""Writes the hand-made regression inputs of the fuzz corpus (tests/fuzz/corpus/regress-*.bin):
one call sequence per problem that was found, in the byte format of call_sequence.cpp.

    python3 tests/fuzz/make_regressions.py

The opcodes and the point counts are read from call_sequence.cpp, so the inputs follow the
routine table as long as it only grows at its end."""

import os
import re
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = open(os.path.join(HERE, "call_sequence.cpp")).read()
TABLE = SOURCE[SOURCE.index("static const std::vector<Routine> table"):]
ROUTINES = re.findall(r'^\s+\{"([^"]+)",', TABLE, re.M)
COUNTS = [c.strip() for c in re.search(r"kPointCounts\[\] = \{([^}]*)\}", SOURCE).group(1).split(",")]
RAW = 200  # int and float selectors from here on read four raw bytes
RAW_TEXT = 255
NULL_TEXT = 254


def op(name):
    return bytes([ROUTINES.index(name)])


def i32(v):
    return bytes([RAW]) + struct.pack("<i", v)


def f32(v):
    return bytes([RAW]) + struct.pack("<f", v)


def text(s):
    if s is None:
        return bytes([NULL_TEXT])
    b = s.encode("latin-1")
    assert len(b) < 80
    return bytes([RAW_TEXT, len(b)]) + b


def full_length():
    return bytes([0])


def address(present=True):
    return bytes([0 if not present else 1])


def points(count, mode):
    modes = {"axis": 0, "input": 1, "far": 2, "nan": 3, "null x": 4, "null y": 5}
    return bytes([COUNTS.index(str(count)), modes[mode]])


def deviations(mode, values=()):
    modes = {"half": 0, "input": 1, "last negative": 2, "null": 3}
    return bytes([modes[mode]]) + b"".join(f32(v) for v in values)


def session(device, axes=True):
    b = op("metafl") + text(device) + op("disini")
    return b + op("graf (the program's axes)") if axes else b


REGRESSIONS = {
    # A dashed curve far outside the axis system: the pattern is not stepped along the
    # clamped segments outside the window.
    "dashed-curve-far-outside": session("POST") + op("dash") + op("myline") + i32(2) + i32(1)
    + i32(1) + address() + op("curve") + points(100, "far"),
    # A dashed curve through points that are not numbers.
    "dashed-curve-with-nan": session("POST") + op("dotl") + op("curve") + points(100000, "nan"),
    # Infinite and NaN axis ends and steps are refused, nothing is drawn.
    "graf-infinite-end": session("POST", axes=False) + op("graf") + f32(0.0) + f32(float("inf"))
    + f32(0.0) + f32(0.5) + f32(-32.5) + f32(-23.0) + f32(-32.5) + f32(1.0) + op("graf") + f32(0.0)
    + f32(3.0) + f32(0.0) + f32(1e-30) + f32(-3e38) + f32(3e38) + f32(0.0) + f32(float("nan")),
    # A very thick curve on the screen (bounded by the width limit, visible cost).
    "screen-thick-curve": session("CONS") + op("linwid") + i32(10000) + op("curve")
    + points(59, "axis"),
    # A text placed at the edge of the int range: its end point stays an int.
    "message-at-int-limit": session("POST") + op("messag") + text("Hello") + i32(2147483647)
    + i32(100) + op("messag") + text("Hello") + i32(-2147483648) + i32(-2147483648),
    # Null texts, arrays and numbers.
    "null-arguments": session("POST") + op("curve") + points(59, "null x") + op("curve")
    + points(3, "null y") + op("name") + text(None) + text("X") + op("name") + text("Title")
    + text(None) + op("labdig") + i32(2) + text(None) + op("messag") + text(None) + i32(10)
    + i32(10) + op("nlmess") + text(None) + op("trfrel") + points(59, "null x") + op("metafl")
    + text(None) + op("color") + text(None) + op("setvlt") + text(None) + op("setclr_")
    + i32(3) + address(False) + op("linwid_") + i32(3) + address(False) + op("graf_")
    + f32(0.0) * 8 + address() * 3 + address(False) + address() * 4 + op("curve_")
    + points(59, "axis") + address(False) + op("messag_") + text("Hi") + i32(1) + i32(1)
    + full_length() + address(False) + address() + op("myline") + i32(3) + i32(1) + i32(1)
    + i32(1) + address(False),
    # Huge filled symbols on a plotter (covered with strokes, clipped to the axis area), error
    # bars with deviations that are not numbers or infinite, a legend at the ends of the int
    # range and symbols far off the page.
    "symbols-bars-legend-extremes": session("HPGL") + op("legini") + i32(2) + op("marker")
    + i32(19) + op("hsymbl") + i32(10000) + op("incmrk") + i32(-1) + op("curve")
    + points(59, "axis") + op("errbar") + points(59, "axis")
    + deviations("input", [float("nan")] + [0.5] * 7) + deviations("half") + op("errhor")
    + points(3, "axis") + deviations("input", [float("inf")] * 8) + op("leglin")
    + text("measured") + i32(1) + op("legend") + bytes([0]) + op("legpag") + i32(2147483647)
    + i32(-2147483648) + op("symbol") + i32(20) + i32(2147483647) + i32(-2147483648),
}


def main():
    corpus = os.path.join(HERE, "corpus")
    os.makedirs(corpus, exist_ok=True)
    for name, data in REGRESSIONS.items():
        with open(os.path.join(corpus, "regress-%s.bin" % name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
