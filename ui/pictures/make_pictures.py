"""Draws Numerak's title banner (banner.jpg, and banner@2x.jpg at twice its size for screens of
higher density) and application icon (numerak.ico, icon-16/32/48.png, and icon-64.png up to
icon-512.png for software centres and the browser's app list)."""

# Everything is drawn from code so the pictures can be regenerated exactly:
# run this script to rewrite them, or with --check to test the files in this
# folder.  Only the standard library is used, plus ImageMagick's `convert` for
# the JPEG encoding, which is not worth writing by hand.

# The drawing itself is in drawing/, by what it draws.

import os
import sys

from drawing.checks import run_checks
from drawing.pictures import build, draw_all

HERE = os.path.dirname(os.path.abspath(__file__))


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
