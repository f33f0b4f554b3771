"""The one-to-one binding: every public routine of stylus.h under its own name and with its
arguments in their order, made from the table ROUTINES.

Each line of the table is a routine as the header declares it, with the C types replaced by
the kinds below; a new routine of the library costs one line. tests/test_binding_table.py
holds the table against plot/stylus.h. Every argument is checked and converted before the
library is called, so the library never sees a null pointer or an array shorter than its
count: a wrong type raises TypeError, a wrong value (a short array, a text with a zero
byte) ValueError.
"""

from __future__ import annotations

import ctypes
import inspect
import operator
import os
from typing import Any, Callable, Optional, Sequence, Union

import numpy as np

from ._bridge import HANDLER_TYPE, bridge

# name  ->  (C type of the argument or result, Python annotation)
#   text          const char*    a str (sent as UTF-8) or bytes, without zero bytes
#   file          const char*    a file name: str, bytes or os.PathLike
#   int           int            a whole number within the C int range (not a bool)
#   count         int            the number of values of the routine's arrays; None (the
#                                default): the arrays' common length
#   float         float          a real number, rounded to single precision
#   floats        const float*   a sequence or array of numbers, as contiguous float32
#   floats_inout  float*         the same, changed in place: a list or writable array
#   ints          const int*     a sequence or array of whole numbers, as C ints
#   handler       stylus_warning_fn   a callable(number, routine, line) -> int, or None
Array = Union[Sequence[float], np.ndarray]

KINDS = {
    "void": ("void", None),
    "text": ("const char*", str),
    "file": ("const char*", Union[str, "os.PathLike[str]"]),
    "int": ("int", int),
    "count": ("int", Optional[int]),
    "float": ("float", float),
    "floats": ("const float*", Array),
    "floats_inout": ("float*", Union[list, np.ndarray]),
    "ints": ("const int*", Union[Sequence[int], np.ndarray]),
    "handler": ("stylus_warning_fn", Optional[Callable[[int, str, str], int]]),
}

ROUTINES = """
float getver()
int getplv()
void metafl(text cfmt)
void setpag(text cpag)
void winini()
void disini()
void disfin()
void resall()
void color(text cname)
void setclr(int ncol)
void setvlt(text ctab)
void linwid(int nwidth)
text dddate()
text ddtime()
void msgmod(text cmode)
int nwarns()
void lintyp(int type)
void myline(ints pattern, count n)
void solid()
void dash()
void dashm()
void dashl()
void dotl()
void chndot()
void chndsh()
void lnmlt(float factor)
void height(int nheight)
void angle(int nangle)
void messag(text text, int nx, int ny)
int nlmess(text text)
void disalf()
void graf(float xa, float xe, float xor, float xstp, float ya, float ye, float yor, float ystp)
float xposn(float x)
float yposn(float y)
int nxposn(float x)
int nyposn(float y)
void trfrel(floats_inout xs, floats_inout ys, count n)
void labdig(int n, text axes)
void name(text text, text axes)
void hname(int n)
void curve(floats x, floats y, count n)
void marker(int nsym)
void hsymbl(int nsize)
void incmrk(int nmode)
void symbol(int nsym, int nx, int ny)
void rlsymb(int nsym, float x, float y)
void errbar(floats x, floats y, floats e1, floats e2, count n)
void errhor(floats x, floats y, floats e1, floats e2, count n)
void errcap(int nwidth)
void legini(int nlin)
void leglin(text text, int ilin)
void legend(text cpos)
void legpag(int nx, int ny)
void rimage(file name)
void rtiff(file name)
void rpng(file name)
void setfil(file name)
file getfil()
void setwrn(handler handler)
"""

INT_MIN, INT_MAX = -(2**31), 2**31 - 1


def parse_table(table: str = ROUTINES) -> list[tuple[str, str, list[tuple[str, str]]]]:
    """(name, result kind, [(argument kind, argument name), ...]) for each line of the table."""
    routines = []
    for line in table.strip().splitlines():
        head, _, rest = line.partition("(")
        result, name = head.split()
        args = [tuple(a.split()) for a in rest.rstrip(")").split(",") if a.strip()]
        for kind, _ in args:
            if kind not in KINDS:
                raise ValueError(f"unknown kind {kind!r} in {line!r}")
        routines.append((name, result, args))
    return routines


