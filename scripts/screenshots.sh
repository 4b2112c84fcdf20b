#!/usr/bin/env bash
# Plays Numerak under a virtual display with a window manager and takes a screenshot of each
# window and state: scripts/screenshots.sh [program] [folder]. Needs Xvfb, openbox, xdotool and
# ImageMagick (scripts/deps.sh xvfb openbox xdotool imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/release/app/numerak}
out=${2:-build/screenshots}
mkdir -p "$out"

. scripts/lib/display.sh
start_display
trap stop_display EXIT
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
sleep 1  # let the window manager settle before the first window maps

shot() { sleep 0.6; import -window root "$out/$1.png"; echo "screenshot: $out/$1.png"; }
# The active window alone, with its frame: the pictures in the README.
window_shot() {
  sleep 0.6
  import -frame -window "$(xdotool getactivewindow)" "$out/$1.png"
  echo "screenshot: $out/$1.png"
}
key() { xdotool key --clearmodifiers "$@"; sleep 0.3; }
# Brings the newest window whose title matches this pattern to the front and gives it the keyboard, as a player
# clicking on it would.
focus() {
  local w
  w=$(xdotool search --sync --onlyvisible --name "^$1\$" | tail -n 1)
  xdotool windowactivate --sync "$w" 2>/dev/null || xdotool windowfocus --sync "$w"
  sleep 0.2
}
# Clicks a point of the game window's client area, in pixels: below the menu bar.
menubar=${MENUBAR_HEIGHT:-19}
click() { xdotool mousemove --window "$game" "$1" $(($2 + menubar)) click 1; sleep 0.3; }

"$program" &
pid=$!
sleep 1.5
focus "Select New game"
shot 01-opening-message
key Return
game=$(xdotool search --sync --onlyvisible --name '^Numerak$' | head -n 1)
focus Numerak
shot 02-choosing

click 380 112          # Easy
click 380 184          # Enter
shot 03-playing-easy

click 28 137; xdotool type 1; click 60 137; xdotool type 2; click 92 137; xdotool type 3; click 124 137; xdotool type 4
key alt+g
focus sorry
shot 04-sorry
key Return
for turn in $(seq 8); do
  focus Numerak; key alt+g; focus sorry
  [ "$turn" = 5 ] && shot 05-sorry-with-turns-counted
  key Return
  [ "$turn" = 5 ] && { focus Numerak; window_shot game-window; }
done
focus Numerak
key alt+g
focus "out of turns"
shot 06-out-of-turns-question
key Return
focus Numerak
shot 07-out-of-turns

click 97 -10           # the Help menu, in the menu bar above the client area
shot 08-help-menu
key Down Return        # About
focus "About Numerak"
shot 09-about
window_shot about-window
key alt+s
sleep 0.5
focus Numerak
shot 10-system-info-unavailable
key Return
focus "About Numerak"
key Escape
focus Numerak
key alt+q
focus "Are you sure\\?"
shot 11-quit-question
key Return
status=0
wait "$pid" || status=$?
echo "numerak exited with status $status"
