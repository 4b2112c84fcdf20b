#!/usr/bin/env bash
# Static checks on our own code. Exits non-zero on any finding.
#   scripts/lint.sh           formatting, clang-tidy and cppcheck
#   scripts/lint.sh --check   the formatting alone (clang-format --dry-run -Werror)
#   scripts/lint.sh --format  formats the tree in place
# clang-tidy checks what the builds compile on this system (the tests and the fuzz targets too);
# cppcheck also reads the Windows and the browser code, which the native compiler does not build.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-all}

# Our sources: tracked, or new and not ignored (so that a file not yet committed is checked too).
present() { while read -r f; do if [ -e "$f" ]; then echo "$f"; fi; done; }
sources() { git ls-files --cached --others --exclude-standard '*.cpp' '*.hpp' | sort -u | present; }
cppfiles() { git ls-files --cached --others --exclude-standard '*.cpp' | sort -u | present; }

case "$mode" in
  --check | --format) scripts/deps.sh clang-format ;;
  all)
    scripts/deps.sh clang-format clang-tidy cppcheck clang python3
    command -v node >/dev/null || scripts/deps.sh nodejs
    ;;
  *) echo "usage: scripts/lint.sh [--check | --format]" >&2; exit 2 ;;
esac

if [ "$mode" = --format ]; then
  sources | xargs clang-format -i
  exit 0
fi

echo "lint: clang-format"
sources | xargs clang-format --dry-run -Werror || { echo "lint: not formatted; scripts/lint.sh --format fixes it"; exit 1; }
[ "$mode" = --check ] && exit 0

# The files of ours that a build's compile database compiles, from the top of the tree, given a
# folder to take them from.
compiled() {
  python3 - "$1" "$2" <<'EOF'
import json, os, sys
build, under = sys.argv[1], sys.argv[2]
top = os.getcwd()
files = set()
for entry in json.load(open(os.path.join(build, "compile_commands.json"))):
    path = os.path.relpath(os.path.join(entry["directory"], entry["file"]), top)
    if not path.startswith(("build" + os.sep, os.pardir)) and path.startswith(under):
        files.add(path)
print("\n".join(sorted(files)))
EOF
}

# clang-tidy over the files, quietly unless it finds something.
tidy() {
  local db=$1
  shift
  printf "%s\n" "$@" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$db" --quiet 2>&1 |
    { grep -v -E '^[0-9]+ warnings?( and [0-9]+ errors?)? generated\.$' || true; }
}

echo "lint: clang-tidy"
build=build/lint
cmake --preset debug -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build "$build" >/dev/null  # the generated sources the checks read
fuzzbuild=build/lint-fuzz
CC=clang CXX=clang++ cmake -S . -B "$fuzzbuild" -G Ninja -DNUMERAK_FUZZ=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
mapfile -t program < <(compiled "$build" "")
mapfile -t fuzzers < <(compiled "$fuzzbuild" fuzz/)
tidy "$build" "${program[@]}" || { echo "lint: clang-tidy found the above"; exit 1; }
tidy "$fuzzbuild" "${fuzzers[@]}" || { echo "lint: clang-tidy found the above in the fuzz targets"; exit 1; }

echo "lint: cppcheck"
check=(cppcheck --quiet --error-exitcode=1 --enable=warning,performance,portability --inline-suppr
  --std=c++20 --language=c++ -I . --suppress=missingIncludeSystem --suppress='*:/usr/*' --library=googletest)
# The Windows code (every path with win32 in it) is read as Windows code, the rest as POSIX code.
mapfile -t windows < <(cppfiles | grep win32 || true)
mapfile -t portable < <(cppfiles | grep -v win32)
"${check[@]}" --library=posix --library=qt "${portable[@]}"
if [ ${#windows[@]} -gt 0 ]; then
  "${check[@]}" --library=windows --platform=win64 "${windows[@]}"
fi
echo "lint: javascript"
# The page's code, the browser test and the tools: at least they parse.
git ls-files --cached --others --exclude-standard '*.js' '*.mjs' | sort -u | present | while read -r f; do
  node --check "$f" || { echo "lint: $f does not parse"; exit 1; }
done
echo "lint: clean"
