#!/usr/bin/env python3
"""qh2's energy curve from its printed result lines, with the Python package stylus:

    qh2 | python3 examples/python/energy_curve.py             # energy_curve.png
    qh2 | python3 examples/python/energy_curve.py --device POST --file energy.ps

Reads the lines " separacia = 0.100000001  energia = 68.6428604eV" from standard input
(other lines are passed over) and draws the picture qh2 draws, with the same calls: the
same picture on every device, and on PNG the very file that qh2's plotting calls write.
"""

import argparse
import re
import sys

import stylus

RESULT = re.compile(r"^ separacia =\s*(\S+)\s+energia =\s*(\S+?)eV\s*$")


def result_points(lines):
    """The separations (Angstrom) and energies (eV) of qh2's result lines."""
    xs, ys = [], []
    for line in lines:
        m = RESULT.match(line)
        if m:
            xs.append(float(m.group(1)))
            ys.append(float(m.group(2)))
    return xs, ys


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--device", default="PNG", help="device keyword of metafl (PNG)")
    parser.add_argument("--file", default="energy_curve.png",
                        help="output file, versioned when it exists (energy_curve.png)")
    args = parser.parse_args()
    xs, ys = result_points(sys.stdin)
    if not xs:
        sys.exit("energy_curve.py: no result lines of qh2 on standard input")
    with stylus.session(args.device, file=args.file) as s:
        s.axes((0.0, 3.0), (-32.5, -23.0), xstep=0.5, ystep=1.0, xdigits=2, ydigits=2,
               xtitle="Separation (A)", ytitle="Energy (eV)", height=50, title_height=50)
        s.curve(xs, ys, width=4, color="red")
    print(f"energy_curve.py: {len(xs)} points, {s.result.warnings} warnings, "
          f"file {s.result.file or '(none)'}", file=sys.stderr)


if __name__ == "__main__":
    main()
