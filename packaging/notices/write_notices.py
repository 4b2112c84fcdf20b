"""Writes THIRD-PARTY-NOTICES.txt for a program from its link: every file the linker read from
outside the project is traced back to the Debian package it came from, and the notices that
apply to it are copied from that package's copyright file, whole, as the package states them.

    write_notices.py --trace <the linker's --trace output> --out <notices> --title <program> [--also <file>]...

--also names a file the program carries that its link did not read (a font cut down for the page).

A file from a package this script does not know fails the build: somebody must read its
licence first and say here which of its notices apply."""

import argparse
import fnmatch
import os
import re
import subprocess
import sys

DOC = "/usr/share/doc/%s/copyright"
GCC_RUNTIME = {"title": "GCC runtime libraries (libgcc, libssp, libstdc++)",
               "from": [("GCC is Copyright", "The libbacktrace library"),
                         ("GCC RUNTIME LIBRARY EXCEPTION", "libquadmath/")]}
# Which parts of each package's copyright file cover what a program links from it: for files in
# Debian's machine-readable form, the Files paragraphs whose patterns start with one of these
# (with the licences they name); for free-form files, the lines from one heading to the next.
APPLIES = {
    "mingw-w64-x86-64-dev": {
        "title": "MinGW-w64 runtime (start-up code, C runtime, Windows import libraries, winpthreads)",
        "files": ["*", "mingw-w64-crt/", "mingw-w64-libraries/winpthreads/"],
        "except": ["tests"]},
    "gcc-mingw-w64-x86-64-posix": GCC_RUNTIME,
    "g++-mingw-w64-x86-64-posix": GCC_RUNTIME,
    "emscripten": {
        "title": "Emscripten runtime (numerak.js) and system libraries (musl, libc++, libc++abi, "
                 "compiler-rt, emmalloc)",
        "files": ["*", "src/", "system/lib/libc/", "system/lib/libcxx/", "system/lib/libcxxabi/",
                  "system/lib/compiler-rt/lib/builtins", "system/lib/emmalloc"],
        "except": ["tests", "test/"]},
    "fonts-noto-cjk": {
        "title": "Noto Sans CJK (the site's face for Chinese, Japanese and Korean, cut down to the game's letters)",
        "files": ["*"]},
}


def traced_inputs(trace_text):
    """The files outside the build tree that the linker read: archives (by member) and objects."""
    inputs = set()
    for line in trace_text.splitlines():
        path = re.sub(r"\(.*\)$", "", line.strip())
        if path.startswith("/") and os.path.isfile(path):
            inputs.add(os.path.normpath(path))
    return sorted(inputs)


def packages_of(paths):
    """The Debian package each file comes from (by its real path if the link names another)."""
    real = {path: os.path.realpath(path) for path in paths}
    out = subprocess.run(["dpkg-query", "-S", *sorted(set(paths) | set(real.values()))],
                         capture_output=True, text=True)
    owner = {}
    for line in out.stdout.splitlines():
        package, _, path = line.partition(": ")
        owner[path] = package.split(",")[0].strip()
    result = {}
    for path in paths:
        package = owner.get(path) or owner.get(real[path])
        if not package:
            sys.exit("notices: %s comes from no Debian package; its licence must be read first" % path)
        result[path] = package
    return result


def paragraphs(text):
    return [p for p in re.split(r"\n[ \t]*\n", text) if p.strip()]


def fields(paragraph):
    """A Debian copyright paragraph's fields, their continuation lines joined by newlines."""
    result, name = {}, None
    for line in paragraph.splitlines():
        if line.startswith("#"):
            continue
        match = re.match(r"^([A-Za-z-]+):\s*(.*)$", line)
        if match and not line[0].isspace():
            name = match.group(1).lower()
            result[name] = match.group(2)
        elif name:
            result[name] += "\n" + line
    return result


def licence_names(expression):
    return {n.strip() for n in re.split(r"\bor\b|\band\b|,", expression.splitlines()[0]) if n.strip()}


def from_machine_readable(text, wanted):
    chosen, licences, texts = [], set(), {}
    for paragraph in paragraphs(text):
        f = fields(paragraph)
        if "files" in f:
            patterns = f["files"].split()
            if any(any(p == w or (w != "*" and p.startswith(w)) for w in wanted["files"]) for p in patterns) \
                    and not any(x in p for p in patterns for x in wanted.get("except", [])):
                chosen.append(paragraph.strip())
                licences |= licence_names(f.get("license", ""))
        elif "license" in f and "\n" in f["license"]:
            texts[f["license"].splitlines()[0].strip()] = paragraph.strip()
    return chosen + [texts[name] for name in sorted(licences) if name in texts]


def from_free_form(text, wanted):
    parts = []
    for start, end in wanted["from"]:
        begin = text.index(start)
        parts.append(text[begin:text.index(end, begin)].strip())
    return parts


def notices(inputs, title):
    owner = packages_of(inputs)
    unknown = sorted({package for package in owner.values() if package not in APPLIES})
    if unknown:
        sys.exit("notices: the program links files of %s, whose notices are not known here: %s"
                 % (", ".join(unknown), ", ".join(p for p in inputs if owner[p] in unknown)))
    # Packages built from one source (GCC's C and C++ compilers) share one section.
    sections = {}
    for path in inputs:
        sections.setdefault(APPLIES[owner[path]]["title"], []).append(path)
    rule = "=" * 78
    out = ["Third-party notices: %s" % title, "",
           "%s contains parts of the following software, put into it when it was built. Their" % title,
           "notices follow, as the Debian packages they were built from state them.", ""]
    for section_title in sorted(sections):
        paths = sections[section_title]
        package = sorted(owner[p] for p in paths)[0]
        wanted = APPLIES[package]
        with open(DOC % package, encoding="utf-8") as f:
            text = f.read()
        parts = from_free_form(text, wanted) if "from" in wanted else from_machine_readable(text, wanted)
        out += [rule, section_title,
                "Debian package: %s" % ", ".join(sorted({owner[p] for p in paths})),
                "Linked: %s" % " ".join(sorted({os.path.basename(p) for p in paths})), rule, ""]
        for part in parts:
            out += [part, ""]
    return "\n".join(out).rstrip() + "\n"


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--trace", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--title", required=True)
    parser.add_argument("--also", action="append", default=[])
    args = parser.parse_args(argv)
    with open(args.trace, encoding="utf-8") as f:
        text = notices(sorted(set(traced_inputs(f.read())) | set(args.also)), args.title)
    with open(args.out + ".new", "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(args.out + ".new", args.out)


if __name__ == "__main__":
    main(sys.argv[1:])
