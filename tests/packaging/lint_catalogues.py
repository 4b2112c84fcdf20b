#!/usr/bin/env python3
"""What a translator can get wrong that msgfmt does not see: lint_catalogues.py <source root>.

- French: a no-break space, never a plain one, before ? ! : ; and inside « ».
- The installer: each of its own messages (LangString) defined once for every language it has
  pages in (MUI_LANGUAGE).
- The browser: every character a catalogue writes is in a face the page carries for it
  (app/web/make_font.py's sets, and the CJK face each of those languages gets)."""

import glob
import os
import re
import sys

FRENCH_BEFORE = re.compile(r" [?!:;»]|« ")


def msgstrs(path):
    sys.path.insert(0, os.path.join(ROOT, "po"))
    import catalogue  # noqa: E402  (the project's own reader of catalogues)
    _, entries = catalogue.parse_po(path)
    return [form for _, forms, _ in entries.values() for form in forms]


def french(problems):
    for text in msgstrs(os.path.join(ROOT, "po", "fr.po")):
        if FRENCH_BEFORE.search(text):
            problems.append("fr.po: a plain space before a mark, or inside « »: %r" % text)
    with open(os.path.join(ROOT, "packaging", "windows", "NSIS.template.in"), encoding="utf-8") as f:
        for line in f:
            if "${LANG_FRENCH}" in line and FRENCH_BEFORE.search(line.split("}", 1)[1]):
                problems.append("the installer's French: a plain space before a mark: %s" % line.strip())


def installer(problems):
    with open(os.path.join(ROOT, "packaging", "windows", "NSIS.template.in"), encoding="utf-8") as f:
        text = f.read()
    languages = [l.upper() for l in re.findall(r'^!insertmacro MUI_LANGUAGE "(\w+)"', text, re.M)]
    defined = {}
    for name, language in re.findall(r"^LangString (\w+) \$\{LANG_(\w+)\}", text, re.M):
        defined.setdefault(name, []).append(language)
    for name, got in sorted(defined.items()):
        for language in languages:
            if got.count(language) != 1:
                problems.append("the installer's %s is defined %d times for %s" % (name, got.count(language), language))
        for language in set(got) - set(languages):
            problems.append("the installer's %s is defined for %s, which has no pages" % (name, language))


def faces(problems):
    sys.path.insert(0, os.path.join(ROOT, "app", "web"))
    import make_font  # noqa: E402
    from fontTools.ttLib import TTCollection  # noqa: E402
    latin = set(make_font.UNICODES) | set(make_font.EXTRA)
    collection = None
    for path in sorted(glob.glob(os.path.join(ROOT, "po", "*.po"))):
        language = os.path.basename(path)[:-3]
        own = make_font.cjk_letters(language, ROOT)
        if own:
            collection = collection or TTCollection("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc")
            cmap = collection.fonts[make_font.CJK[language][0]].getBestCmap()
            lacking = sorted(c for c in own if c not in cmap)
            if lacking:
                problems.append("%s: Noto Sans CJK has no %s" % (os.path.basename(path), " ".join(chr(c) for c in lacking)))
        carried = latin | own
        missing = sorted({c for text in msgstrs(path) for c in text if ord(c) >= 0x20 and ord(c) not in carried})
        if missing:
            problems.append("%s: no face of the page has %s" % (os.path.basename(path),
                                                                 " ".join("U+%04X %s" % (ord(c), c) for c in missing)))


def main(argv):
    global ROOT
    if len(argv) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    ROOT = argv[0]
    problems = []
    french(problems)
    installer(problems)
    faces(problems)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
