#!/usr/bin/env bash
# Builds the Windows zip with CPack and checks that it holds numerak.exe alone, as built.
set -euo pipefail
build=$1
cd "$build"
rm -f numerak-*-win64.zip
cpack -G ZIP >/dev/null
zip=$(ls numerak-*-win64.zip)
listing=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
[ "$listing" = numerak.exe ] || { echo "$zip holds: $listing"; exit 1; }
python3 - "$zip" app/numerak.exe <<'PY'
import sys, zipfile
packed = zipfile.ZipFile(sys.argv[1]).read("numerak.exe")
built = open(sys.argv[2], "rb").read()
# CPack strips the program; ours is stripped already, so the two are the same bytes.
sys.exit(0 if packed == built else "the zipped numerak.exe differs from the one built")
PY
echo "$zip: numerak.exe alone, $(stat -c %s app/numerak.exe) bytes"
