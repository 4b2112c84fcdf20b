#!/usr/bin/env python3
"""Numerak's translations: the template from the sources, and the catalogues compiled into the
program. Only the standard library.

    catalogue.py template <source root> <numerak.pot>   the texts of the designs and the handlers
    catalogue.py compile <out.cpp> <xx.po>...           the catalogues as C++ tables
    catalogue.py check <source root>                    the template current, every catalogue whole

The texts of the designs are their captions, menu captions and accessible names (ui/*.cpp);
those of the handlers are what they pass to Translate, TranslateWith and TranslateCount
(game/, about/, runtime/). A text is English as the design or handler writes it."""

import os
import re
import subprocess
import sys

STRING = r'"((?:[^"\\]|\\.)*)"'
DESIGN_TEXT = re.compile(r"\.(?:caption|accessibleName)\s*=\s*((?:" + STRING + r"\s*)+)")
CALL = re.compile(r"\b(Translate|TranslateWith|TranslateCount)\(\s*((?:" + STRING + r"\s*)+)(?:,\s*((?:" + STRING + r"\s*)+))?")
PIECE = re.compile(STRING)


def joined(literals):
    """Adjacent C++ string literals as one text."""
    return "".join(bytes(p, "utf-8").decode("unicode_escape").encode("latin-1").decode("utf-8")
                   for p in PIECE.findall(literals))


def sources_texts(root):
    """(text, plural or None, where) for every text, in the order found."""
    found = []
    for folder, pattern in (("ui", DESIGN_TEXT), ("game", CALL), ("about", CALL), ("runtime", CALL)):
        base = os.path.join(root, folder)
        for name in sorted(os.listdir(base)):
            if not name.endswith(".cpp"):
                continue
            path = os.path.join(base, name)
            with open(path, encoding="utf-8") as f:
                source = f.read()
            for m in pattern.finditer(source):
                where = "%s/%s" % (folder, name)
                if pattern is DESIGN_TEXT:
                    found.append((joined(m.group(1)), None, where))
                else:
                    plural = joined(m.group(4)) if m.group(1) == "TranslateCount" and m.group(4) else None
                    found.append((joined(m.group(2)), plural, where))
    return found


# The menu entry and the software centres' metadata, read by gettext's own xgettext.
AROUND = ("app/io.github.numerak.Numerak.desktop.in", "packaging/io.github.numerak.Numerak.metainfo.xml.in")


def around_texts(root):
    found = []
    for relative in AROUND:
        out = os.path.join(root, "po", ".around.pot")
        subprocess.run(["xgettext", "--omit-header", "--add-location=file", "--from-code=UTF-8", "-o", out, relative],
                       cwd=root, check=True)
        _, entries = parse_po(out, with_places=True)
        os.remove(out)
        for msgid, places in entries.items():
            found.extend((msgid, None, place) for place in places)
    return found


def po_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def template(root, out):
    entries, order = {}, []
    for text, plural, where in sources_texts(root) + around_texts(root):
        if not text or text == "Numerak":  # the name stays the name
            continue
        if text not in entries:
            entries[text] = [plural, []]
            order.append(text)
        if where not in entries[text][1]:
            entries[text][1].append(where)
    lines = ['# Numerak\'s texts, to translate. Written by po/catalogue.py from the sources: do not edit.',
             'msgid ""', 'msgstr ""', '"Content-Type: text/plain; charset=UTF-8\\n"', ""]
    for text in order:
        plural, places = entries[text]
        lines.append("#: " + " ".join(places))
        if "%d" in text:
            lines.append("#, c-format")
        lines.append("msgid " + po_string(text))
        if plural is not None:
            lines += ["msgid_plural " + po_string(plural), 'msgstr[0] ""', 'msgstr[1] ""']
        else:
            lines.append('msgstr ""')
        lines.append("")
    text = "\n".join(lines)
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)


def parse_po(path, with_places=False):
    """The header's fields and the entries: {msgid: (msgid_plural, [forms], fuzzy)}; with_places,
    only the entries, {msgid: [their "#:" places]}."""
    entries, header, places = {}, {}, {}
    current, key, where = None, None, []

    def finish():
        if current is None or "msgid" not in current:
            return
        if current["msgid"] == "":
            for line in current.get("msgstr", "").split("\n"):
                name, _, value = line.partition(":")
                if value:
                    header[name.strip()] = value.strip()
            return
        forms = [current[k] for k in sorted(k for k in current if k.startswith("msgstr"))]
        entries[current["msgid"]] = (current.get("msgid_plural"), forms, current.get("fuzzy", False))
        places[current["msgid"]] = current.get("places", [])

    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if line.startswith("#,") and "fuzzy" in line:
                finish()
                current, key = {"fuzzy": True}, None
                continue
            if line.startswith("#:"):
                where += line[2:].split()
                continue
            if not line or line.startswith("#"):
                continue
            m = re.match(r"^(msgid|msgid_plural|msgstr(?:\[\d+\])?)\s+(\".*\")$", line)
            if m:
                if m.group(1) == "msgid" and current is not None and "msgid" in current:
                    finish()
                    current = {}
                if current is None:
                    current = {}
                if m.group(1) == "msgid":
                    current["places"], where = where, []
                key = m.group(1)
                current[key] = joined(m.group(2))
            elif line.startswith('"') and key:
                current[key] += joined(line)
    finish()
    return (header, places) if with_places else (header, entries)


