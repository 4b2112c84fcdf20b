#!/usr/bin/env bash
# Static checks on our own code: formatting, clang-tidy and cppcheck. Exits non-zero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang-format clang-tidy cppcheck
build=build/lint
cmake --preset debug -B "$build" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build "$build" >/dev/null  # generated sources the checks need
mapfile -t sources < <(git ls-files '*.cpp' | grep -v '^about/platform_win32.cpp$' | grep -v '^fuzz/')

echo "lint: clang-format"
git ls-files '*.cpp' '*.hpp' | xargs clang-format --dry-run -Werror

echo "lint: clang-tidy"
printf "%s\n" "${sources[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet 2>/dev/null || { echo "lint: clang-tidy found the above"; exit 1; }

echo "lint: cppcheck"
cppcheck --quiet --error-exitcode=1 --enable=warning,performance,portability --inline-suppr \
  --std=c++20 --language=c++ -I . --suppress=missingIncludeSystem --suppress='*:/usr/*' \
  about app game runtime ui fuzz -i about/platform_win32.cpp
echo "lint: clean"
