#!/usr/bin/env python3
"""Cuts Liberation Sans down to the characters the game writes and renames it Numerak Sans, as
its licence asks of a changed copy: make_font.py <LiberationSans-Regular.ttf> <out.woff2> [extra].
With "extra", the characters of the translations that Latin-1 lacks (Polish, Russian), for a
second file the page loads only where they are shown (its unicode-range, numerak.css).

Needs fontTools and Brotli (Debian: fonttools, python3-brotli).
"""

import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY = "Numerak Sans"
# Printable ASCII, Latin-1, and the punctuation a player might paste.
UNICODES = list(range(0x20, 0x7F)) + list(range(0xA0, 0x100)) + [0x2013, 0x2014, 0x2018, 0x2019,
                                                                   0x201C, 0x201D, 0x2026, 0x20AC]
# Latin Extended-A, basic Cyrillic and the low quotation mark: as numerak.css's unicode-range.
EXTRA = list(range(0x100, 0x180)) + list(range(0x400, 0x460)) + [0x201E]


def main(argv):
    if len(argv) not in (3, 4) or (len(argv) == 4 and argv[3] != "extra"):
        print("usage: make_font.py <LiberationSans-Regular.ttf> <out.woff2> [extra]", file=sys.stderr)
        return 2
    font = TTFont(argv[1])
    options = subset.Options()
    options.flavor = "woff2"
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
    options.hinting = False  # small on screen either way; hints are a third of the file
    options.layout_features = ["kern", "liga"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=EXTRA if len(argv) == 4 else UNICODES)
    subsetter.subset(font)
    names = font["name"]
    for record in names.names:
        if record.nameID in (1, 16):
            record.string = FAMILY
        elif record.nameID in (3, 4):
            record.string = FAMILY + " Regular" if record.nameID == 4 else FAMILY + ": subset"
        elif record.nameID == 6:
            record.string = FAMILY.replace(" ", "") + "-Regular"
    font.flavor = "woff2"
    font.save(argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
