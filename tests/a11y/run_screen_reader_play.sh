#!/usr/bin/env bash
# Gives the screen-reader game a display and a session bus of its own, then plays it.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/lib/display.sh
. "$here/../../scripts/lib/display.sh"

start_display
trap stop_display EXIT

# Debian's own Python carries the accessibility bindings.
dbus-run-session -- /usr/bin/python3 "$here/screen_reader_play.py" "$program"
