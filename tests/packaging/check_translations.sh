#!/usr/bin/env bash
# The translations: the template as the sources say, every catalogue whole (po/catalogue.py
# check), and msgfmt finding nothing to say of any, each 100 % translated; and a catalogue whose
# plural rule is code, not a rule, refused by both the check and the build, at its line:
# check_translations.sh <source root>. What msgfmt cannot see is tests/packaging/lint_catalogues.py's.
set -euo pipefail
root=$1
status=0
python3 -B "$root/po/catalogue.py" check "$root" || status=1
# French spacing, the installer's messages in every language it has, every letter in a face of the
# page's (Debian's own interpreter, which has fontTools).
/usr/bin/python3 -B "$root/tests/packaging/lint_catalogues.py" "$root" || status=1
wanted=$(grep -c '^msgid "[^"]' "$root/po/numerak.pot")
for po in "$root"/po/*.po; do
  said=$(msgfmt -c --statistics -o /dev/null "$po" 2>&1)
  if [ "$said" != "$wanted translated messages." ]; then
    echo "$(basename "$po"): $said (of $wanted)"
    status=1
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for folder in ui game about runtime app packaging; do ln -s "$root/$folder" "$scratch/$folder"; done
cp -r "$root/po" "$scratch/po"
sed -i 's|^"Plural-Forms: .*|"Plural-Forms: nplurals=2; plural=(n != 1) + [] { return std::system(\\"touch '"$scratch"'/ran\\"); }();\\n"|' \
  "$scratch/po/de.po"
line=$(grep -n "^\"Plural-Forms" "$scratch/po/de.po" | cut -d: -f1)
for run in "check $scratch" "compile $scratch/catalogues.cpp $scratch/po/de.po"; do
  # shellcheck disable=SC2086 # the words of each run
  said=$(python3 -B "$root/po/catalogue.py" $run 2>&1) && { echo "catalogue.py ${run%% *} took code for a plural rule"; status=1; }
  grep -q "de.po:$line: the plural rule" <<<"$said" || { echo "catalogue.py ${run%% *} did not say where: $said"; status=1; }
done
[ ! -e "$scratch/catalogues.cpp" ] || { echo "catalogue.py compile wrote C++ from it"; status=1; }
[ $status -eq 0 ] && echo "$(ls "$root"/po/*.po | wc -l) catalogues, each $wanted of $wanted, msgfmt -c clean"
exit $status