# ---- Conversion of the arguments ----------------------------------------------------------


def _type_name(value: Any) -> str:
    return type(value).__name__


def _as_int(value: Any, where: str) -> int:
    if isinstance(value, bool) or not hasattr(value, "__index__"):
        raise TypeError(f"{where} must be an int, not {_type_name(value)}")
    v = operator.index(value)
    if not INT_MIN <= v <= INT_MAX:
        raise ValueError(f"{where} = {v} is outside the range of a C int")
    return v


def _as_float(value: Any, where: str) -> float:
    if isinstance(value, (bool, np.bool_)) or isinstance(value, (str, bytes)):
        raise TypeError(f"{where} must be a real number, not {_type_name(value)}")
    try:
        return float(value)
    except (TypeError, ValueError):
        raise TypeError(f"{where} must be a real number, not {_type_name(value)}") from None


def _as_text(value: Any, where: str) -> bytes:
    if isinstance(value, str):
        raw = value.encode("utf-8", "surrogateescape")
    elif isinstance(value, (bytes, bytearray)):
        raw = bytes(value)
    else:
        raise TypeError(f"{where} must be a str, not {_type_name(value)}")
    if b"\0" in raw:
        raise ValueError(f"{where} contains a zero byte")
    return raw


def _as_file(value: Any, where: str) -> bytes:
    if isinstance(value, os.PathLike):
        value = os.fspath(value)
    if isinstance(value, str):
        value = os.fsencode(value)
    return _as_text(value, where)


class _Scratch:
    """Arrays that the conversions reuse from call to call. A fresh array of millions of
    values costs a page fault for every page on its first writing, several times the
    conversion itself; a buffer taken here is given back after the call (a call made from
    a warning handler during another call takes one of its own)."""

    KEEP = 1 << 26  # bytes of a buffer that is kept for the next call, at most

    def __init__(self) -> None:
        self.free: dict[type, list[np.ndarray]] = {np.float32: [], np.intc: []}

    def take(self, dtype: type, n: int) -> np.ndarray:
        pool = self.free[dtype]
        buf = pool.pop() if pool else None
        if buf is None or buf.size < n:
            buf = np.empty(n, dtype)
        return buf

    def give(self, buf: np.ndarray) -> None:
        pool = self.free[buf.dtype.type]
        if buf.nbytes <= self.KEEP and len(pool) < 4:
            pool.append(buf)


scratch = _Scratch()


def _as_array(value: Any, where: str, dtype: type, into=None) -> np.ndarray:
    """value as a contiguous one-dimensional array of dtype; no copy when it already is one.
    into(n) gives the array of n values that a conversion is written to (default: new)."""
    if isinstance(value, (str, bytes, bytearray)) or not (
        isinstance(value, np.ndarray) or hasattr(value, "__len__") or hasattr(value, "__array__")
    ):
        raise TypeError(f"{where} must be a sequence or array of numbers, not {_type_name(value)}")
    try:
        a = np.asarray(value)
    except (TypeError, ValueError) as e:
        raise TypeError(f"{where} must be a sequence or array of numbers ({e})") from None
    if a.ndim != 1:
        raise ValueError(f"{where} must be one-dimensional, not of shape {a.shape}")
    if a.dtype.kind not in "iuf":
        raise TypeError(f"{where} must hold real numbers, not {a.dtype}")
    if dtype is np.intc and a.dtype.kind == "f":
        raise TypeError(f"{where} must hold whole numbers, not {a.dtype}")
    if dtype is np.intc and a.size and (a.min() < INT_MIN or a.max() > INT_MAX):
        raise ValueError(f"{where} holds a value outside the range of a C int")
    if a.dtype == dtype and a.flags.c_contiguous:
        return a
    out = np.empty(a.size, dtype) if into is None else into(a.size)[: a.size]
    np.copyto(out, a, casting="unsafe")
    return out


