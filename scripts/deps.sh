#!/usr/bin/env bash
# Installs the Debian packages Numerak needs to build, run and test, where they are missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config dpkg-dev
  qt6-base-dev libgl-dev
  libgtest-dev googletest
  fonts-liberation2 gettext
  qt6-translations-l10n fonts-noto-cjk
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "deps: installing ${missing[*]} needs root" >&2; exit 1; }
  as_root=(sudo)
fi
echo "deps: installing ${missing[*]}"
. "$(dirname "$0")/lib/apt_wait.sh"
apt_wait "${as_root[@]}" apt-get update -q
apt_wait "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
