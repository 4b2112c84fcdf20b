#!/usr/bin/env python3
"""Zips a folder so that the same files always give the same bytes: members in sorted order,
each dated SOURCE_DATE_EPOCH (or 1980-01-01, the earliest a zip can hold), with fixed modes and
no owner: stable_zip.py <out.zip> <folder>."""

import os
import sys
import time
import zipfile


def main(argv):
    if len(argv) != 3:
        print("usage: stable_zip.py <out.zip> <folder>", file=sys.stderr)
        return 2
    out, folder = argv[1], argv[2]
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "315532800"))
    date = time.gmtime(max(epoch, 315532800))[:6]
    names = []
    for top, dirs, files in os.walk(folder):
        dirs.sort()
        for f in files:
            names.append(os.path.relpath(os.path.join(top, f), folder).replace(os.sep, "/"))
    with zipfile.ZipFile(out, "w") as archive:
        for name in sorted(names):
            member = zipfile.ZipInfo(name, date)
            member.compress_type = zipfile.ZIP_DEFLATED
            member.create_system = 3  # Unix, so that the mode below is read
            member.external_attr = 0o100644 << 16
            with open(os.path.join(folder, name), "rb") as f:
                archive.writestr(member, f.read(), compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
