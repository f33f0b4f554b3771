#!/usr/bin/env python3
"""Builds the packed tables of the default stroke font from font_glyphs.txt.

Writes plot/elements/font_data.cpp: the coordinate table ix1 (one 16-bit word per point, low
byte x, high byte y, signed, whole design units) and the glyph directory j1 (one record per
code from 33 on: its length, then per polyline the count and the 1-based start word, and
for a polyline with an offset a negative count followed by the offset word in half units).

    python3 plot/elements/font_gen.py            rewrite font_data.cpp
    python3 plot/elements/font_gen.py --check    exit 1 when font_data.cpp is out of date
    python3 plot/elements/font_gen.py --report   list the table position of every polyline
"""

import argparse
import pathlib
import re
import sys

HERE = pathlib.Path(__file__).resolve().parent
SOURCE = HERE / "font_glyphs.txt"
TARGET = HERE / "font_data.cpp"
FIRST_CODE, LAST_CODE = 33, 133


class GlyphError(Exception):
    pass


def parse_point(text, where):
    try:
        xs, ys = text.split(",")
        x2, y2 = float(xs) * 2, float(ys) * 2
    except ValueError:
        raise GlyphError(f"{where}: bad point {text!r}")
    if x2 != int(x2) or y2 != int(y2):
        raise GlyphError(f"{where}: {text!r} is not a multiple of a half unit")
    return int(x2), int(y2)


def parse_glyphs(path):
    """Returns {code: (name, [polyline in half units, ...])}."""
    glyphs = {}
    for lineno, raw in enumerate(path.read_text(encoding="ascii").splitlines(), 1):
        if not raw.strip() or raw.startswith("#"):
            continue
        where = f"{path.name}:{lineno}"
        m = re.match(r"^(\d+)\s+(\S+)\s+:\s+(.*)$", raw)
        if not m:
            raise GlyphError(f"{where}: expected 'code char : points'")
        code, name, body = int(m.group(1)), m.group(2), m.group(3)
        if not FIRST_CODE <= code <= LAST_CODE:
            raise GlyphError(f"{where}: code {code} outside {FIRST_CODE}..{LAST_CODE}")
        if code < 127 and name != chr(code):
            raise GlyphError(f"{where}: code {code} is {chr(code)!r}, not {name!r}")
        if code in glyphs:
            raise GlyphError(f"{where}: code {code} given twice")
        polylines = []
        for part in body.split(" | "):
            points = [parse_point(p, where) for p in part.split()]
            if not points:
                raise GlyphError(f"{where}: empty polyline")
            polylines.append(points)
        glyphs[code] = (name, polylines)
    missing = [c for c in range(FIRST_CODE, LAST_CODE + 1) if c not in glyphs]
    if missing:
        raise GlyphError(f"{path.name}: no glyph for codes {missing}")
    return glyphs


def find_run(table, points):
    """First run of the table that is a translated copy of points (half units).

    Returns (start index, (dx, dy) in half units) or None."""
    n = len(points)
    for s in range(len(table) - n + 1):
        dx = points[0][0] - 2 * table[s][0]
        dy = points[0][1] - 2 * table[s][1]
        if all(points[i][0] - 2 * table[s + i][0] == dx and
               points[i][1] - 2 * table[s + i][1] == dy for i in range(n)):
            return s, (dx, dy)
    return None