def compile_catalogues(out, paths):
    parts = ["// Written by po/catalogue.py from po/*.po: do not edit.",
             '#include "runtime/language.hpp"', "", "#include <array>", "", "namespace numerak {", "",
             "namespace {", "", "// The plural rules, as each catalogue's Plural-Forms states them.",
             "#pragma GCC diagnostic push", '#pragma GCC diagnostic ignored "-Wparentheses"']
    catalogues = []
    for path in sorted(paths):
        language = os.path.splitext(os.path.basename(path))[0]
        header, entries = parse_po(path)
        rule = re.search(r"plural=(.*?);?$", header.get("Plural-Forms", "plural=(n != 1);")).group(1)
        ident = language.replace("-", "_")
        parts.append("int plural_%s(unsigned long n) { return static_cast<int>(%s); }" % (ident, rule))
        catalogues.append((language, ident, entries))
    parts += ["#pragma GCC diagnostic pop", ""]
    for language, ident, entries in catalogues:
        items = sorted((k, v) for k, v in entries.items() if not v[2] and any(v[1]))
        for n, (msgid, (plural, forms, _)) in enumerate(items):
            parts.append("constexpr std::array<std::string_view, %d> %s_%d{%s};" %
                         (len(forms), ident, n, ", ".join(cpp_string(f) for f in forms)))
        parts.append("const std::array<CatalogueEntry, %d> %s{{" % (len(items), ident))
        for n, (msgid, (plural, forms, _)) in enumerate(items):
            parts.append("    {%s, %s, %s_%d}," % (cpp_string(msgid), cpp_string(plural or ""), ident, n))
        parts += ["}};", ""]
    parts.append("const std::array<Catalogue, %d> all{{" % len(catalogues))
    for language, ident, _ in catalogues:
        parts.append('    {"%s", plural_%s, %s},' % (language, ident, ident))
    parts += ["}};", "", "}  // namespace", "", "std::span<const Catalogue> Catalogues() { return all; }", "",
              "}  // namespace numerak", ""]
    text = "\n".join(parts)
    if not os.path.exists(out) or open(out, encoding="utf-8").read() != text:
        with open(out, "w", encoding="utf-8") as f:
            f.write(text)


def cpp_string(text):
    return "std::string_view{" + '"' + "".join(
        c if c.isascii() and c.isprintable() and c not in '"\\' else
        "".join("\\%03o" % b for b in c.encode("utf-8")) for c in text) + '"' + "}"


def check(root):
    """Problems: the template behind the sources, or a catalogue that lacks or mistranslates."""
    problems = []
    pot = os.path.join(root, "po", "numerak.pot")
    fresh = pot + ".check"
    template(root, fresh)
    with open(pot, encoding="utf-8") as a, open(fresh, encoding="utf-8") as b:
        if a.read() != b.read():
            problems.append("po/numerak.pot is not what the sources say: run po/catalogue.py template . po/numerak.pot")
    os.remove(fresh)
    _, wanted = parse_po(pot)
    catalogues = sorted(n[:-3] for n in os.listdir(os.path.join(root, "po")) if n.endswith(".po"))
    with open(os.path.join(root, "po", "LINGUAS"), encoding="utf-8") as f:
        if f.read().split() != catalogues:
            problems.append("po/LINGUAS does not list the catalogues: %s" % " ".join(catalogues))
    for name in sorted(os.listdir(os.path.join(root, "po"))):
        if not name.endswith(".po"):
            continue
        header, entries = parse_po(os.path.join(root, "po", name))
        nplurals = int(re.search(r"nplurals=(\d+)", header.get("Plural-Forms", "nplurals=0")).group(1))
        for msgid, (plural, _, _) in wanted.items():
            if msgid not in entries:
                problems.append("%s: no translation of %r" % (name, msgid))
                continue
            got_plural, forms, fuzzy = entries[msgid]
            if fuzzy or not all(forms):
                problems.append("%s: %r is not translated" % (name, msgid))
            if plural is not None and len(forms) != nplurals:
                problems.append("%s: %r has %d forms, not %d" % (name, msgid, len(forms), nplurals))
            if any(("%d" in f) != ("%d" in msgid) for f in forms):
                problems.append("%s: %r loses or gains its number" % (name, msgid))
            if any(("&" in f) != ("&" in msgid) for f in forms):
                problems.append("%s: %r loses or gains its access key" % (name, msgid))
        for msgid in entries:
            if msgid not in wanted:
                problems.append("%s: %r is no text of the game" % (name, msgid))
    return problems


def main(argv):
    if len(argv) == 3 and argv[0] == "template":
        template(argv[1], argv[2])
    elif len(argv) >= 2 and argv[0] == "compile":
        compile_catalogues(argv[1], argv[2:])
    elif len(argv) == 2 and argv[0] == "check":
        problems = check(argv[1])
        for p in problems:
            print(p)
        return 1 if problems else 0
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
