#!/usr/bin/env bash
# Builds the browser version with its tests and runs them: the game logic compiled to
# WebAssembly under node, and the site played in Debian's Chromium and Firefox ESR, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh emscripten binaryen fonttools python3-brotli chromium firefox-esr
command -v node >/dev/null || scripts/deps.sh nodejs
command -v npm >/dev/null || scripts/deps.sh npm
npm ci --ignore-scripts --prefix app/web --no-audit --no-fund --loglevel=error    # the page's bundler
npm ci --ignore-scripts --prefix tests/web --no-audit --no-fund --loglevel=error  # what drives the browsers
cmake --preset web
cmake --build --preset web
ctest --preset web
