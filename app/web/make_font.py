#!/usr/bin/env python3
"""Cuts Liberation Sans down to the characters the game writes and renames it Numerak Sans, as
its licence asks of a changed copy: make_font.py <LiberationSans-Regular.ttf> <out.woff2> extra
cuts the characters of the translations that Latin-1 lacks (Polish, Russian, Czech, Turkish,
Ukrainian), a file the page loads only where they are shown (its unicode-range, numerak.css).

    make_font.py first <LiberationSans-Regular.ttf> <letters.txt> <first.woff2> <first-range.txt>
                       <rest.woff2> <rest-range.txt>

cuts it in two: the Latin-1 letters of a text (the first screen's, in every language), for the
page to carry in itself, and the rest of its Latin-1, a file the page fetches after; each with the
CSS unicode-range of what it holds beside it, so that no letter comes twice.

    make_font.py cjk <NotoSansCJK-Regular.ttc> <source root> <language> <out.woff2>

cuts Noto Sans CJK, in the forms of the language's own script (ja, ko, zh_CN, zh_TW), down to the
letters that language's catalogue writes beyond the Latin face, for the page to fetch only where
the game speaks it.

Needs fontTools and Brotli (Debian: fonttools, python3-brotli).
"""

import os
import sys

from fontTools import subset
from fontTools.ttLib import TTCollection, TTFont

FAMILY = "Numerak Sans"
# Printable ASCII, Latin-1, and the punctuation a player might paste.
UNICODES = list(range(0x20, 0x7F)) + list(range(0xA0, 0x100)) + [0x2013, 0x2014, 0x2018, 0x2019,
                                                                   0x201C, 0x201D, 0x2026, 0x20AC]
# Latin Extended-A, basic Cyrillic and the low quotation mark: as numerak.css's unicode-range.
EXTRA = list(range(0x100, 0x180)) + list(range(0x400, 0x460)) + [0x201E]


# The face of Noto Sans CJK each language is written in (its place in the collection), and the name
# the page knows it by.
CJK = {"ja": (0, "Numerak JP"), "ko": (1, "Numerak KR"), "zh_CN": (2, "Numerak SC"), "zh_TW": (3, "Numerak TC")}


def cjk_letters(language, root):
    """The code points of a CJK language's catalogue that its own face carries: the ones the
    Latin face lacks. None for any other language."""
    if language not in CJK:
        return set()
    with open(os.path.join(root, "po", language + ".po"), encoding="utf-8") as f:
        text = f.read()
    latin = set(UNICODES) | set(EXTRA)
    return {ord(c) for c in text if ord(c) > 0x7F and ord(c) not in latin}


def cut(font, unicodes, family, out, features=("kern", "liga")):
    options = subset.Options()
    options.flavor = "woff2"
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
    options.hinting = False  # small on screen either way; hints are a third of the file
    options.layout_features = list(features)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=unicodes)
    subsetter.subset(font)
    for record in font["name"].names:
        if record.nameID in (1, 16):
            record.string = family
        elif record.nameID in (3, 4):
            record.string = family + " Regular" if record.nameID == 4 else family + ": subset"
        elif record.nameID == 6:
            record.string = family.replace(" ", "") + "-Regular"
    font.flavor = "woff2"
    font.save(out)


def unicode_range(codes):
    """CSS's unicode-range of a set of code points, in runs."""
    runs, codes = [], sorted(codes)
    for c in codes:
        if runs and runs[-1][1] == c - 1:
            runs[-1][1] = c
        else:
            runs.append([c, c])
    return ", ".join("U+%X" % a if a == b else "U+%X-%X" % (a, b) for a, b in runs)


def main(argv):
    if len(argv) == 8 and argv[1] == "first":
        _, _, face, letters, first, first_range, rest, rest_range = argv
        with open(letters, encoding="utf-8") as f:
            wanted = {ord(c) for c in f.read()} | {0x20}
        # Latin-1's alone: the other languages' letters come with the face's other file (EXTRA),
        # fetched for the first screen where it writes them.
        present = set(TTFont(face).getBestCmap()) & set(UNICODES)
        held = wanted & present
        for codes, out, out_range in ((held, first, first_range), (present - held, rest, rest_range)):
            cut(TTFont(face), sorted(codes), FAMILY, out)
            with open(out_range, "w", encoding="utf-8") as f:
                f.write(unicode_range(codes))
        return 0
    if len(argv) == 6 and argv[1] == "cjk":
        _, _, collection, root, language, out = argv
        index, family = CJK[language]
        cut(TTCollection(collection).fonts[index], sorted(cjk_letters(language, root)), family, out,
            ("kern", "liga", "locl"))
        return 0
    if len(argv) != 4 or argv[3] != "extra":
        print("usage: make_font.py <LiberationSans-Regular.ttf> <out.woff2> extra", file=sys.stderr)
        return 2
    cut(TTFont(argv[1]), EXTRA, FAMILY, argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
