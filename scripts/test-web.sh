#!/usr/bin/env bash
# Builds the browser version with its tests and runs them: the game logic compiled to
# WebAssembly under node, and the site played in Debian's Chromium and Firefox ESR, headless, and
# in WebKitGTK on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh emscripten binaryen fonttools python3-brotli chromium firefox-esr webkit2gtk-driver xvfb
command -v node >/dev/null || scripts/deps.sh nodejs
command -v npm >/dev/null || scripts/deps.sh npm
# WebKitGTK takes the player's language from the C library's locale: one of each the game speaks.
. scripts/lib/locales.sh
ensure_locales $(language_locales)
npm ci --ignore-scripts --prefix app/web --no-audit --no-fund --loglevel=error    # the page's bundler
npm ci --ignore-scripts --prefix tests/web --no-audit --no-fund --loglevel=error  # what drives the browsers
cmake --preset web
cmake --build --preset web
ctest --preset web