def normalise(points, where):
    """Splits a polyline into whole-unit points from its lower-left corner and the offset."""
    ox = min(p[0] for p in points)
    oy = min(p[1] for p in points)
    stored = []
    for px, py in points:
        if (px - ox) % 2 or (py - oy) % 2:
            raise GlyphError(f"{where}: mixes whole and half coordinates")
        stored.append(((px - ox) // 2, (py - oy) // 2))
    return stored, (ox, oy)


def signed_byte(v, what):
    if not -128 <= v <= 127:
        raise GlyphError(f"{what} {v} does not fit a signed byte")
    return v & 0xFF


def word(x, y):
    w = (signed_byte(y, "y") << 8) | signed_byte(x, "x")
    return w - 0x10000 if w >= 0x8000 else w


def build(glyphs):
    table = []       # (x, y) whole units
    directory = []   # (code, name, [words of the record])
    report = []
    for code in range(FIRST_CODE, LAST_CODE + 1):
        name, polylines = glyphs[code]
        entries = []
        for k, points in enumerate(polylines):
            where = f"code {code} polyline {k + 1}"
            found = find_run(table, points)
            if found is None:
                stored, offset = normalise(points, where)
                start = len(table)
                table.extend(stored)
            else:
                start, offset = found
            n = len(points)
            if offset == (0, 0):
                entries += [n, start + 1]
            else:
                entries += [-n, start + 1, word(*offset)]
            report.append(f"{code:3d} {name:10s} polyline {k + 1}: {n:2d} points from word "
                          f"{start + 1:3d}, offset {offset[0] / 2:g},{offset[1] / 2:g}")
        directory.append((code, name, [len(entries) + 1] + entries))
    return table, directory, report


def hex_word(w):
    """A table word in hex, so that its x and y bytes can be read off; words with the sign
    bit set go through w() to stay exact in a signed 16-bit table."""
    return f"{w:#06x}" if w >= 0 else f"w({w & 0xFFFF:#06x})"


def render(table, directory):
    words = [word(x, y) for x, y in table]
    nwords = sum(len(r) for _, _, r in directory)
    out = [
        "// The packed tables of the default stroke font: coordinate table ix1 and glyph",
        "// directory j1 of alphabet 1 (codes 33 to 133).",
        "// Generated by plot/elements/font_gen.py from plot/elements/font_glyphs.txt; edit the glyphs",
        "// there and rerun the script instead of changing this file.",
        '#include "elements/font_data.h"',
        "",
        "// clang-format off",
        "namespace stylus {",
        "",
    ]
    if any(w < 0 for w in words):
        out += [
            "namespace {",
            "// A table word given by its bit pattern (words with the sign bit set).",
            "constexpr std::int16_t w(unsigned v) { return static_cast<std::int16_t>(v); }",
            "}  // namespace",
            "",
        ]
    out += [
        f"const int ix1_words = {len(words)};",
        f"const int j1_words = {nwords};",
        "",
        "// One word per point: low byte x, high byte y, signed, in design units.",
        "const std::int16_t ix1[] = {",
    ]
    for i in range(0, len(words), 8):
        row = ", ".join(hex_word(w) for w in words[i:i + 8])
        out.append(f"    /* {i + 1:3d} */ {row},")
    out += [
        "};",
        "",
        "// Per code: length, then (count, start) or (-count, start, offset in half units).",
        "const std::int16_t j1[] = {",
    ]
    for code, name, record in directory:
        label = name.replace("\\", "backslash").replace("*/", "* /")
        out.append(f"    /* {code:3d} {label:10s} */ {', '.join(str(v) for v in record)},")
    out += ["};", "", "}  // namespace stylus", "// clang-format on", ""]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--report", action="store_true")
    args = parser.parse_args()
    try:
        table, directory, report = build(parse_glyphs(SOURCE))
    except GlyphError as e:
        print(f"font_gen: {e}", file=sys.stderr)
        return 2
    text = render(table, directory)
    if args.report:
        print("\n".join(report))
        print(f"ix1: {len(table)} words, j1: {sum(len(r) for _, _, r in directory)} words")
    if args.check:
        current = TARGET.read_text(encoding="ascii") if TARGET.exists() else ""
        if current != text:
            print(f"font_gen: {TARGET.name} is out of date; run {pathlib.Path(__file__).name}",
                  file=sys.stderr)
            return 1
        return 0
    if not args.report:
        TARGET.write_text(text, encoding="ascii")
    return 0


if __name__ == "__main__":
    sys.exit(main())
