"""Draws Numerak's title banner (banner.jpg, and banner@2x.jpg at twice its size for screens of
higher density) and application icon (numerak.ico, icon-*.png, and icon-192.png and icon-512.png
for the browser's app list)."""

# Everything is drawn from code so the pictures can be regenerated exactly:
# run this script to rewrite them, or with --check to test the files in this
# folder.  Only the standard library is used, plus ImageMagick's `convert` for
# the JPEG encoding, which is not worth writing by hand.

import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------
# Banner
# ---------------------------------------------------------------------------

BANNER_W, BANNER_H = 407, 68
JPEG_QUALITY = 85

# Letter geometry in pixels.  One grid unit is UNIT_X wide and UNIT_Y high;
# the letters are five units tall.  Even UNIT_X keeps half-unit edges on whole
# pixels, so vertical strokes stay sharp.
UNIT_X, UNIT_Y = 10, 9
OUTLINE = 2          # black rim around the white faces
DEPTH = 5            # how far the black 3-D side reaches, down and right
LETTER_GAP = 1.4     # in units; leaves white between one letter's side and the next
LETTER_TOP = 4
STRIPE_TOP, STRIPE_H = 60, 4
STRIPE_MARGIN = 6

# The rainbow, evenly spaced from left to right.
RAINBOW = [(230, 0, 0), (255, 128, 0), (255, 220, 0), (0, 170, 0),
           (0, 90, 255), (75, 0, 170), (150, 0, 220)]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


# Each letter is a width (in units) and a union of convex polygons.  Pieces
# overlap wherever they meet: pieces that only touched would leave a faint
# seam from the anti-aliasing.
GLYPHS = {
    "N": (4.5, [rect(0, 0, 1, 5), rect(3.5, 0, 4.5, 5),
                [(0, 0), (1.3, 0), (4.5, 5), (3.2, 5)]]),
    "U": (4, [[(0, 0), (1, 0), (1, 5), (0.5, 5), (0, 4.5)],
              [(3, 0), (4, 0), (4, 4.5), (3.5, 5), (3, 5)],
              [(0, 4), (4, 4), (4, 4.5), (3.5, 5), (0.5, 5), (0, 4.5)]]),
    "M": (5.5, [rect(0, 0, 1, 5), rect(4.5, 0, 5.5, 5),
                [(0, 0), (1.3, 0), (3.4, 3.6), (2.1, 3.6)],
                [(5.5, 0), (4.2, 0), (2.1, 3.6), (3.4, 3.6)]]),
    "E": (3.5, [rect(0, 0, 1, 5), rect(0, 0, 3.5, 1), rect(0, 2, 3, 3),
                rect(0, 4, 3.5, 5)]),
    "R": (4, [rect(0, 0, 1, 5),
              [(0, 0), (3.5, 0), (4, 0.5), (4, 1), (0, 1)],
              [(3, 0), (3.5, 0), (4, 0.5), (4, 2.5), (3.5, 3), (3, 3)],
              [(0, 2), (4, 2), (4, 2.5), (3.5, 3), (0, 3)],
              [(1.7, 2.5), (3.0, 2.5), (4.2, 5), (2.9, 5)]]),
    "A": (4, [[(0, 0.5), (0.5, 0), (1, 0), (1, 5), (0, 5)],
              [(3, 0), (3.5, 0), (4, 0.5), (4, 5), (3, 5)],
              [(0, 0.5), (0.5, 0), (3.5, 0), (4, 0.5), (4, 1), (0, 1)],
              rect(0, 2, 4, 3)]),
    "K": (4, [rect(0, 0, 1, 5),
              [(0.6, 2.1), (2.7, 0), (4.1, 0), (0.6, 3.5)],
              [(0.55, 2.85), (1.25, 2.15), (4.1, 5), (2.7, 5)]]),
}


