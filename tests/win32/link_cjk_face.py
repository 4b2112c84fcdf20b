#!/usr/bin/env python3
"""Gives a wine prefix a face for Chinese, Japanese and Korean that its font linking finds:
link_cjk_face.py <source root> <prefix's windows/Fonts folder>.

Windows draws the letters its interface face lacks from the faces the system links to it (on a
Japanese Windows, MS UI Gothic behind Tahoma); wine links the same names but has none of those
faces. So the test prefix gets Noto Sans CJK (Debian's fonts-noto-cjk), cut down to the letters
the catalogues write, under the name and file wine links first. The letters of the catalogues
that face lacks too (Ukrainian і, ї, є, ґ) come from Liberation Sans, under the name wine links
next: Windows' own interface faces have them. For the tests alone: nothing of it ships.

Needs fontTools (Debian: fonttools)."""

import glob
import os
import sys

from fontTools import subset
from fontTools.ttLib import TTCollection, TTFont

SOURCE = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
LINKED = ("MSGOTHIC.TTC", "MS UI Gothic")  # the first face wine links behind Tahoma
REST = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"
LINKED_NEXT = ("GULIM.TTC", "Gulim")  # a face wine links after it


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    root, fonts = argv
    letters = set()
    for po in glob.glob(os.path.join(root, "po", "*.po")):
        with open(po, encoding="utf-8") as f:
            letters.update(ord(c) for c in f.read())
    letters.update(range(0x20, 0x7F))  # a Japanese font asked for by its character set draws the Latin letters too
    font = TTCollection(SOURCE).fonts[0]  # the Japanese face holds every letter the others do
    lacking = letters - set(font.getBestCmap())
    cut(font, letters)
    # Windows draws a linked face's letters within the interface face's lines, its lines no taller;
    # wine takes the tallest of the linked faces' lines for the whole font. So this one claims no
    # more than the ideographs' own square, less than any interface face, and the lines stay theirs.
    em = font["head"].unitsPerEm
    ascent, descent = em * 88 // 100, em * 12 // 100
    os2, hhea = font["OS/2"], font["hhea"]
    os2.usWinAscent, os2.usWinDescent = ascent, descent
    os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap = ascent, -descent, 0
    hhea.ascent, hhea.descent, hhea.lineGap = ascent, -descent, 0
    os.makedirs(fonts, exist_ok=True)
    save(font, LINKED, fonts)
    rest = TTFont(REST)
    cut(rest, lacking)
    save(rest, LINKED_NEXT, fonts)
    return 0


def cut(font, letters):
    options = subset.Options()
    options.name_IDs = ["*"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=sorted(letters))
    subsetter.subset(font)


def save(font, linked, fonts):
    file, family = linked
    for record in font["name"].names:
        if record.nameID in (1, 4, 16):
            record.string = family
        elif record.nameID == 6:
            record.string = family.replace(" ", "")
    font.save(os.path.join(fonts, file))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