# A valid address for an empty array: the library never sees a null pointer.
_EMPTY = {np.float32: np.zeros(1, np.float32), np.intc: np.zeros(1, np.intc)}


def _address(a: np.ndarray, dtype: type) -> int:
    return a.ctypes.data if a.size else _EMPTY[dtype].ctypes.data


def _writable(value: Any, where: str) -> None:
    if isinstance(value, np.ndarray):
        if not value.flags.writeable:
            raise TypeError(f"{where} is changed in place: the array is read-only")
        if value.dtype.kind != "f":
            raise TypeError(f"{where} is changed in place: {value.dtype} cannot hold its results")
    elif not isinstance(value, list):
        raise TypeError(
            f"{where} is changed in place: give a list or a writable NumPy array, not "
            f"{_type_name(value)}"
        )


def _write_back(target: Any, values: np.ndarray, n: int) -> None:
    """Puts the first n converted values into target, unless target is that very array."""
    if isinstance(target, np.ndarray):
        if not np.shares_memory(target, values):
            target[:n] = values[:n]
    else:
        target[:n] = values[:n].tolist()


def _round_trip(value: float) -> float:
    """A float32 result as the shortest Python float that converts back to it (7.3, not
    7.300000190734863)."""
    return float(repr(np.float32(value)))


# ---- The binding ---------------------------------------------------------------------------

_C_TYPES = {
    "text": ctypes.c_char_p,
    "file": ctypes.c_char_p,
    "int": ctypes.c_int,
    "count": ctypes.c_int,
    "float": ctypes.c_float,
    "floats": ctypes.c_void_p,
    "floats_inout": ctypes.c_void_p,
    "ints": ctypes.c_void_p,
    "handler": HANDLER_TYPE,
}
_RESULT_TYPES = {
    "void": None,
    "int": ctypes.c_int,
    "float": ctypes.c_float,
    "text": ctypes.c_char_p,
    "file": ctypes.c_char_p,
}

# Hooks that see each call of a routine and the warnings it gave: the session layer follows
# disini and disfin with them.
after_call: dict[str, Callable[[list], None]] = {}
# The warnings of the last call made, whatever the routine.
last_warnings: list = []


def _convert_result(kind: str, raw: Any) -> Any:
    if kind == "float":
        return _round_trip(raw)
    if kind == "text":
        return (raw or b"").decode("utf-8", "surrogateescape")
    if kind == "file":
        return os.fsdecode(raw or b"")
    return raw


def _signature(args: list[tuple[str, str]], result: str) -> inspect.Signature:
    params = []
    # A count takes its default (the arrays' length) when every later argument has one too.
    optional_from = len(args)
    while optional_from > 0 and args[optional_from - 1][0] == "count":
        optional_from -= 1
    for i, (kind, name) in enumerate(args):
        default = None if i >= optional_from else inspect.Parameter.empty
        params.append(
            inspect.Parameter(
                name,
                inspect.Parameter.POSITIONAL_OR_KEYWORD,
                default=default,
                annotation=KINDS[kind][1],
            )
        )
    ret = {"void": None, "int": int, "float": float, "text": str, "file": str}[result]
    return inspect.Signature(params, return_annotation=ret)


class _Prepared:
    """The C arguments of one call, and what is kept alive and written back around it."""

    __slots__ = ("c_args", "keep", "write_back", "count", "buffers")

    def __init__(self) -> None:
        self.c_args: list[Any] = []
        self.keep: list[Any] = []
        self.write_back: list[tuple[Any, np.ndarray]] = []
        self.count = 0
        self.buffers: list[np.ndarray] = []  # from scratch, given back after the call

    def buffer(self, dtype: type, n: int) -> np.ndarray:
        buf = scratch.take(dtype, n)
        self.buffers.append(buf)
        return buf

    def release(self) -> None:
        for buf in self.buffers:
            scratch.give(buf)
        self.buffers.clear()


def _prepare(name: str, args: list[tuple[str, str]], values: list[Any], set_handler) -> _Prepared:
    p = _Prepared()
    try:
        _convert(p, name, args, values, set_handler)
    except BaseException:
        p.release()
        raise
    return p