class Convex:
    """A convex polygon that answers signed distances (negative inside)."""

    def __init__(self, points):
        area = 0.0
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            area += ax * by - bx * ay
        if area < 0:
            points = points[::-1]       # so the interior lies left of every edge
        self.edges = []
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            dx, dy = bx - ax, by - ay
            length = math.hypot(dx, dy)
            if length == 0:
                continue
            # With the interior on the left of (dx, dy), (dy, -dx) points out.
            self.edges.append((ax, ay, dx, dy, dy / length, -dx / length, length * length))
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.box = (min(xs), min(ys), max(xs), max(ys))

    def distance(self, px, py):
        inside = -math.inf
        for ax, ay, _dx, _dy, nx, ny, _len2 in self.edges:
            inside = max(inside, (px - ax) * nx + (py - ay) * ny)
        if inside <= 0:
            return inside
        best = math.inf
        for ax, ay, dx, dy, _nx, _ny, len2 in self.edges:
            t = ((px - ax) * dx + (py - ay) * dy) / len2
            t = min(1.0, max(0.0, t))
            best = min(best, math.hypot(px - ax - t * dx, py - ay - t * dy))
        return best


def convex_hull(points):
    pts = sorted(set(points))
    if len(pts) < 3:
        return pts

    def half(seq):
        out = []
        for p in seq:
            while len(out) >= 2 and ((out[-1][0] - out[-2][0]) * (p[1] - out[-2][1])
                                     - (out[-1][1] - out[-2][1]) * (p[0] - out[-2][0])) <= 0:
                out.pop()
            out.append(p)
        return out

    lower, upper = half(pts), half(pts[::-1])
    return lower[:-1] + upper[:-1]


def coverage(signed_distance):
    # Share of a pixel covered by an edge passing at this distance from its centre.
    return min(1.0, max(0.0, 0.5 - signed_distance))


def rainbow(t):
    """Colour at t in [0, 1] along the rainbow, red at 0, violet at 1."""
    pos = t * (len(RAINBOW) - 1)
    i = min(int(pos), len(RAINBOW) - 2)
    f = pos - i
    a, b = RAINBOW[i], RAINBOW[i + 1]
    return tuple(round(a[k] + (b[k] - a[k]) * f) for k in range(3))


def layout_word(word):
    """Faces and black bodies (face swept along the 3-D side) in pixels."""
    total = sum(GLYPHS[c][0] for c in word) + LETTER_GAP * (len(word) - 1)
    extent = total * UNIT_X + 2 * OUTLINE + DEPTH
    x = round((BANNER_W - extent) / 2) + OUTLINE
    faces, bodies = [], []
    for c in word:
        width, pieces = GLYPHS[c]
        for piece in pieces:
            pts = [(x + u * UNIT_X, LETTER_TOP + v * UNIT_Y) for u, v in piece]
            faces.append(Convex(pts))
            swept = pts + [(px + DEPTH, py + DEPTH) for px, py in pts]
            bodies.append(Convex(convex_hull(swept)))
        x += (width + LETTER_GAP) * UNIT_X
    return faces, bodies


def draw_banner(scale=1):
    """The banner as rows of (r, g, b) tuples, `scale` pixels to each pixel of its own size.

    The drawing is the same at every scale: each pixel samples the same shapes at its centre,
    and edges are smoothed over one pixel of the scale drawn at, so the larger one is sharper.
    """
    faces, bodies = layout_word("NUMERAK")
    reach = OUTLINE + 1
    rows = []
    for y in range(BANNER_H * scale):
        cy = (y + 0.5) / scale
        row_faces = [f for f in faces if f.box[1] - 1 <= cy <= f.box[3] + 1]
        row_bodies = [b for b in bodies if b.box[1] - reach <= cy <= b.box[3] + reach]
        row = []
        for x in range(BANNER_W * scale):
            cx = (x + 0.5) / scale
            black = 0.0
            for b in row_bodies:
                if b.box[0] - reach <= cx <= b.box[2] + reach:
                    black = max(black, coverage(scale * (b.distance(cx, cy) - OUTLINE)))
            white = 0.0
            for f in row_faces:
                if f.box[0] - 1 <= cx <= f.box[2] + 1:
                    white = max(white, coverage(scale * f.distance(cx, cy)))
            level = (1.0 - black) * (1.0 - white) + white
            v = round(255 * level)
            row.append((v, v, v))
        rows.append(row)
    # The underline stripe, red at its left end and violet at its right.
    left, right = STRIPE_MARGIN * scale, (BANNER_W - STRIPE_MARGIN) * scale
    for y in range(STRIPE_TOP * scale, (STRIPE_TOP + STRIPE_H) * scale):
        for x in range(left, right):
            rows[y][x] = rainbow((x - left) / (right - left - 1))
    return rows


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


