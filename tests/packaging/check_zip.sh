#!/usr/bin/env bash
# Builds the Windows zip with CPack and checks that it holds numerak.exe, as built, and beside it
# its third-party notices, and nothing else.
set -euo pipefail
build=$1
cd "$build"
rm -f numerak-*-win64.zip
cpack -G ZIP >/dev/null
zip=$(ls numerak-*-win64.zip)
listing=$(python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
[ "$listing" = "$(printf 'THIRD-PARTY-NOTICES.txt\nnumerak.exe')" ] || { echo "$zip holds: $listing"; exit 1; }
python3 - "$zip" app/numerak.exe <<'PY'
import sys, zipfile
packed = zipfile.ZipFile(sys.argv[1]).read("numerak.exe")
built = open(sys.argv[2], "rb").read()
# CPack strips the program; ours is stripped already, so the two are the same bytes.
sys.exit(0 if packed == built else "the zipped numerak.exe differs from the one built")
PY
cmp -s <(python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read("THIRD-PARTY-NOTICES.txt"))' "$zip") \
  app/THIRD-PARTY-NOTICES.txt || { echo "the zipped notices differ from those the link wrote"; exit 1; }
echo "$zip: numerak.exe, $(stat -c %s app/numerak.exe) bytes, and its notices"