def _convert(p: _Prepared, name: str, args, values, set_handler) -> None:
    arrays: list[tuple[str, np.ndarray]] = []
    count_at = None
    for (kind, arg), value in zip(args, values):
        where = f"{name}: {arg}"
        if kind == "text":
            p.c_args.append(_as_text(value, where))
        elif kind == "file":
            p.c_args.append(_as_file(value, where))
        elif kind == "int":
            p.c_args.append(_as_int(value, where))
        elif kind == "float":
            p.c_args.append(_as_float(value, where))
        elif kind == "count":
            count_at = len(p.c_args)
            p.c_args.append(None if value is None else _as_int(value, where))
        elif kind in ("floats", "floats_inout", "ints"):
            dtype = np.intc if kind == "ints" else np.float32
            if kind == "floats_inout":
                _writable(value, where)
            a = _as_array(value, where, dtype, lambda n, t=dtype: p.buffer(t, n))
            arrays.append((arg, a))
            p.keep.append(a)
            if kind == "floats_inout":
                p.write_back.append((value, a))
            p.c_args.append(_address(a, dtype))
        elif kind == "handler":
            p.c_args.append(set_handler(value, where))
    if count_at is not None:
        n = p.c_args[count_at]
        if n is None:
            lengths = {a.size for _, a in arrays}
            if len(lengths) > 1:
                shown = ", ".join(f"{arg} {a.size}" for arg, a in arrays)
                raise ValueError(f"{name}: the arrays differ in length ({shown}); give n")
            n = lengths.pop() if lengths else 0
            if n > INT_MAX:
                raise ValueError(f"{name}: {n} values are more than a C int counts")
            p.c_args[count_at] = n
        p.count = n
        for arg, a in arrays:
            if n > a.size:
                raise ValueError(f"{name}: n = {n}, but {arg} holds {a.size} values")


def _handler_setter(value: Any, where: str) -> Any:
    """setwrn's argument: a callable of the program, or None for the package's own bridge."""
    if value is not None and not callable(value):
        raise TypeError(f"{where} must be a callable(number, routine, line) or None")
    bridge.user = value
    return bridge.c_handler


def bind(lib: ctypes.CDLL, docs: dict[str, str]) -> dict[str, Callable[..., Any]]:
    """A Python function for every routine of the table, keyed by name."""
    functions = {}
    for name, result, args in parse_table():
        functions[name] = _bind_one(lib, name, result, args, docs.get(name))
    return functions


def _bind_one(lib, name, result, args, doc):
    c_function = getattr(lib, name, None)
    signature = _signature(args, result)
    if c_function is not None:
        c_function.argtypes = [_C_TYPES[kind] for kind, _ in args]
        c_function.restype = _RESULT_TYPES[result]
    nargs = len(args)

    def routine(*values, **keywords):
        if c_function is None:
            raise NotImplementedError(f"{name}: the loaded library has no routine {name}")
        if keywords or len(values) != nargs:
            bound = signature.bind(*values, **keywords)
            bound.apply_defaults()
            values = tuple(bound.arguments.values())
        p = _prepare(name, args, list(values), _handler_setter)
        bridge.begin()
        try:
            raw = c_function(*p.c_args)
            noted = bridge.collect()
            for target, a in p.write_back:
                _write_back(target, a, p.count)
        finally:
            p.release()
        global last_warnings
        last_warnings = noted
        hook = after_call.get(name)
        if hook is not None:
            hook(noted)
        bridge.emit(noted)
        return _convert_result(result, raw)

    routine.__name__ = routine.__qualname__ = name
    routine.__signature__ = signature
    routine.__annotations__ = {
        p.name: p.annotation for p in signature.parameters.values()
    } | {"return": signature.return_annotation}
    prototype = f"{result} {name}({', '.join(f'{k} {a}' for k, a in args)})"
    routine.__doc__ = (doc or f"The library's routine {name}.") + f"\n\nBinding: {prototype}"
    routine.__module__ = "stylus"
    return routine
