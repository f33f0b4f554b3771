"""The picture of a session as arrays: the library's uncompressed TIFF file read into colour
numbers and a colour table (or RGB pixels), and a PNG made of them for notebooks."""

from __future__ import annotations

import struct
import zlib

import numpy as np

_TYPE_SIZES = {1: 1, 3: 2, 4: 4}  # BYTE, SHORT, LONG
_TYPE_CODES = {1: "B", 3: "H", 4: "I"}


def read_tiff(data: bytes) -> tuple[np.ndarray, np.ndarray | None]:
    """An uncompressed 8-bit TIFF (palette, grey or RGB): the pixels (rows x columns, or
    rows x columns x 3 for RGB) and the colour table (256 x 3, 8 bits) of a palette image."""
    if data[:4] not in (b"II*\0", b"MM\0*"):
        raise ValueError("not a TIFF file")
    order = "<" if data[:2] == b"II" else ">"
    (ifd,) = struct.unpack_from(order + "I", data, 4)
    (entries,) = struct.unpack_from(order + "H", data, ifd)
    tags: dict[int, list[int]] = {}
    for k in range(entries):
        tag, kind, count, _ = struct.unpack_from(order + "HHII", data, ifd + 2 + 12 * k)
        if kind not in _TYPE_SIZES:
            continue
        size = _TYPE_SIZES[kind] * count
        at = ifd + 2 + 12 * k + 8
        if size > 4:
            (at,) = struct.unpack_from(order + "I", data, at)
        tags[tag] = list(struct.unpack_from(f"{order}{count}{_TYPE_CODES[kind]}", data, at))
    width, height = tags[256][0], tags[257][0]
    samples = tags.get(277, [1])[0]
    if tags.get(259, [1])[0] != 1 or any(b != 8 for b in tags.get(258, [8])):
        raise ValueError("only uncompressed 8-bit TIFF images are read")
    strips = b"".join(data[o : o + n] for o, n in zip(tags[273], tags[279]))
    pixels = np.frombuffer(strips, np.uint8, width * height * samples)
    pixels = pixels.reshape((height, width, samples) if samples > 1 else (height, width))
    palette = None
    if tags.get(262, [1])[0] == 3:
        table = np.array(tags[320], dtype=np.uint32).reshape(3, -1).T
        palette = (table // 257).astype(np.uint8)
    return pixels.copy(), palette


def png_bytes(pixels: np.ndarray, palette: np.ndarray | None) -> bytes:
    """A PNG of colour numbers with their colour table, or of RGB pixels."""
    height, width = pixels.shape[:2]
    rgb = pixels.ndim == 3
    header = struct.pack(">IIBBBBB", width, height, 8, 2 if rgb else 3, 0, 0, 0)
    rows = np.ascontiguousarray(pixels, np.uint8).reshape(height, -1)
    raw = np.hstack([np.zeros((height, 1), np.uint8), rows]).tobytes()  # filter 0 per row

    def chunk(kind: bytes, body: bytes) -> bytes:
        crc = struct.pack(">I", zlib.crc32(kind + body))
        return struct.pack(">I", len(body)) + kind + body + crc

    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
    if not rgb:
        out += chunk(b"PLTE", np.ascontiguousarray(palette, np.uint8).tobytes())
    return out + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
