#!/usr/bin/env bash
# Runs a Windows program under wine with the screen at the given DPI, as a player's scaling
# setting puts it: tests/win32/at_dpi.sh <dpi> <wine> <program> [arguments]. The program is told
# the DPI to expect in NUMERAK_EXPECT_DPI. The prefix's setting goes back to 96 afterwards.
set -euo pipefail
dpi=$1 wine=$2
shift 2
key='HKCU\Control Panel\Desktop'
"$wine" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
trap '"$wine" reg delete "$key" /v LogPixels /f >/dev/null 2>&1 || true' EXIT
NUMERAK_EXPECT_DPI=$dpi "$wine" "$@"
