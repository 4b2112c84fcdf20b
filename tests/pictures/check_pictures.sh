#!/usr/bin/env bash
# The pictures in ui/pictures/ are what make_pictures.py makes: made afresh into a scratch folder,
# every file it makes has the same bytes there, and there is none it no longer makes.
#   tests/pictures/check_pictures.sh <python> <source tree>
set -euo pipefail
python=$1 pictures=$2/ui/pictures
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$python" -B "$pictures/make_pictures.py" "$scratch" >/dev/null
status=0
for made in "$scratch"/*; do
  name=${made##*/}
  cmp -s "$made" "$pictures/$name" || { echo "ui/pictures/$name is not what make_pictures.py makes: run it"; status=1; }
done
for kept in "$pictures"/*.jpg "$pictures"/*.png "$pictures"/*.ico "$pictures"/*.bmp; do
  [ -e "$scratch/${kept##*/}" ] || { echo "ui/pictures/${kept##*/} is made by nothing"; status=1; }
done
[ "$status" -ne 0 ] || echo "the pictures are what make_pictures.py makes"
exit "$status"
