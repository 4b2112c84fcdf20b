#!/usr/bin/env bash
# Installs what is missing, builds every test with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs them all; then the Windows build's tests under wine, the browser build's under node and
# Chromium, the static checks and the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh python3 imagemagick binutils-mingw-w64-x86-64 qt6-base-private-dev \
  xvfb xauth x11-utils dbus at-spi2-core python3-pyatspi desktop-file-utils appstream file dpkg-dev \
  lintian devscripts minisign fonttools
# A Turkish locale, whose case rules the program must not trip over.
. scripts/lib/locales.sh
ensure_locales tr_TR
cmake --preset sanitize
cmake --build --preset sanitize
ctest --preset sanitize

# numerak.exe and its tests, cross-compiled and run under wine.
scripts/test-windows.sh

# The browser version: the logic as WebAssembly under node, the site in headless Chromium.
scripts/test-web.sh

# Static checks, and every fuzz target for a short while.
scripts/lint.sh
scripts/fuzz.sh 20
