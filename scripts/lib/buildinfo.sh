#!/usr/bin/env bash
# buildinfo.sh <source folder> <commit>: writes what a release of the commit is built with, as
# scripts/release.sh puts it beside SHA256SUMS (and so into them, and under their signature):
# the system, the Debian packages whose programs, libraries and data go into an artifact, the
# versions of the tools run from the PATH (they need not come from Debian), and the page's
# bundler with the hash of the lockfile that pins it. Whoever sets up the same and builds the
# same commit gets the same bytes; `diff` of this machine's record and a release's says what to
# change first when they do not. It names no folder and no time, so two builds of one commit
# on one machine write the same record.
set -euo pipefail
src=$1 commit=$2

# The toolchain of every artifact, in the order the release builds them: the .deb (g++, Qt,
# CPack's archives, strip), numerak.exe with its installer and zip (MinGW and its runtime, NSIS,
# osslsigncode), the site (emscripten, binaryen, node, the font subsetter and its compressor),
# the source archive and the checksums' signature.
packages=(
  g++ binutils qt6-base-dev cmake ninja-build dpkg-dev libarchive13 liblzma5 zlib1g gettext
  fonts-liberation2 python3
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix-runtime mingw-w64-x86-64-dev
  binutils-mingw-w64-x86-64 nsis nsis-common osslsigncode
  emscripten binaryen nodejs python3-fonttools python3-brotli
  git minisign
)
# g++ is a package of its name only; the compiler itself is in the one its program comes from.
compiler=$(command -v g++ || true)
if [ -n "$compiler" ]; then
  owner=$(dpkg-query -S "$(readlink -f "$compiler")" 2>/dev/null | cut -d: -f1 || true)
  [ -z "$owner" ] || packages+=("$owner")
fi
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | LC_ALL=C sort -u)

# field <name> <command...>: the command's first line of output, or "none" when it cannot run.
field() {
  local name=$1 line
  shift
  line=$("$@" 2>/dev/null | head -n 1) || true
  echo " $name: ${line:-none}"
}

version=$(sed -n 's/^project(numerak VERSION \([0-9.]*\) .*/\1/p' "$src/CMakeLists.txt")
system=$(sed -n 's/^PRETTY_NAME=//p' /etc/os-release | tr -d '"')
echo "Source: numerak $version"
echo "Commit: $commit"
echo "System: $system, $(dpkg --print-architecture)"
echo "Packages:"
# One question to dpkg for all of them (it answers none for a package it does not know).
{ dpkg-query -W -f='${db:Status-Status} ${binary:Package} ${Version}\n' "${packages[@]}" 2>/dev/null || true; } |
  awk -v wanted="${packages[*]}" '
    $1 == "installed" { name = $2; sub(/:.*/, "", name); found[name] = found[name] " " $2 " " $3 "\n" }
    END {
      n = split(wanted, w, " ")
      for (i = 1; i <= n; i++) printf "%s", (w[i] in found) ? found[w[i]] : " " w[i] " (not installed)\n"
    }'
echo "Tools:"
field cmake cmake --version
field ninja ninja --version
field python3 python3 --version
field node node --version
field npm npm --version
bundler=$(node -p 'require(process.argv[1]).packages["node_modules/esbuild"].version' \
          "$src/app/web/package-lock.json")
echo "Bundler: esbuild $bundler"
echo "Lockfiles:"
(cd "$src" && sha256sum app/web/package-lock.json | sed 's/^/ /')