# ---------------------------------------------------------------------------
# Icon
# ---------------------------------------------------------------------------

# The standard 16-colour Windows palette, in its usual order.  The icon's
# artwork uses only these colours, so every depth shows the same picture.
STANDARD16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, WHITE = (0, 0, 0), (255, 255, 255)
YELLOW, CYAN, RED, GREY = (255, 255, 0), (0, 255, 255), (255, 0, 0), (128, 128, 128)

ICON_SIZES = (16, 32, 48)
ICON_DEPTHS = (4, 8, 32)
APP_ICON_SIZES = (192, 512)


def palette256():
    # The 16 standard colours, a 6x6x6 colour cube and 24 greys.
    pal = list(STANDARD16)
    levels = (0, 51, 102, 153, 204, 255)
    pal += [(r, g, b) for r in levels for g in levels for b in levels]
    pal += [(8 + 10 * i,) * 3 for i in range(24)]
    return pal


# Tiny letters for the icons.  '#' is ink.
FONT_SMALL = {   # five rows, for 32x32
    "N": ["#..#", "##.#", "#.##", "#..#", "#..#"],
    "U": ["#.#", "#.#", "#.#", "#.#", "###"],
    "M": ["#...#", "##.##", "#.#.#", "#...#", "#...#"],
    "E": ["###", "#..", "##.", "#..", "###"],
    "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "K": ["#.#", "#.#", "##.", "#.#", "#.#"],
}
FONT_LARGE = {   # seven rows, for 48x48
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
}


def text_bitmap(text, font):
    rows = ["" for _ in next(iter(font.values()))]
    for i, c in enumerate(text):
        for r, line in enumerate(font[c]):
            rows[r] += ("." if i else "") + line
    return rows


# Ring layout per icon size: centre height, the two centres' x, outer and
# inner radius, chosen by eye so the circles come out round on the pixel grid.
# Twice the inner radius exceeds the centres' distance, so each ring passes
# through the other's hole and the two crossings stay apart.
RINGS = {
    16: (8.5, 5.5, 10.5, 5.5, 2.4),
    32: (9.5, 10.5, 21.5, 9.6, 6.0),
    48: (15.0, 15.0, 33.0, 15.0, 9.8),
}


def draw_icon(size):
    """The icon as rows of colours, None where transparent."""
    cy, left_x, right_x, r_out, r_in = RINGS[size]
    rim = 1.0                                   # black edge of each ring
    img = [[None] * size for _ in range(size)]
    coloured = size >= 32

    def ring_colour(which, x, y):
        """Colour of ring `which` (0 left, 1 right) at pixel (x, y), or None."""
        cx = (left_x, right_x)[which]
        dx, dy = x + 0.5 - cx, y + 0.5 - cy
        d = math.hypot(dx, dy)
        if d < r_in or d > r_out:
            return None
        if d < r_in + rim or d > r_out - rim:
            return BLACK
        if not coloured:
            return WHITE
        # Each ring is banded like a life buoy: a coloured arc on top and
        # below, white at the sides.
        if abs(dy) < abs(dx) * 1.2:
            return WHITE
        if which == 0:
            return YELLOW if dy < 0 else RED
        return CYAN if dy < 0 else GREY

    for y in range(size):
        for x in range(size):
            a, b = ring_colour(0, x, y), ring_colour(1, x, y)
            if a is not None and b is not None:
                # Interlocked: the left ring passes over the right one at the
                # top crossing and under it at the bottom crossing.
                img[y][x] = a if y + 0.5 < cy else b
            else:
                img[y][x] = a if a is not None else b

    if coloured:
        font = FONT_SMALL if size == 32 else FONT_LARGE
        lines = [text_bitmap("NUM", font), text_bitmap("ERAK", font)]
        glyph_h = len(lines[0])
        top = size - 1 - (2 * glyph_h + 1)      # leaves the plate's bottom row
        ink = []
        for n, bitmap in enumerate(lines):
            x0 = (size - len(bitmap[0])) // 2
            y0 = top + n * (glyph_h + 1)
            # Each line sits on a white plate one pixel larger all round, so
            # the black letters stay readable on dark desktops.
            for y in range(y0 - 1, y0 + glyph_h + 1):
                for x in range(x0 - 1, x0 + len(bitmap[0]) + 1):
                    img[y][x] = WHITE
            for r, line in enumerate(bitmap):
                for c, ch in enumerate(line):
                    if ch == "#":
                        ink.append((x0 + c, y0 + r))
        for x, y in ink:
            img[y][x] = BLACK
    return img


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


