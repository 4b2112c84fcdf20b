#!/usr/bin/env bash
# Builds the same tree's site again as another version, for the tests of what players meet when a
# release follows theirs: next_release.sh <source> <build folder> <version> <toolchain file>.
set -euo pipefail
src=$1 build=$2 version=$3 toolchain=$4
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}  # emscripten's optimiser needs Debian's modules
cmake -S "$src" -B "$build" -G Ninja --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DNUMERAK_FRONTEND=web -DNUMERAK_TESTS=OFF -DNUMERAK_AS_VERSION="$version" >/dev/null
cmake --build "$build" --target numerak_site >/dev/null
echo "the site as $version: $build/site"
