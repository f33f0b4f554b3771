"""The cost of a curve of 10^6 points drawn from Python: stylus.curve with NumPy float64
arrays (converted to float32 once), with float32 arrays (passed as they are) and with Python
lists, against the library's curve called directly with float32 arrays (the C call, through
ctypes without any conversion). Each case draws in a session of its own (the axis system and
data of plot_bench's Curve1M: about an eighth of the curve clipped), and only the curve call
is timed; the cases take turns within each round, so that the load of the machine falls on
all of them alike. Exits with status 1 when float64 costs more than 1.5 times the C call.

    make bench     (or: STYLUS_LIBRARY=build/plot/libstylus.so PYTHONPATH=python
                    /usr/bin/python3 bench/python_curve.py [--rounds N])
"""

import argparse
import os
import statistics
import sys
import tempfile
import time

import numpy as np

import stylus
from stylus import _bound

POINTS = 1_000_000
LIMIT = 1.5


def data():
    t = np.arange(POINTS, dtype=np.float64) / (POINTS - 1)
    return t, 1.02 * np.sin(2.0 * np.pi * 20.0 * t)


def timed_curve(device, draw):
    """CPU and wall seconds of draw() inside a session on device, like Curve1M's, width 1."""
    stylus.metafl(device)
    stylus.disini()
    stylus.name("Time", "X")
    stylus.name("Signal", "Y")
    stylus.labdig(1, "XY")
    stylus.graf(0.0, 1.0, 0.0, 0.1, -1.0, 1.0, -1.0, 0.5)
    stylus.linwid(1)
    stylus.color("RED")
    cpu, wall = time.process_time(), time.perf_counter()
    draw()
    cpu, wall = time.process_time() - cpu, time.perf_counter() - wall
    stylus.disfin()
    for name in os.listdir("."):
        os.remove(name)
    return cpu, wall


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=15)
    rounds = parser.parse_args().rounds
    x64, y64 = data()
    x32, y32 = x64.astype(np.float32), y64.astype(np.float32)
    xl, yl = x64.tolist(), y64.tolist()
    c_curve = _bound.library.curve  # argtypes: two addresses and the count
    cases = {
        "C call (float32, no conversion)": lambda: c_curve(x32.ctypes.data, y32.ctypes.data,
                                                           POINTS),
        "stylus.curve, NumPy float64": lambda: stylus.curve(x64, y64),
        "stylus.curve, NumPy float32": lambda: stylus.curve(x32, y32),
        "stylus.curve, Python lists": lambda: stylus.curve(xl, yl),
    }
    stylus.msgmod("OFF")  # no protocol, no report of the clipped points
    failed = False
    with tempfile.TemporaryDirectory(prefix="stylus_python_bench_") as scratch:
        os.chdir(scratch)
        print(f"curve of {POINTS} points, width 1, median of {rounds} rounds "
              "(CPU ms / wall ms; ratio of CPU time to the C call, median of the rounds)")
        for device in ("PNG", "POST"):
            times = {name: [] for name in cases}
            for _ in range(rounds):
                for name, draw in cases.items():
                    times[name].append(timed_curve(device, draw))
            c_cpu = [cpu for cpu, _ in times["C call (float32, no conversion)"]]
            for name, samples in times.items():
                cpu = statistics.median(s[0] for s in samples) * 1e3
                wall = statistics.median(s[1] for s in samples) * 1e3
                ratio = statistics.median(s[0] / c for s, c in zip(samples, c_cpu))
                print(f"  {device:4} {name:34} {cpu:8.1f} / {wall:8.1f} ms   x{ratio:5.2f}")
                if name == "stylus.curve, NumPy float64" and ratio > LIMIT:
                    failed = True
                    print(f"  {device:4} float64 costs more than {LIMIT} times the C call")
        os.chdir("/")
    stylus.msgmod("ON")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
