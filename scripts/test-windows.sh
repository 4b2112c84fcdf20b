#!/usr/bin/env bash
# Cross-compiles numerak.exe and its tests with MinGW-w64 and runs the tests under wine, in a
# throwaway wine prefix inside the build folder and on a virtual display.
# scripts/test-windows.sh [--shots folder]: also plays a game and takes a screenshot of each window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64 xvfb \
  x11-utils openbox imagemagick

shots=""
[ "${1:-}" = "--shots" ] && shots=${2:-build/windows/screenshots}

cmake --preset windows
cmake --build --preset windows

export WINEPREFIX=$PWD/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. scripts/lib/display.sh
start_display
wm=""
cleanup() {
  # Our own wineserver only: a lingering one would hold the run open.
  wineserver -k 2>/dev/null || true
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  stop_display
}
trap cleanup EXIT
# A window manager, as a player's desktop has: title bars for the screenshots, and without
# one wine waits seconds on every window it activates.
openbox >/dev/null 2>&1 &
wm=$!
wineboot --init >/dev/null 2>&1

status=0
ctest --preset windows || status=$?

if [ -n "$shots" ]; then
  mkdir -p "$shots"
  app=build/windows/app
  (cd "$app" && /usr/lib/wine/wine64 ../tests/win32/numerak_smoke_driver.exe numerak.exe --shots) |
    while read -r word name; do
      name=${name%$'\r'}  # the console of a Windows program ends its lines with CR LF
      if [ "$word" = SHOT ]; then
        sleep 0.7
        import -window root "$shots/$name.png"
        echo "screenshot: $shots/$name.png"
      fi
    done
fi
exit $status