# ---------------------------------------------------------------------------

def enlarge(img, factor):
    """Pixel art made larger: each pixel becomes a square of factor x factor."""
    return [[p for p in row for _ in range(factor)] for row in img for _ in range(factor)]


# ---------------------------------------------------------------------------
# The installer's pages: the welcome and finish pages' picture and the other pages' header.
# NSIS lays them out at 164 x 314 and 150 x 57 at 96 dpi and stretches them to the page; they are
# drawn at twice that, so that at 200 % they are shown as drawn and at 100 % they shrink.
# ---------------------------------------------------------------------------

WELCOME_SIZE = (164 * 2, 314 * 2)
HEADER_SIZE = (150 * 2, 57 * 2)
WHITE = (255, 255, 255)


def draw_installer_picture(size, art_factor, art_at, stripe):
    """White, the icon's 32-pixel artwork enlarged at art_at, a rainbow stripe (x0, y0, x1, y1)."""
    width, height = size
    img = [[WHITE] * width for _ in range(height)]
    art = enlarge(draw_icon(32), art_factor)
    for y, row in enumerate(art):
        for x, c in enumerate(row):
            if c is not None:
                img[art_at[1] + y][art_at[0] + x] = c
    x0, y0, x1, y1 = stripe
    for y in range(y0, y1):
        for x in range(x0, x1):
            img[y][x] = rainbow((x - x0) / max(1, x1 - x0 - 1))
    return img


