"""What Python users expect above the one-to-one routines: a session as a context manager
that always ends, an axis system and curves with keyword arguments, and the picture of a
raster or screen session as an array (shown inline by a notebook)."""

from __future__ import annotations

import math
import os
import shutil
import tempfile
import warnings
from pathlib import Path
from typing import Any, Optional, Sequence, Union

import numpy as np

from . import _bound as lib
from . import _images, _routines

# The devices that keep a picture of the session (raster devices and screen windows), by
# the first four letters of their keyword.
_PICTURE_DEVICES = {"TIFF", "IMAG", "VIRT", "PNG ", "CONS", "XWIN", "XWND"} | {
    f"XWI{k}" for k in range(1, 6)
} | {f"MET{k}" for k in range(1, 10)}


def _keyword(device: str) -> str:
    return device[:4].upper().ljust(4)


class _State:
    """Whether a session is open, as followed through the calls of disini and disfin."""

    open = False


def _after_disini(noted: list) -> None:
    refused = any(n.routine == "disini" and n.number in (3, 101) for n in noted)
    if not refused:
        _State.open = True


def _after_disfin(noted: list) -> None:
    if not any(n.routine == "disfin" and n.number == 3 for n in noted):
        _State.open = False


_routines.after_call["disini"] = _after_disini
_routines.after_call["disfin"] = _after_disfin


class Picture:
    """The picture of a raster or screen session: colour numbers and the colour table."""

    def __init__(self, colors: np.ndarray, palette: Optional[np.ndarray]):
        self._pixels = colors
        self._palette = palette

    @property
    def colors(self) -> np.ndarray:
        """The colour numbers, rows x columns (uint8), row 0 at the top of the page."""
        if self._palette is None:
            raise ValueError("the picture holds RGB pixels, not colour numbers")
        return self._pixels

    @property
    def palette(self) -> Optional[np.ndarray]:
        """The colour table of the session, 256 x 3 (uint8 red, green, blue)."""
        return self._palette

    @property
    def rgb(self) -> np.ndarray:
        """The pixels as rows x columns x 3 (uint8 red, green, blue)."""
        if self._palette is None:
            return self._pixels
        return self._palette[self._pixels]

    def png(self) -> bytes:
        """The picture as a PNG file."""
        return _images.png_bytes(self._pixels, self._palette)

    def _repr_png_(self) -> bytes:
        return self.png()


def _capture() -> Optional[Picture]:
    """The picture of the session so far, written by rtiff into a private folder."""
    folder = tempfile.mkdtemp(prefix="stylus_picture_")
    try:
        path = os.path.join(folder, "picture.tif")
        lib.rtiff(path)
        if not os.path.exists(path):
            return None
        pixels, palette = _images.read_tiff(Path(path).read_bytes())
        return Picture(pixels, palette)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


class Result:
    """What a session left: its file, its warnings and, on a raster or screen device, its
    picture (which a notebook shows inline)."""

    def __init__(self, file: Optional[str], warnings: int, picture: Optional[Picture]):
        self.file = file
        self.warnings = warnings
        self.picture = picture

    def _repr_png_(self) -> Optional[bytes]:
        return self.picture.png() if self.picture is not None else None

    def __repr__(self) -> str:
        shape = "" if self.picture is None else f", picture {self.picture.rgb.shape[1::-1]}"
        return f"<stylus result: file {self.file!r}, {self.warnings} warnings{shape}>"


