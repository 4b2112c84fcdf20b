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
    for folder, pattern in (("ui", DESIGN_TEXT), ("game", CALL), ("about", CALL), ("runtime", CALL),
                            (os.path.join("runtime", "web"), CALL)):
        base = os.path.join(root, folder)
        for name in sorted(os.listdir(base)):
            if not name.endswith(".cpp"):
                continue
            path = os.path.join(base, name)
            with open(path, encoding="utf-8") as f:
                source = f.read()
            for m in pattern.finditer(source):
                where = "%s/%s" % (folder.replace(os.sep, "/"), name)
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
        if "%d" in text or "%s" in text:
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


class CatalogueError(Exception):
    """A catalogue the program cannot take, with the file and line that say why."""


# A plural rule by gettext's grammar: n, decimal numbers, parentheses, ! and the C operators
# below, loosest first; the program reads it the same way (runtime/plural.cpp), as data.
PLURAL_TOKEN = re.compile(r"\s*(\d+|n|\|\||&&|==|!=|<=|>=|[-+*/%<>!?:()])")
PLURAL_LEVELS = [("||",), ("&&",), ("==", "!="), ("<", ">", "<=", ">="), ("+", "-"), ("*", "/", "%")]
PLURAL_DEEPEST = 32
WORD = (1 << 64) - 1  # the widest unsigned long the program is built with


def plural_rule(text):
    """The rule an expression states, as a function of n; ValueError for anything else."""
    tokens, at = [], 0
    while at < len(text):
        m = PLURAL_TOKEN.match(text, at)
        if not m:
            if text[at:].strip() == "":
                break
            raise ValueError("%r is no part of a plural rule" % text[at:at + 12])
        tokens.append(m.group(1))
        at = m.end()
    position = [0]

    def peek():
        return tokens[position[0]] if position[0] < len(tokens) else None

    def take(token):
        if peek() != token:
            raise ValueError("expected %r, found %r" % (token, peek() or "the end"))
        position[0] += 1

    def conditional(depth):
        if depth > PLURAL_DEEPEST:
            raise ValueError("nested too deep")
        test = binary(0, depth)
        if peek() != "?":
            return test
        take("?")
        then = conditional(depth + 1)
        take(":")
        otherwise = conditional(depth + 1)
        return lambda n: then(n) if test(n) else otherwise(n)

    def binary(level, depth):
        if level == len(PLURAL_LEVELS):
            return unary(depth)
        left = binary(level + 1, depth)
        while peek() in PLURAL_LEVELS[level]:
            op = peek()
            position[0] += 1
            left = operation(op, left, binary(level + 1, depth))
        return left

    def unary(depth):
        if peek() == "!":
            position[0] += 1
            if depth + 1 > PLURAL_DEEPEST:
                raise ValueError("nested too deep")
            inner = unary(depth + 1)
            return lambda n: int(not inner(n))
        token = peek()
        if token == "(":
            take("(")
            inner = conditional(depth + 1)
            take(")")
            return inner
        if token == "n":
            position[0] += 1
            return lambda n: n
        if token is not None and token.isdigit():
            position[0] += 1
            value = int(token)
            if value > WORD:
                raise ValueError("%s is too large" % token)
            return lambda n: value
        raise ValueError("expected n, a number or (, found %r" % (token or "the end"))

    rule = conditional(1)
    if peek() is not None:
        raise ValueError("%r after the rule" % peek())
    return rule


def operation(op, a, b):
    return {
        "||": lambda n: int(bool(a(n)) or bool(b(n))),
        "&&": lambda n: int(bool(a(n)) and bool(b(n))),
        "==": lambda n: int(a(n) == b(n)),
        "!=": lambda n: int(a(n) != b(n)),
        "<": lambda n: int(a(n) < b(n)),
        ">": lambda n: int(a(n) > b(n)),
        "<=": lambda n: int(a(n) <= b(n)),
        ">=": lambda n: int(a(n) >= b(n)),
        "+": lambda n: (a(n) + b(n)) & WORD,
        "-": lambda n: (a(n) - b(n)) & WORD,
        "*": lambda n: (a(n) * b(n)) & WORD,
        "/": lambda n: a(n) // b(n) if b(n) else 0,
        "%": lambda n: a(n) % b(n) if b(n) else 0,
    }[op]


