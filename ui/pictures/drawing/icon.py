"""The application icon: two linked rings with a tiny caption, pixel art in the standard Windows colours."""

import math

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
# Larger icons for software centres and the browser's app list.
APP_ICON_SIZES = (64, 128, 192, 256, 512)


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


def enlarge(img, factor):
    """Pixel art made larger: each pixel becomes a square of factor x factor."""
    return [[p for p in row for _ in range(factor)] for row in img for _ in range(factor)]