class session:
    """A session of the library on a device, as a context manager:

        with stylus.session("PNG", file="plot.png") as s:
            s.axes((0, 3), (-32.5, -23), xtitle="Separation (A)")
            s.curve(x, y, color="RED", width=4)
        s.result.file        # 'plot.png' (or plot_1.png when plot.png existed)

    Entering chooses the device (metafl), the file (setfil: None is the library's default
    name stylus.<ext>), the page format when one is given (setpag) and starts the session
    (disini); leaving ends it (disfin), also when the block raises. On the raster devices
    and the screen the picture is kept (unless picture=False) and shown by notebooks.
    """

    def __init__(
        self,
        device: str,
        file: Union[str, "os.PathLike[str]", None] = None,
        *,
        page: Optional[str] = None,
        picture: bool = True,
    ):
        if not isinstance(device, str):
            raise TypeError(f"session: device must be a str, not {type(device).__name__}")
        self.device = device
        self.file = file
        self.page = page
        self.keep_picture = picture
        self.result: Optional[Result] = None

    def __enter__(self) -> "session":
        if _State.open:
            raise RuntimeError("session: a session is open already; end it first (disfin)")
        # A keyword the library refuses would leave the last session's choice in force.
        for routine, value in (("metafl", self.device),
                               ("setfil", "" if self.file is None else self.file),
                               ("setpag", self.page)):
            if value is not None:
                getattr(lib, routine)(value)
                if _routines.last_warnings:
                    raise ValueError(f"session: {routine} refused {value!r}")
        try:
            lib.disini()
        except BaseException:
            # A warning of disini raised as an error (warning filters): the block will not
            # run, so the session it opened ends here, its own warnings going unsaid.
            if _State.open:
                with warnings.catch_warnings():
                    warnings.simplefilter("ignore")
                    lib.disfin()
            raise
        if not _State.open:
            raise RuntimeError(f"session: the library refused to start on {self.device!r}")
        return self

    def __exit__(self, kind, value, traceback) -> None:
        if not _State.open:
            return
        picture = None
        try:
            if kind is None and self.keep_picture and self.has_picture:
                picture = _capture()
        finally:
            try:
                lib.disfin()
            finally:
                self.result = Result(lib.getfil() or None, lib.nwarns(), picture)

    @property
    def has_picture(self) -> bool:
        """Whether the device keeps a picture (the raster devices and the screen)."""
        return _keyword(self.device) in _PICTURE_DEVICES

    def image(self, rgb: bool = False) -> np.ndarray:
        """The picture drawn so far: colour numbers (rows x columns), or RGB pixels."""
        if not self.has_picture:
            raise ValueError(f"image: the device {self.device!r} keeps no picture")
        if not _State.open:
            raise RuntimeError("image: the session has ended; see .result.picture")
        pic = _capture()
        if pic is None:
            raise RuntimeError("image: the library gave no picture")
        return pic.rgb if rgb else pic.colors

    def _repr_png_(self) -> Optional[bytes]:
        return self.result._repr_png_() if self.result is not None else None

    # ---- keyword forms of the routines that take many numbers -------------------------

    def axes(
        self,
        x: Sequence[float],
        y: Sequence[float],
        *,
        xstep: Optional[float] = None,
        ystep: Optional[float] = None,
        xfirst: Optional[float] = None,
        yfirst: Optional[float] = None,
        xtitle: Optional[str] = None,
        ytitle: Optional[str] = None,
        xdigits: Optional[int] = None,
        ydigits: Optional[int] = None,
        height: Optional[int] = None,
        title_height: Optional[int] = None,
    ) -> None:
        """The axis system (graf) of x = (left end, right end) and y = (bottom, top), with
        the titles, label decimals and heights that go with it. A step left out is a round
        step giving four to ten labels; the first label is the axis's first end; decimals
        left out are as many as the step needs (whole numbers without a point)."""
        _axes(x, y, xstep=xstep, ystep=ystep, xfirst=xfirst, yfirst=yfirst, xtitle=xtitle,
             ytitle=ytitle, xdigits=xdigits, ydigits=ydigits, height=height,
             title_height=title_height)

    def curve(
        self,
        x: _routines.Array,
        y: _routines.Array,
        *,
        color: Optional[str] = None,
        width: Optional[int] = None,
        style: Optional[int] = None,
    ) -> None:
        """A curve through the points (x, y) in the axis system, after setting the line width
        (linwid), colour (color) and line style (lintyp) given; they stay set."""
        _curve(x, y, color=color, width=width, style=style)

    def text(self, text: str, x: int, y: int, *, height: Optional[int] = None,
             angle: Optional[int] = None) -> None:
        """A text at the page point (x, y) (messag), after the height and angle given."""
        if height is not None:
            lib.height(height)
        if angle is not None:
            lib.angle(angle)
        lib.messag(text, x, y)


def nice_step(a: float, b: float) -> float:
    """A step of 1, 2 or 5 times a power of ten that cuts [a, b] into four to ten parts."""
    span = abs(float(b) - float(a))
    if not math.isfinite(span) or span == 0.0:
        return 1.0
    power = 10.0 ** math.floor(math.log10(span / 10.0))
    for factor in (1.0, 2.0, 5.0, 10.0):
        if span / (factor * power) <= 10.0:
            return factor * power
    return 10.0 * power


def _decimals(step: float) -> int:
    """Decimals that show multiples of step exactly; -1 (no point) for whole numbers."""
    for d in range(0, 7):
        if abs(round(step * 10**d) - step * 10**d) < 1e-6 * 10**d:
            return -1 if d == 0 else d
    return 6


def _axes(x, y, *, xstep=None, ystep=None, xfirst=None, yfirst=None, xtitle=None,
         ytitle=None, xdigits=None, ydigits=None, height=None, title_height=None) -> None:
    """The keyword form of graf with its titles and labels (see session.axes)."""
    (xa, xe), (ya, ye) = _pair(x, "x"), _pair(y, "y")
    xstep = nice_step(xa, xe) if xstep is None else xstep
    ystep = nice_step(ya, ye) if ystep is None else ystep
    # A step points from the first end to the other, as graf wants it.
    xstep = math.copysign(abs(_routines._as_float(xstep, "axes: xstep")), xe - xa)
    ystep = math.copysign(abs(_routines._as_float(ystep, "axes: ystep")), ye - ya)
    if height is not None:
        lib.height(height)
    if title_height is not None:
        lib.hname(title_height)
    lib.labdig(_decimals(abs(xstep)) if xdigits is None else xdigits, "X")
    lib.labdig(_decimals(abs(ystep)) if ydigits is None else ydigits, "Y")
    if xtitle is not None:
        lib.name(xtitle, "X")
    if ytitle is not None:
        lib.name(ytitle, "Y")
    lib.graf(xa, xe, xa if xfirst is None else xfirst, xstep,
             ya, ye, ya if yfirst is None else yfirst, ystep)


def _curve(x, y, *, color=None, width=None, style=None) -> None:
    """The keyword form of curve with its colour, width and style (see session.curve)."""
    # In the order of qh2's calls, so that the same picture gives the same file.
    if width is not None:
        lib.linwid(width)
    if color is not None:
        lib.color(color)
    if style is not None:
        lib.lintyp(style)
    lib.curve(x, y)


def _pair(value: Any, what: str) -> tuple[float, float]:
    try:
        a, b = value
    except (TypeError, ValueError):
        raise TypeError(f"axes: {what} must be a pair (first end, second end)") from None
    return _routines._as_float(a, f"axes: {what}[0]"), _routines._as_float(b, f"axes: {what}[1]")
