"""qh2's picture as a raster device draws it (white axes, labels and titles on black, the
red curve), checked where the axis system puts each part: the few checks of
tests/support/energy_picture.h that a Python test needs, for RGB pixels of the PNG."""

import math

import numpy as np

SCALE = 602.0 / 2099.0  # pixels per page point of the raster devices on DA4L


def page_x(x):
    return np.float32(x - 0.0) * np.float32(659.66669) + np.float32(494.0)


def page_y(y):
    return np.float32(1799.0) - (np.float32(y) + np.float32(32.5)) * np.float32(147.26315)


def light(p):
    return (p > 200).all(axis=-1)


def red(p):
    return (p[..., 0] > 200) & (p[..., 1] < 80) & (p[..., 2] < 80)


class EnergyPicture:
    def __init__(self, rgb):
        self.rgb = rgb
        self.slack = max(1, math.ceil(2 * SCALE))

    def _pixel(self, x, y):
        return math.floor(x * SCALE), math.floor(y * SCALE)

    def near(self, x, y, pred):
        c, r = self._pixel(x, y)
        s = self.slack
        return bool(pred(self.rgb[max(r - s, 0) : r + s + 1, max(c - s, 0) : c + s + 1]).any())

    def count(self, x1, y1, x2, y2, pred):
        c1, r1 = self._pixel(x1, y1)
        c2, r2 = self._pixel(x2, y2)
        return int(pred(self.rgb[r1 : r2 + 1, c1 : c2 + 1]).sum())

    def axis_system_problems(self):
        """Parts of the axis system missing or out of place."""
        wrong = []
        for x in (600, 1200, 2000, 2400):
            for y in (1799, 400):
                if not self.near(x, y, light):
                    wrong.append(f"frame at ({x}, {y})")
        for y in (500, 1100, 1700):
            for x in (494, 2473):
                if not self.near(x, y, light):
                    wrong.append(f"frame at ({x}, {y})")
        present = {"label 0.00": (396, 1847, 592, 1896), "label 3.00": (2375, 1847, 2571, 1896),
                   "label -32.50": (152, 1773, 446, 1822), "label -23.50": (152, 448, 446, 497),
                   "x title": (1141, 1927, 1827, 1976), "y title": (72, 830, 121, 1369)}
        empty = {"between x labels": (610, 1850, 710, 1895),
                 "between y labels": (160, 1690, 440, 1760),
                 "inside the frame": (1000, 1700, 1300, 1780),
                 "right of the frame": (2520, 420, 2900, 1780),
                 "above the frame": (520, 20, 2440, 360)}
        wrong += [k for k, box in present.items() if self.count(*box, light) == 0]
        wrong += [k for k, box in empty.items() if self.count(*box, light) != 0]
        return wrong

    def curve_problems(self, xs, ys):
        """Result points inside the window without red near them, and red outside the frame."""
        wrong = []
        inside = [(x, y) for x, y in zip(xs, ys)
                  if -32.3 <= y <= -23.2 and page_x(np.float32(x)) <= 2470]
        if len(inside) <= 40:
            wrong.append(f"only {len(inside)} points inside the window")
        wrong += [f"no red at ({x}, {y})" for x, y in inside
                  if not self.near(page_x(np.float32(x)), page_y(y), red)]
        rows, cols = np.nonzero(red(self.rgb))
        margin = 4.0 + 2.0 / SCALE
        px, py = (cols + 0.5) / SCALE, (rows + 0.5) / SCALE
        beyond = ((px < 494 - margin) | (px > 2473 + margin) | (py < 400 - margin)
                  | (py > 1799 + margin)).sum()
        if len(rows) == 0 or beyond:
            wrong.append(f"{len(rows)} red pixels, {beyond} outside the frame")
        return wrong
