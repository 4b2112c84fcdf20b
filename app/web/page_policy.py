#!/usr/bin/env python3
"""Writes into the page the digests by which its Content-Security-Policy lets its inline scripts
run and its inline styles apply: page_policy.py <index.html>. Run on the page as written, every
other substitution done, since a digest is of the block's final bytes. In the policy,
@PAGE_SCRIPT_HASHES@ becomes one 'sha256-…' for each inline script the browser runs (a data block,
such as type="application/json", is not run and needs none) and @PAGE_STYLE_HASHES@ one for each
inline <style>.

A policy by digests cannot allow an event handler or a style written in an attribute: a page
with one fails here, rather than in the browser.
"""

import base64
import hashlib
import re
import sys

# What a <script>'s type may be for the browser to run it.
RUN = {b"", b"module", b"text/javascript", b"application/javascript", b"text/ecmascript"}
OPENING = re.compile(rb"<!--|<(script|style)\b([^>]*)>", re.I)
TYPE = re.compile(rb"""\btype\s*=\s*["']?([^"'\s>]*)""", re.I)
SOURCE = re.compile(rb"\bsrc\s*=", re.I)
IN_ATTRIBUTE = re.compile(rb"<[a-z][^>]*\s(on[a-z]+|style)\s*=", re.I)


def digest(block):
    # The browser hashes the text as parsed, in which every line ends in a line feed.
    text = block.replace(b"\r\n", b"\n").replace(b"\r", b"\n")
    return "'sha256-" + base64.b64encode(hashlib.sha256(text).digest()).decode() + "'"


def main(argv):
    if len(argv) != 2:
        print("usage: page_policy.py <index.html>", file=sys.stderr)
        return 2
    with open(argv[1], "rb") as f:
        page = f.read()
    found = {b"script": [], b"style": []}
    markup = []  # the page outside comments, scripts and styles
    at = 0
    while (opening := OPENING.search(page, at)) is not None:
        markup.append(page[at:opening.start()])
        if opening.group(0) == b"<!--":
            end = page.find(b"-->", opening.end())
            at = len(page) if end < 0 else end + 3
            continue
        markup.append(opening.group(0))
        kind, attributes = opening.group(1).lower(), opening.group(2)
        closing = re.compile(rb"</" + kind + rb"[\s/>]", re.I).search(page, opening.end())
        if closing is None:
            print(f"page_policy.py: a <{kind.decode()}> is not closed", file=sys.stderr)
            return 1
        block = page[opening.end():closing.start()]
        type_ = TYPE.search(attributes)
        runs = not SOURCE.search(attributes) and (type_ is None or type_.group(1).lower() in RUN)
        if kind == b"style" or runs:
            found[kind].append(digest(block))
        at = closing.start()
    markup.append(page[at:])
    refused = IN_ATTRIBUTE.search(b"".join(markup))
    if refused:
        print(f"page_policy.py: {refused.group(0)[:80]!r}: the policy cannot allow {refused.group(1).decode()}= in"
              " the markup; set it from the page's code", file=sys.stderr)
        return 1
    for placeholder, kind in ((b"@PAGE_SCRIPT_HASHES@", b"script"), (b"@PAGE_STYLE_HASHES@", b"style")):
        if page.count(placeholder) != 1:
            print(f"page_policy.py: {placeholder.decode()} should be in the page once", file=sys.stderr)
            return 1
        page = page.replace(placeholder, " ".join(found[kind]).encode())
    with open(argv[1], "wb") as f:
        f.write(page)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
