"""The title banner: the word in 3-D letters over a rainbow stripe, drawn with anti-aliased polygons."""

import math

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
