"""The file formats the pictures are written in: PPM, JPEG (through ImageMagick), ICO, PNG and BMP."""

import os
import shutil
import struct
import subprocess
import tempfile
import zlib

from .banner import JPEG_QUALITY
from .icon import STANDARD16, palette256


def encode_ppm(rows):
    h, w = len(rows), len(rows[0])
    body = bytes(c for row in rows for px in row for c in px)
    return b"P6\n%d %d\n255\n" % (w, h) + body


def encode_jpeg(rows):
    convert = shutil.which("convert")
    if convert is None:
        raise SystemExit("make_pictures: ImageMagick's 'convert' is needed for the JPEG")
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "banner.ppm")
        dst = os.path.join(tmp, "banner.jpg")
        with open(src, "wb") as f:
            f.write(encode_ppm(rows))
        # Baseline, no metadata, so the bytes depend on the pixels alone.
        subprocess.run([convert, src, "-strip", "-interlace", "none",
                        "-sampling-factor", "2x2,1x1,1x1",
                        "-quality", str(JPEG_QUALITY), "jpeg:" + dst], check=True)
        with open(dst, "rb") as f:
            return f.read()


def encode_dib(img, depth):
    """One icon image as a BMP DIB: header, palette, colour bits, AND mask."""
    size = len(img)
    xor_rows, and_rows = [], []
    if depth == 4:
        palette = STANDARD16
    elif depth == 8:
        palette = palette256()
    else:
        palette = []
    index = {c: i for i, c in reversed(list(enumerate(palette)))}
    for row in reversed(img):                      # DIB rows run bottom-up
        if depth == 32:
            line = b"".join(bytes((0, 0, 0, 0)) if c is None else bytes((c[2], c[1], c[0], 255))
                            for c in row)
        else:
            # Transparent pixels are index 0 (black): screen AND 1 XOR 0 = screen.
            idx = [0 if c is None else index[c] for c in row]
            if depth == 8:
                line = bytes(idx)
            else:
                line = bytes((idx[i] << 4) | idx[i + 1] for i in range(0, size, 2))
        xor_rows.append(line + b"\0" * (-len(line) % 4))
        bits = 0
        for c in row:
            bits = (bits << 1) | (c is None)
        mask = bits.to_bytes((size + 7) // 8, "big")
        and_rows.append(mask + b"\0" * (-len(mask) % 4))
    pixels = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0,
                         len(pixels), 0, 0, len(palette), 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + pal + pixels


def encode_ico(images):
    """images: list of (img, depth) in the order they go into the file."""
    dibs = [encode_dib(img, depth) for img, depth in images]
    offset = 6 + 16 * len(dibs)
    out = [struct.pack("<HHH", 0, 1, len(dibs))]
    for (img, depth), dib in zip(images, dibs):
        size = len(img)
        out.append(struct.pack("<BBBBHHII", size % 256, size % 256,
                               16 if depth == 4 else 0, 0, 1, depth, len(dib), offset))
        offset += len(dib)
    return b"".join(out + dibs)


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def encode_png(img):
    size = len(img)
    raw = b"".join(b"\0" + b"".join(bytes((0, 0, 0, 0)) if c is None else bytes(c) + b"\xff"
                                   for c in row) for row in img)
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))


def encode_bmp(img):
    """A 24-bit Windows bitmap file, rows bottom-up, each padded to four bytes."""
    height, width = len(img), len(img[0])
    rows = []
    for row in reversed(img):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        rows.append(line + b"\0" * (-len(line) % 4))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info)) + info + pixels