def plural_forms(path):
    """(nplurals, the rule's expression) of a catalogue's Plural-Forms header; CatalogueError,
    naming the file and the header's line, where either is not what gettext reads or the rule
    picks a form the catalogue does not have."""
    with open(path, encoding="utf-8") as f:
        numbered = list(enumerate(f, 1))
    line = next((n for n, text in numbered if "Plural-Forms:" in text), None)
    header, _ = parse_po(path)
    where = "%s:%s" % (path, line) if line else path
    forms = header.get("Plural-Forms")
    if forms is None:
        raise CatalogueError("%s: no Plural-Forms header" % where)
    m = re.fullmatch(r"\s*nplurals\s*=\s*(\d+)\s*;\s*plural\s*=(.*?);?\s*", forms)
    if not m:
        raise CatalogueError("%s: Plural-Forms is not \"nplurals=N; plural=EXPRESSION;\"" % where)
    nplurals, expression = int(m.group(1)), m.group(2).strip()
    if not 1 <= nplurals <= 6:
        raise CatalogueError("%s: nplurals=%d, where a language has 1 to 6" % (where, nplurals))
    try:
        rule = plural_rule(expression)
        for n in list(range(0, 1001)) + [10 ** k + d for k in range(3, 19) for d in (0, 1, 2, 5, 11, 21)] + [WORD]:
            if not 0 <= rule(n) < nplurals:
                raise ValueError("it gives form %d for %d, of %d" % (rule(n), n, nplurals))
    except (ValueError, RecursionError) as e:
        raise CatalogueError("%s: the plural rule is not one to take: %s" % (where, e or "too long"))
    return nplurals, expression


def compile_catalogues(out, paths):
    parts = ["// Written by po/catalogue.py from po/*.po: do not edit.",
             '#include "runtime/language.hpp"', "", "#include <array>", "", "namespace numerak {", "",
             "namespace {", ""]
    catalogues = []
    for path in sorted(paths):
        language = os.path.splitext(os.path.basename(path))[0]
        if not re.fullmatch(r"[a-z]{2,3}(_[A-Z]{2})?", language):
            raise CatalogueError("%s: %r is no language name gettext uses (de, pt_BR)" % (path, language))
        _, rule = plural_forms(path)
        _, entries = parse_po(path)
        catalogues.append((language, rule, entries))
    for language, _, entries in catalogues:
        items = sorted((k, v) for k, v in entries.items() if not v[2] and any(v[1]))
        for n, (msgid, (plural, forms, _)) in enumerate(items):
            parts.append("constexpr std::array<std::string_view, %d> %s_%d{%s};" %
                         (len(forms), language, n, ", ".join(cpp_string(f) for f in forms)))
        parts.append("const std::array<CatalogueEntry, %d> %s{{" % (len(items), language))
        for n, (msgid, (plural, forms, _)) in enumerate(items):
            parts.append("    {%s, %s, %s_%d}," % (cpp_string(msgid), cpp_string(plural or ""), language, n))
        parts += ["}};", ""]
    parts.append("const std::array<Catalogue, %d> all{{" % len(catalogues))
    for language, rule, _ in catalogues:
        parts.append('    {"%s", %s, %s},' % (language, cpp_string(rule), language))
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
        path = os.path.join(root, "po", name)
        _, entries = parse_po(path)
        try:
            nplurals, _ = plural_forms(path)
        except CatalogueError as e:
            problems.append(str(e))
            nplurals = 0
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
            if any(("%s" in f) != ("%s" in msgid) for f in forms):
                problems.append("%s: %r loses or gains its name" % (name, msgid))
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
        try:
            compile_catalogues(argv[1], argv[2:])
        except CatalogueError as e:
            print(e, file=sys.stderr)
            return 1
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
