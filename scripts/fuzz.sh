#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given seconds (default 600):
# scripts/fuzz.sh [seconds]. New inputs and any crash go under build/fuzz, never into the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
scripts/deps.sh clang libclang-rt-14-dev
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMERAK_FUZZ=ON >/dev/null
cmake --build "$build"
mkdir -p "$build/artifacts"
for target in conversions registry play; do
  mkdir -p "$build/corpus/$target"
  echo "fuzz: $target for ${seconds}s"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
    -timeout=10 -rss_limit_mb=2048 "$build/corpus/$target" "fuzz/corpus/$target" 2>&1 |
    grep -E "^#[0-9]+.*(DONE|INITED)|stat::number_of_executed_units|stat::new_units_added|cov:|ERROR|SUMMARY|rule broken" | tail -n 6
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "fuzz: $target found a fault; see $build/artifacts"; exit 1; }
done
