"""The installer's pictures: the icon's artwork enlarged on white, with a rainbow stripe."""

from .banner import rainbow
from .icon import draw_icon, enlarge

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
