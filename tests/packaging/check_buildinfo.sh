#!/usr/bin/env bash
# The record of what a release is built with (scripts/lib/buildinfo.sh) is the same bytes when
# written again and names no folder of the machine; it gives the system, the toolchain's Debian
# packages at the versions installed here (the compiler's own package too), the tools on the
# PATH, and the bundler the lockfile pins, with the lockfile's hash.
#   check_buildinfo.sh <source folder>
set -euo pipefail
src=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
commit=0123456789abcdef0123456789abcdef01234567
(cd "$work" && "$src/scripts/lib/buildinfo.sh" "$src" "$commit" >one && "$src/scripts/lib/buildinfo.sh" "$src" "$commit" >two)
cmp -s "$work/one" "$work/two" || fail "written twice, it differs: $(diff "$work/one" "$work/two")"
! grep -q -F -e "$src" -e "$work" "$work/one" || fail "it names a folder of this machine"
line() { grep -x -F -q -- "$1" "$work/one" || fail "no line '$1' in:"$'\n'"$(cat "$work/one")"; }
field() { sed -n "s/^$1: //p" "$work/one"; }

line "Commit: $commit"
[[ "$(field System)" == "$(sed -n 's/^PRETTY_NAME=//p' /etc/os-release | tr -d '"'), "* ]] ||
  fail "the system is not this one: $(field System)"
toolchain=(g++-mingw-w64-x86-64-posix emscripten binaryen qt6-base-dev nsis osslsigncode cmake ninja-build python3)
installed=$(dpkg-query -W -f='${db:Status-Status} ${binary:Package} ${Version}\n' g++ "${toolchain[@]}" 2>/dev/null || true)
for p in "${toolchain[@]}"; do
  version=$(awk -v p="$p" '$1 == "installed" && ($2 == p || index($2, p ":") == 1) { print $2, $3 }' <<<"$installed")
  line " ${version:-$p (not installed)}"
done
if grep -q "^installed g++ " <<<"$installed"; then
  grep -q -E '^ g\+\+-[0-9]+ ' "$work/one" || fail "no package of the compiler itself"
fi
for tool in cmake ninja python3 node npm; do
  grep -q -E "^ $tool: .*[0-9]" "$work/one" || fail "no version of $tool"
done
bundler=$(grep -A 1 '"node_modules/esbuild": {' "$src/app/web/package-lock.json" | sed -n 's/.*"version": "\(.*\)".*/\1/p')
line "Bundler: esbuild $bundler"
line " $(cd "$src" && sha256sum app/web/package-lock.json)"
echo "build record: reproducible, no folder named, the system, packages, tools, bundler and lockfile"
