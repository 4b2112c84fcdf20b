#!/usr/bin/env bash
# Start-up benchmark: scripts/benchmark.sh [rounds] [--windows] [--web]. Installs the peers and
# tools it needs, builds the release game with the benchmark's programs, and measures them all on
# a virtual display with no window manager. With --windows, numerak.exe too, under wine, against
# a minimal Win32 program. With --web, the site in headless Chromium against a static floor page
# (bench/web_startup.mjs).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=10
windows=""
web=""
for arg in "$@"; do
  case $arg in
    --windows) windows=build/windows ;;
    --web) web=yes ;;
    *) rounds=$arg ;;
  esac
done
scripts/deps.sh xvfb x11-utils libx11-dev python3 colorcode gnome-mastermind sgt-puzzles
cmake --preset bench >/dev/null
cmake --build --preset bench

. scripts/lib/display.sh
start_display
cleanup() {
  [ -n "$windows" ] && wineserver -k 2>/dev/null || true
  stop_display
}
trap cleanup EXIT
if [ -n "$windows" ]; then
  scripts/deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64
  cmake --preset windows >/dev/null
  cmake --build --preset windows
  export WINEPREFIX=$PWD/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # One server for the whole run, as on a desktop where wine is already up.
  wineserver -k 2>/dev/null || true
  wineserver -p
  wineboot --init >/dev/null 2>&1
fi
/usr/bin/python3 scripts/benchmark.py --rounds "$rounds" ${windows:+--windows "$windows"}
if [ -n "$web" ]; then
  scripts/web.sh build
  scripts/deps.sh chromium
  npm ci --ignore-scripts --prefix tests/web --no-audit --no-fund --loglevel=error
  node bench/web_startup.mjs build/web "$rounds"
fi
