#!/usr/bin/env bash
# Cross-compiles numerak.exe and its tests with MinGW-w64 and runs the tests under wine, in a
# throwaway wine prefix inside the build folder and on a virtual display.
# scripts/test-windows.sh [--shots folder]: also plays a game at 96, 144 and 192 dpi and takes a
# screenshot of each window, and of the installer's pages.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64 xvfb \
  x11-utils openbox imagemagick nsis xdotool osslsigncode softhsm2 libengine-pkcs11-openssl \
  fonts-noto-cjk fonts-wine fonttools

shots=""
[ "${1:-}" = "--shots" ] && shots=${2:-build/windows/screenshots}

# A German and a Japanese locale on the machine, for the tests of the Windows user's language:
# wine takes the user's language from it.
. scripts/lib/locales.sh
ensure_locales de_DE ja_JP

cmake --preset windows
cmake --build --preset windows
# The wine loader the build found for its tests.
wine=$(sed -n 's/^NUMERAK_WINE:FILEPATH=//p' build/windows/CMakeCache.txt)

export WINEPREFIX=$PWD/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. scripts/lib/display.sh
# A screen of 192 dpi is a large one: at that scale the About window's place needs its room.
if [ -n "$shots" ]; then start_display 2048x1536; else start_display; fi
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
# Chinese, Japanese and Korean drawn as a Windows of those languages draws them, behind the face
# of the interface (tests/win32/link_cjk_face.py).
/usr/bin/python3 tests/win32/link_cjk_face.py . "$WINEPREFIX/drive_c/windows/Fonts"

status=0
ctest --preset windows || status=$?

if [ -n "$shots" ]; then
  # A game at each display scale Numerak supports: 96, 144 and 192 dpi (100, 150 and 200 %).
  mkdir -p "$shots"
  app=build/windows/app
  for dpi in 96 144 192; do
    suffix=""
    [ "$dpi" = 96 ] || suffix="-${dpi}dpi"
    (cd "$app" && ../../../tests/win32/at_dpi.sh "$dpi" "$wine" ../tests/win32/numerak_smoke_driver.exe \
      numerak.exe --shots) |
      while read -r word name; do
        name=${name%$'\r'}  # the console of a Windows program ends its lines with CR LF
        if [ "$word" = SHOT ]; then
          sleep 0.7
          import -window root "$shots/$name$suffix.png"
          echo "screenshot: $shots/$name$suffix.png"
        fi
      done
  done

  # The installer's pages, installing into a fresh prefix of its own with the keyboard.
  wineserver -k 2>/dev/null || true
  scratch=$(mktemp -d)
  (
    export WINEPREFIX=$scratch/prefix WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    shot() { sleep 1.5; import -window root "$shots/$1.png"; echo "screenshot: $shots/$1.png"; }
    (cd build/windows && rm -f numerak-*-win64.exe && cpack -G NSIS64 >/dev/null)
    "$wine" wineboot --init >/dev/null 2>&1
    wineserver -w
    "$wine" build/windows/numerak-*-win64.exe &
    setup=$(xdotool search --sync --onlyvisible --name "Numerak Setup" | head -n 1)
    shot installer-welcome
    xdotool windowactivate --sync "$setup"
    xdotool key Return && shot installer-mode
    xdotool key Return && shot installer-folder
    xdotool key Return && sleep 2 && shot installer-finish
    xdotool key space Return  # without starting the game
    wineserver -w
  )
  WINEPREFIX=$scratch/prefix wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
fi
exit $status
