#!/usr/bin/env python3
"""Checks that every #include of the program's code runs down the house (see HACKING.md).

scripts/check_arrows.py [top of the tree]: prints each include that runs the wrong way and
exits 1 if there is one. Tests, fuzz targets and benchmarks may include anything.
"""

import os
import re
import sys

# The folders of the program, most specific first, and the folders each may include.
CORE = "runtime"
FRONT_ENDS = ("runtime/qt", "runtime/win32", "runtime/web")
MAY_INCLUDE = {
    "runtime/qt": {CORE, "runtime/qt"},
    "runtime/win32": {CORE, "runtime/win32"},
    "runtime/web": {CORE, "runtime/web"},
    CORE: {CORE},
    "ui": {CORE, "ui"},
    "game": {CORE, "ui", "game"},
    "about": {CORE, "ui", "about"},
    "app": {CORE, "ui", "game", "about", "app", *FRONT_ENDS},
}

# Toolkit and system headers, and the only places that may include them.
TOOLKITS = [
    (re.compile(r"Q[A-Za-z]+$|Qt[A-Za-z]+/"), "Qt", {"runtime/qt", "app/main.cpp"}),
    (re.compile(r"(windows|wincodec|commctrl|oleacc|shlobj|objbase)\.h$", re.I), "Windows",
     {"runtime/win32", "about/platform_win32.cpp", "app/main_win32.cpp"}),
    (re.compile(r"emscripten(\.h|/)"), "emscripten", {"runtime/web", "app/main_web.cpp"}),
]

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def folder_of(path):
    """The room of the house a file of ours is in: the longest folder of MAY_INCLUDE it lies in."""
    parts = path.split("/")
    for n in range(len(parts) - 1, 0, -1):
        candidate = "/".join(parts[:n])
        if candidate in MAY_INCLUDE:
            return candidate
    return None


def allowed_at(path, places):
    return any(path == p or path.startswith(p + "/") for p in places)


def check(top):
    wrong = []
    for room in ("runtime", "ui", "game", "about", "app"):
        for root, _, files in os.walk(os.path.join(top, room)):
            for name in sorted(files):
                if not name.endswith((".cpp", ".hpp", ".in")):
                    continue
                full = os.path.join(root, name)
                path = os.path.relpath(full, top).replace(os.sep, "/")
                home = folder_of(path)
                with open(full, encoding="utf-8") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        bracket, header = m.groups()
                        where = "%s:%d: %s" % (path, number, header)
                        if bracket == '"':
                            target = folder_of(header)
                            if target is None and os.path.exists(os.path.join(top, header)):
                                target = header.split("/")[0]
                            if target is not None and target not in MAY_INCLUDE[home]:
                                wrong.append("%s (%s may not include %s)" % (where, home, target))
                        for pattern, toolkit, places in TOOLKITS:
                            if pattern.search(header) and not allowed_at(path, places):
                                wrong.append("%s (%s, outside %s)" % (where, toolkit, ", ".join(sorted(places))))
    return wrong


def main(argv):
    top = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    wrong = check(os.path.abspath(top))
    for w in wrong:
        print("arrow runs up the house: " + w)
    if not wrong:
        print("arrows: every include runs down the house")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
