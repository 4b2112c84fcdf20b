#!/usr/bin/env bash
# Gives the screen-reader game a display and a session bus of its own, then plays it.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

# A display of its own: the first free number from a random start, so parallel runs never meet.
xvfb=
for _ in $(seq 20); do
  n=$((200 + RANDOM % 700))
  [ -e "/tmp/.X$n-lock" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  if kill -0 "$xvfb" 2>/dev/null && [ -S "/tmp/.X11-unix/X$n" ]; then export DISPLAY=":$n"; break; fi
  xvfb=
done
[ -n "$xvfb" ] || { echo "no display could be started" >&2; exit 1; }
trap 'kill $xvfb 2>/dev/null || true' EXIT

# Debian's own Python carries the accessibility bindings.
dbus-run-session -- /usr/bin/python3 "$here/screen_reader_play.py" "$program"
