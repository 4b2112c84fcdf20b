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

# shellcheck source=tests/packaging/wine_prefix.sh
. "$(dirname "$0")/wine_prefix.sh"
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
