"""Draws Numerak's title banner (banner.jpg, and banner@2x.jpg at twice its size for screens of
higher density) and application icon (numerak.ico, icon-16/32/48.png, and icon-64.png up to
icon-512.png for software centres and the browser's app list), and the installer's pictures."""

# Everything is drawn from code so the pictures can be made again exactly: run this script to
# rewrite them (tests/pictures/ makes them into a scratch folder and compares the bytes). Only the
# standard library is used, plus ImageMagick's `convert` for the JPEG encoding, which is not worth
# writing by hand.

# The drawing itself is in drawing/, by what it draws.

import os
import sys

from drawing.pictures import build

HERE = os.path.dirname(os.path.abspath(__file__))


USAGE = """usage: make_pictures.py [DIR]  write the pictures into DIR, this folder unless given"""


def main(argv):
    if len(argv) > 2 or argv[1:2] and argv[1].startswith("-"):
        print(USAGE, file=sys.stderr)
        return 2
    folder = argv[1] if len(argv) == 2 else HERE
    os.makedirs(folder, exist_ok=True)
    for name, data in build().items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        print("wrote %s (%d bytes)" % (name, len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
