"""The checks of make_pictures.py --check: the files are read back with decoders written separately
from the encoders, so a fault in one is not mirrored by the other."""

import math
import os
import shutil
import struct
import subprocess
import zlib

from .banner import *  # noqa: F401,F403 (the checks look at every part of the drawing)
from .formats import *  # noqa: F401,F403
from .icon import *  # noqa: F401,F403
from .installer import *  # noqa: F401,F403
from .pictures import build, build_names, draw_all  # noqa: F401

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))  # the pictures' folder


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
