#!/usr/bin/env bash
# The translations: the template as the sources say, every catalogue whole (po/catalogue.py
# check), and msgfmt finding nothing to say of any, each 100 % translated:
# check_translations.sh <source root>.
set -euo pipefail
root=$1
status=0
python3 -B "$root/po/catalogue.py" check "$root" || status=1
wanted=$(grep -c '^msgid "[^"]' "$root/po/numerak.pot")
for po in "$root"/po/*.po; do
  said=$(msgfmt -c --statistics -o /dev/null "$po" 2>&1)
  if [ "$said" != "$wanted translated messages." ]; then
    echo "$(basename "$po"): $said (of $wanted)"
    status=1
  fi
done
[ $status -eq 0 ] && echo "$(ls "$root"/po/*.po | wc -l) catalogues, each $wanted of $wanted, msgfmt -c clean"
exit $status
