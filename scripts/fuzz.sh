#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given seconds (default 600):
# scripts/fuzz.sh [seconds]. New inputs, logs and any crash go under build/fuzz, never into the
# tree; fuzz/corpus holds the committed seeds. Exits non-zero when any target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
scripts/deps.sh clang libclang-rt-14-dev
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMERAK_FUZZ=ON >/dev/null
cmake --build "$build"
mkdir -p "$build/artifacts"
failed=0
for target in conversions registry play language plural page_keys events; do
  mkdir -p "$build/corpus/$target"
  log="$build/$target.log"
  echo "fuzz: $target for ${seconds}s"
  # A hang of more than 10 s or a run away with memory counts as a fault too.
  if nice "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/artifacts/$target-" "$build/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E '^#[0-9]+.*DONE|^stat::(number_of_executed_units|new_units_added)' "$log" || true
  else
    grep -E 'rule broken|ERROR|SUMMARY|^artifact_prefix|Test unit written' "$log" | head -n 20 || true
    echo "fuzz: $target found a fault; the input is in $build/artifacts, the whole run in $log"
    failed=1
  fi
done
exit "$failed"
