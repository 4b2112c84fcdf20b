#!/usr/bin/env bash
# Builds the Windows installer with CPack, installs Numerak with it silently in a fresh wine prefix,
# checks what it put in place, uninstalls silently and checks that nothing of it is left:
# check_installer.sh <build folder> <wine> <numerak_installed_check.exe>. Needs a display.
set -euo pipefail
build=$1 wine=$2 check=$3
cd "$build"
rm -f numerak-*-win64.exe
cpack -G NSIS64 >/dev/null
installer=$PWD/$(ls numerak-*-win64.exe)
echo "installer: $installer, $(stat -c %s "$installer") bytes"

# A prefix of its own, and wine's menu builder kept from writing desktop files into the real home.
scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
"$wine" wineboot --init >/dev/null 2>&1
wineserver -w

echo "install: $(basename "$installer") /S"
"$wine" "$installer" /S
wineserver -w
"$wine" "$check" installed

echo "uninstall: Uninstall.exe /S"
"$wine" 'C:\Program Files\Numerak\Uninstall.exe' /S
wineserver -w  # the uninstaller runs on from a copy of itself
"$wine" "$check" removed