def draw_installer_welcome():
    width, height = WELCOME_SIZE
    return draw_installer_picture(WELCOME_SIZE, 8, ((width - 256) // 2, 120), (24, 400, width - 24, 408))


def draw_installer_header():
    width, height = HEADER_SIZE
    return draw_installer_picture(HEADER_SIZE, 3, (width - 96 - 8, (height - 96) // 2), (0, height - 4, width, height))


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


def build(banners=None):
    """Every output file's name and bytes; banners, when given, are the drawings by scale."""
    banners = banners or {1: draw_banner(), 2: draw_banner(2)}
    icons = {size: draw_icon(size) for size in ICON_SIZES}
    files = {"banner.jpg": encode_jpeg(banners[1]),
             "banner@2x.jpg": encode_jpeg(banners[2]),
             "numerak.ico": encode_ico([(icons[s], d) for s in ICON_SIZES for d in ICON_DEPTHS])}
    for size in ICON_SIZES:
        files["icon-%d.png" % size] = encode_png(icons[size])
    # The browser's app list asks for large icons: the 32-pixel artwork, each pixel a square.
    for size in APP_ICON_SIZES:
        files["icon-%d.png" % size] = encode_png(enlarge(icons[32], size // 32))
    files["installer-welcome.bmp"] = encode_bmp(draw_installer_welcome())
    files["installer-header.bmp"] = encode_bmp(draw_installer_header())
    return files


# ---------------------------------------------------------------------------
# Checks (--check).  The files are read back with decoders written separately
# from the encoders above, so a fault in one is not mirrored by the other.
# ---------------------------------------------------------------------------

def read_file(name):
    with open(os.path.join(HERE, name), "rb") as f:
        return f.read()


def decode_png(data):
    """Rows of (r, g, b, a) from an 8-bit RGBA PNG with unfiltered rows."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, chunks = 8, []
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack_from(">I", data, pos + 8 + length)
        assert crc == zlib.crc32(kind + body) & 0xFFFFFFFF, "bad CRC in %r" % kind
        chunks.append((kind, body))
        pos += 12 + length
    assert chunks[0][0] == b"IHDR" and chunks[-1][0] == b"IEND"
    w, h, bits, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    assert (bits, colour, interlace) == (8, 6, 0), "expected 8-bit RGBA, not interlaced"
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    stride = 1 + 4 * w
    assert len(raw) == stride * h
    rows = []
    for y in range(h):
        line = raw[y * stride:(y + 1) * stride]
        assert line[0] == 0, "unexpected row filter"
        rows.append([tuple(line[1 + 4 * x:5 + 4 * x]) for x in range(w)])
    return rows


def decode_ico(data):
    """Entries of an .ico: dicts with the directory fields and decoded image."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind) == (0, 1), "not an icon file"
    entries = []
    for i in range(count):
        w, h, colours, res, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        assert offset + size <= len(data), "image %d runs past the end of the file" % i
        e = dict(width=w or 256, height=h or 256, colours=colours, reserved=res, planes=planes,
                 bpp=bpp, size=size, offset=offset)
        e.update(decode_dib(data[offset:offset + size]))
        entries.append(e)
    return entries


def decode_dib(dib):
    (hsize, w, h2, planes, bpp, compression, _image_size, _xppm, _yppm,
     used, _important) = struct.unpack_from("<IiiHHIIiiII", dib, 0)
    h = h2 // 2
    ncolours = used or (1 << bpp if bpp <= 8 else 0)
    palette = [(dib[40 + 4 * i + 2], dib[40 + 4 * i + 1], dib[40 + 4 * i]) for i in range(ncolours)]
    xor_at = hsize + 4 * ncolours
    stride = (w * bpp + 31) // 32 * 4
    mask_stride = (w + 31) // 32 * 4
    and_at = xor_at + stride * h
    pixels = []                       # top row first: (rgb, alpha, masked, raw value)
    for y in range(h):
        src = h - 1 - y
        line = dib[xor_at + src * stride:xor_at + (src + 1) * stride]
        mask = dib[and_at + src * mask_stride:and_at + (src + 1) * mask_stride]
        row = []
        for x in range(w):
            masked = bool(mask[x // 8] >> (7 - x % 8) & 1)
            if bpp == 32:
                b, g, r, a = line[4 * x:4 * x + 4]
                row.append(((r, g, b), a, masked, (b, g, r, a)))
            else:
                if bpp == 8:
                    i = line[x]
                else:
                    i = line[x // 2] >> (4 if x % 2 == 0 else 0) & 15
                row.append((palette[i], None, masked, i))
        pixels.append(row)
    return dict(header_size=hsize, dib_width=w, dib_height=h2, dib_planes=planes, dib_bpp=bpp,
                compression=compression, palette=palette, pixels=pixels,
                dib_length=and_at + mask_stride * h, actual_length=len(dib))


def jpeg_markers(data):
    """(marker, segment body) pairs from SOI up to the start of scan."""
    assert data[:2] == b"\xff\xd8", "not a JPEG"
    assert data[-2:] == b"\xff\xd9", "JPEG is cut short"
    pos, out = 2, []
    while True:
        assert data[pos] == 0xFF
        marker = data[pos + 1]
        (length,) = struct.unpack_from(">H", data, pos + 2)
        out.append((marker, data[pos + 4:pos + 2 + length]))
        pos += 2 + length
        if marker == 0xDA:
            return out


def read_ppm(data):
    # "P6\n<w> <h>\n255\n" then the pixels, which may start with bytes that look like blanks.
    magic, size, depth, body = data.split(b"\n", 3)
    assert magic == b"P6" and depth == b"255"
    w, h = (int(n) for n in size.split())
    return [[tuple(body[3 * (y * w + x):3 * (y * w + x) + 3]) for x in range(w)] for y in range(h)]


def draw_all():
    """Every output file, and the banner drawings the checks compare the JPEGs with."""
    banners = {1: draw_banner(), 2: draw_banner(2)}
    files = build(banners)
    for scale, rows in banners.items():
        files["drawn-banner-%d.ppm" % scale] = encode_ppm(rows)
    return files


def run_checks(drawn_folder=None):
    """The checks, against what draw_all() wrote into drawn_folder (drawn afresh when None)."""
    import colorsys
    import unittest

    if drawn_folder:
        def drawn(name):
            with open(os.path.join(drawn_folder, name), "rb") as f:
                return f.read()
    else:
        everything = draw_all()
        drawn = everything.__getitem__

    # The standard Windows colours the artwork relies on, spelled out again
    # here rather than taken from STANDARD16, so a slip there is caught.
    windows16 = {0: (0, 0, 0), 7: (192, 192, 192), 8: (128, 128, 128), 9: (255, 0, 0),
                 11: (255, 255, 0), 14: (0, 255, 255), 15: (255, 255, 255)}

    class GeometryTests(unittest.TestCase):
        def test_signed_distance_of_a_square_either_way_round(self):
            for pts in (rect(0, 0, 2, 2), rect(0, 0, 2, 2)[::-1]):
                sq = Convex(pts)
                self.assertAlmostEqual(sq.distance(1, 1), -1)
                self.assertAlmostEqual(sq.distance(1, 0.5), -0.5)
                self.assertAlmostEqual(sq.distance(3, 1), 1)
                self.assertAlmostEqual(sq.distance(3, 3), math.sqrt(2))
                self.assertAlmostEqual(sq.distance(1, 0), 0)

        def test_swept_square_is_a_hexagon_holding_both_ends(self):
            pts = rect(0, 0, 2, 2)
            hull = convex_hull(pts + [(x + 1, y + 1) for x, y in pts])
            self.assertEqual(len(hull), 6)
            body = Convex(hull)
            self.assertLess(body.distance(2.5, 2.5), 0)
            self.assertLess(body.distance(0.5, 0.5), 0)
            self.assertGreater(body.distance(0.2, 2.8), 0)    # outside the bevelled corner

    class BannerTests(unittest.TestCase):
        # Each banner file: its scale, and the bounds of its size in bytes.
        FILES = {"banner.jpg": (1, 3000, 10000), "banner@2x.jpg": (2, 8000, 30000)}

        @classmethod
        def setUpClass(cls):
            cls.data = {name: read_file(name) for name in cls.FILES}
            cls.drawings = {scale: read_ppm(drawn("drawn-banner-%d.ppm" % scale)) for scale in (1, 2)}
            cls.drawn = cls.drawings[1]

        def test_is_a_small_baseline_jfif(self):
            for name, (scale, smallest, largest) in self.FILES.items():
                markers = jpeg_markers(self.data[name])
                app0 = [body for m, body in markers if m == 0xE0]
                self.assertTrue(app0 and app0[0].startswith(b"JFIF\0"))
                frames = [(m, body) for m, body in markers if 0xC0 <= m <= 0xCF and m not in (0xC4, 0xC8, 0xCC)]
                self.assertEqual([m for m, _ in frames], [0xC0], "expected one baseline frame")
                precision, h, w, components = struct.unpack_from(">BHHB", frames[0][1])
                self.assertEqual((precision, w, h, components), (8, BANNER_W * scale, BANNER_H * scale, 3))
                self.assertTrue(smallest <= len(self.data[name]) <= largest, "%s: %d bytes" % (name, len(self.data[name])))

        def test_encoded_picture_matches_the_drawing(self):
            for name, (scale, _, _) in self.FILES.items():
                decoded = read_ppm(subprocess.run([shutil.which("convert"), "jpeg:-", "ppm:-"],
                                                  input=self.data[name], capture_output=True, check=True).stdout)
                self.assertEqual((len(decoded), len(decoded[0])), (BANNER_H * scale, BANNER_W * scale))
                err = sum(abs(a - b) for ra, rb in zip(decoded, self.drawings[scale])
                          for pa, pb in zip(ra, rb) for a, b in zip(pa, pb))
                self.assertLess(err / (BANNER_W * BANNER_H * scale * scale * 3), 3.0, name)

        def test_twice_the_size_is_the_same_picture(self):
            # Each 2 x 2 square of the large banner averages to about its pixel of the small one.
            large = self.drawings[2]
            err = 0
            for y in range(BANNER_H):
                for x in range(BANNER_W):
                    for k in range(3):
                        mean = sum(large[2 * y + dy][2 * x + dx][k] for dy in (0, 1) for dx in (0, 1)) / 4
                        err += abs(mean - self.drawn[y][x][k])
            self.assertLess(err / (BANNER_W * BANNER_H * 3), 4.0)

        def test_lettering_is_black_and_white_and_fills_the_top(self):
            above = self.drawn[:STRIPE_TOP]
            self.assertTrue(all(r == g == b for row in above for r, g, b in row))
            inked = [y for y, row in enumerate(above) if any(p[0] < 128 for p in row)]
            self.assertLessEqual(inked[0], 4)
            self.assertGreaterEqual(inked[-1], STRIPE_TOP - 6)
            self.assertLess(inked[-1], STRIPE_TOP - 1, "letters must not touch the stripe")
            cols = [x for x in range(BANNER_W) if any(row[x][0] < 128 for row in above)]
            self.assertGreater(cols[-1] - cols[0], 0.9 * BANNER_W)
            self.assertLessEqual(abs(cols[0] - (BANNER_W - 1 - cols[-1])), 2, "not centred")
            # White faces, not solid black letters.
            faces = sum(1 for row in above[inked[0]:inked[-1]] for x in range(cols[0], cols[-1])
                        if row[x][0] == 255)
            self.assertGreater(faces, 0.3 * (inked[-1] - inked[0]) * (cols[-1] - cols[0]))

        def test_stripe_runs_from_red_to_violet(self):
            row = self.drawn[STRIPE_TOP + STRIPE_H // 2]
            stripe = [p for p in row if p != (255, 255, 255)]
            self.assertGreater(len(stripe), 0.9 * BANNER_W)
            hues = [colorsys.rgb_to_hsv(*(c / 255 for c in p))[0] * 360 for p in stripe]
            self.assertLess(hues[0], 5)
            self.assertTrue(260 <= hues[-1] <= 290, hues[-1])
            self.assertTrue(all(b >= a - 0.5 for a, b in zip(hues, hues[1:])), "hue goes backwards")
            for y in (STRIPE_TOP - 1, STRIPE_TOP + STRIPE_H):
                self.assertTrue(all(p == (255, 255, 255) for p in self.drawn[y][STRIPE_MARGIN:-STRIPE_MARGIN]))

    class IconTests(unittest.TestCase):
        @classmethod
        def setUpClass(cls):
            cls.data = read_file("numerak.ico")
            cls.entries = decode_ico(cls.data)

        def test_directory(self):
            self.assertEqual([(e["width"], e["height"], e["bpp"]) for e in self.entries],
                             [(s, s, d) for s in ICON_SIZES for d in ICON_DEPTHS])
            offset = 6 + 16 * len(self.entries)
            for e in self.entries:
                self.assertEqual(e["colours"], 16 if e["bpp"] == 4 else 0)
                self.assertEqual((e["reserved"], e["planes"]), (0, 1))
                self.assertEqual(e["offset"], offset, "images must follow each other")
                self.assertEqual(e["size"], e["dib_length"], "byte size disagrees with the bitmap")
                offset += e["size"]
            self.assertEqual(offset, len(self.data))

        def test_bitmap_headers(self):
            for e in self.entries:
                self.assertEqual((e["header_size"], e["dib_width"], e["dib_height"], e["dib_planes"],
                                  e["dib_bpp"], e["compression"]),
                                 (40, e["width"], 2 * e["height"], 1, e["bpp"], 0))
                if e["bpp"] == 4:
                    self.assertEqual(len(e["palette"]), 16)
                    for i, colour in windows16.items():
                        self.assertEqual(e["palette"][i], colour)
                elif e["bpp"] == 8:
                    self.assertEqual(len(e["palette"]), 256)

        def test_transparency_is_consistent(self):
            for e in self.entries:
                for row in e["pixels"]:
                    for rgb, alpha, masked, raw in row:
                        if e["bpp"] == 32:
                            self.assertEqual(alpha, 0 if masked else 255)
                            if masked:
                                self.assertEqual(raw, (0, 0, 0, 0))
                        elif masked:
                            # Anything but black would be XORed onto the desktop.
                            self.assertEqual(raw, 0)

        def images(self, size):
            return [[[None if masked else rgb for rgb, _a, masked, _r in row] for row in e["pixels"]]
                    for e in self.entries if e["width"] == size]

        def test_all_depths_and_png_show_the_same_picture(self):
            for size in ICON_SIZES:
                four, eight, full = self.images(size)
                self.assertEqual(four, full)
                self.assertEqual(eight, full)
                png = [[None if a == 0 else (r, g, b) for r, g, b, a in row]
                       for row in decode_png(read_file("icon-%d.png" % size))]
                self.assertEqual(png, full)
                png_alpha = {p[3] for row in decode_png(read_file("icon-%d.png" % size)) for p in row}
                self.assertEqual(png_alpha, {0, 255})

        def test_artwork(self):
            for size in ICON_SIZES:
                img = self.images(size)[0]
                colours = {p for row in img for p in row if p is not None}
                opaque = sum(1 for row in img for p in row if p is not None)
                self.assertGreater(opaque, 0.25 * size * size, "icon %d is nearly empty" % size)
                self.assertTrue(colours <= set(windows16.values()))
                if size == 16:
                    self.assertEqual(colours, {(0, 0, 0), (255, 255, 255)})
                else:
                    self.assertLessEqual({(0, 0, 0), (255, 255, 255), (255, 255, 0), (0, 255, 255),
                                          (255, 0, 0), (128, 128, 128)}, colours)
                # The ground shows through at the corners, and the picture sits centred.
                for y in (0, size - 1):
                    self.assertIsNone(img[y][0])
                    self.assertIsNone(img[y][size - 1])
                cols = [x for x in range(size) if any(row[x] is not None for row in img)]
                self.assertLessEqual(abs(cols[0] - (size - 1 - cols[-1])), 1)

        def test_app_icons_are_the_artwork_enlarged(self):
            art = self.images(32)[0]
            for size in APP_ICON_SIZES:
                png = [[None if a == 0 else (r, g, b) for r, g, b, a in row]
                       for row in decode_png(read_file("icon-%d.png" % size))]
                self.assertEqual((len(png), len(png[0])), (size, size))
                k = size // 32
                self.assertEqual(png, [[art[y // k][x // k] for x in range(size)] for y in range(size)])

        def test_lettering_fits_its_plate(self):
            for size, font in ((32, FONT_SMALL), (48, FONT_LARGE)):
                for glyph in font.values():
                    self.assertEqual(len({len(r) for r in glyph}), 1)
                    self.assertEqual(len(glyph), len(font["N"]))
                widest = max(len(text_bitmap(t, font)[0]) for t in ("NUM", "ERAK"))
                self.assertLessEqual(widest + 2, size)

    class InstallerPictureTests(unittest.TestCase):
        def test_pages_are_twice_the_size_nsis_lays_out_and_show_the_icon(self):
            for name, size, factor, at in (("installer-welcome.bmp", WELCOME_SIZE, 8, (36, 120)),
                                           ("installer-header.bmp", HEADER_SIZE, 3, (196, 9))):
                data = read_file(name)
                self.assertEqual(data[:2], b"BM")
                width, height, planes, depth = struct.unpack_from("<iiHH", data, 18)
                self.assertEqual(((width, height), planes, depth), (size, 1, 24), name)
                offset = struct.unpack_from("<I", data, 10)[0]
                stride = (width * 3 + 3) // 4 * 4
                icon = draw_icon(32)
                for y, x in ((16, 16), (8, 5), (25, 20)):   # where the artwork has colour
                    px, py = at[0] + x * factor + factor // 2, at[1] + y * factor + factor // 2
                    b, g, r = data[offset + (height - 1 - py) * stride + 3 * px:][:3]
                    self.assertEqual((r, g, b), icon[y][x] or WHITE, "%s at %d,%d" % (name, px, py))

    class FreshnessTests(unittest.TestCase):
        def test_files_are_what_this_script_makes(self):
            for name in build_names():
                self.assertEqual(read_file(name), drawn(name), "%s is stale: rerun the script" % name)

    suite = unittest.TestSuite()
    for case in (GeometryTests, BannerTests, IconTests, InstallerPictureTests, FreshnessTests):
        suite.addTests(unittest.defaultTestLoader.loadTestsFromTestCase(case))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


def build_names():
    return (["banner.jpg", "banner@2x.jpg", "numerak.ico"] + ["icon-%d.png" % s for s in ICON_SIZES + APP_ICON_SIZES]
            + ["installer-welcome.bmp", "installer-header.bmp"])


USAGE = """usage: make_pictures.py             rewrite the pictures in this folder
       make_pictures.py --draw DIR  draw them, and the banner drawings, into DIR (the build does)
       make_pictures.py --check [DIR]  test the files here, against DIR's drawings if given"""


def main(argv):
    if argv[1:2] == ["--check"] and len(argv) <= 3:
        return run_checks(argv[2] if len(argv) == 3 else None)
    if argv[1:2] == ["--draw"] and len(argv) == 3:
        os.makedirs(argv[2], exist_ok=True)
        for name, data in draw_all().items():
            with open(os.path.join(argv[2], name), "wb") as f:
                f.write(data)
        return 0
    if argv[1:]:
        print(USAGE, file=sys.stderr)
        return 2
    for name, data in build().items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
        print("wrote %s (%d bytes)" % (name, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
