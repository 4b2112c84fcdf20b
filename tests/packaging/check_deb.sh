#!/usr/bin/env bash
# The .deb as a distribution checks it: built twice, from copies of the tree at two paths made at
# two times, it is the same bytes; lintian finds no error and no warning in it; and the program
# in it is hardened: check_deb.sh <source tree> <scratch folder>.
set -euo pipefail
src=$1 scratch=$2
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct 2>/dev/null ||
                                               stat -c %Y "$src/CMakeLists.txt")}
status=0
ok() { echo "ok   $*"; }
fail() { echo "FAIL $*"; status=1; }

# A copy of the tree as it stands (committed or not), its files dated now, built as a release.
# In a checkout, the files git sees: tracked, or new and not ignored, so that nothing ignored (a
# signing key above all) is copied into the build.
build() {
  mkdir -p "$1"
  if [ -e "$src/.git" ]; then
    (cd "$src" && git ls-files -z --cached --others --exclude-standard --deduplicate |
       while IFS= read -r -d '' f; do if [ -e "$f" ] || [ -L "$f" ]; then printf '%s\0' "$f"; fi; done |
       tar -cf - --null --verbatim-files-from -T -) | tar -C "$1" -xmf -
  else
    tar -C "$src" --exclude=./build --exclude=./dist --exclude=node_modules -cf - . | tar -C "$1" -xmf -
  fi
  cmake -S "$1" -B "$1/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUMERAK_TESTS=OFF >/dev/null
  cmake --build "$1/build" -j 1 >/dev/null
  (cd "$1/build" && cpack -G DEB >/dev/null)
}
rm -rf "$scratch"
build "$scratch/one/numerak" &
first=$!
sleep 2
build "$scratch/another/place/numerak-copy"
wait $first
one=$(ls "$scratch"/one/numerak/build/numerak_*_amd64.deb)
another=$(ls "$scratch"/another/place/numerak-copy/build/numerak_*_amd64.deb)
if cmp -s "$one" "$another"; then
  ok "two builds at two paths give the same $(basename "$one"): $(sha256sum "$one" | cut -c1-16)"
else
  fail "the two builds differ:"
  diff <(dpkg-deb -c "$one") <(dpkg-deb -c "$another") || true
fi
if grep -a -q -e "$scratch" "$one"; then fail "the package names the folder it was built in"; fi

lint=$(lintian --tag-display-limit 0 "$one" 2>&1 | grep -v "running with root privileges" || true)
if grep -q -E "^[EW]:" <<<"$lint"; then fail "lintian: $lint"; else ok "lintian: no error, no warning"; fi

unpacked=$scratch/unpacked
dpkg-deb -x "$one" "$unpacked"
program=$unpacked/usr/games/numerak
[ -x "$program" ] && ok "the program is /usr/games/numerak" || fail "no /usr/games/numerak"
report=$(hardening-check "$program" || true)  # it fails on the control-flow line, see below
for line in "Position Independent Executable" "Stack protected" "Fortify Source functions" \
            "Read-only relocations" "Immediate binding"; do
  if grep -q "^ $line: yes" <<<"$report"; then ok "$line: yes"; else fail "$(grep "^ $line" <<<"$report")"; fi
done
# Two answers hardening-check cannot give as yes for any program linked against Debian 12's C
# library: it reads control-flow protection from the program's property note, which the linker
# writes only when every object carries it, and the C library's start files carry none; and it
# recognises stack-clash protection only by the probe loop of a dynamic stack allocation, which
# the game does not make. So each of our own objects is checked for what the flags put there.
objects=$(find "$scratch/one/numerak/build" -name '*.o' -path '*CMakeFiles*')
unmarked=$(for o in $objects; do readelf -n "$o" | grep -q "x86 feature: IBT, SHSTK" || echo "$o"; done)
if grep -q "^ Control flow integrity: yes" <<<"$report" || [ -z "$unmarked" ]; then
  ok "control flow integrity: every one of our $(wc -w <<<"$objects") objects is marked IBT and SHSTK"
else
  fail "control flow integrity: not marked: $unmarked"
fi
commands=$(ninja -C "$scratch/one/numerak/build" -t commands numerak | grep -E -- " -c .*\.cpp$" || true)
unprobed=$(grep -v -- "-fstack-clash-protection" <<<"$commands" || true)
if grep -q "^ Stack clash protection: yes" <<<"$report" || { [ -n "$commands" ] && [ -z "$unprobed" ]; }; then
  ok "stack clash protection: every one of the program's $(wc -l <<<"$commands") compiles asks for it"
else
  fail "stack clash protection: compiled without it: $unprobed"
fi
exit $status
