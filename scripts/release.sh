#!/usr/bin/env bash
# Makes a release of the commit checked out, every artifact built from a clean copy of it into
# dist/, with their SHA256SUMS:
#   numerak_<v>_amd64.deb, numerak-<v>-win64.exe, numerak-<v>-win64.zip, numerak-<v>-web.zip
#   (the site) and numerak-<v>.tar.gz (the source). Given a minisign key (NUMERAK_MINISIGN_KEY,
#   its password in NUMERAK_MINISIGN_PASSWORD), SHA256SUMS.minisig signs the checksums.
#   Given an Authenticode key (NUMERAK_SIGN_PKCS12 or NUMERAK_SIGN_PKCS11: scripts/lib/sign_exe.sh
#   says how), numerak.exe, the uninstaller and the installer are signed, and their detached
#   signatures are published in dist/authenticode/.
# scripts/release.sh --check also builds everything a second time, in another folder and from
# files of another date, and fails if any artifact differs from the first. A signed release's
# second build is made unsigned, with the first one's signatures attached.
# Installs what it needs, as scripts/test.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
check=""
case "${1:-}" in
  "") ;;
  --check) check=yes ;;
  *) echo "usage: scripts/release.sh [--check]" >&2; exit 2 ;;
esac

scripts/deps.sh git g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis \
  emscripten binaryen fonttools python3-brotli python3 minisign
. scripts/lib/sign_sums.sh
if [ -n "${NUMERAK_MINISIGN_KEY:-}" ]; then
  NUMERAK_MINISIGN_KEY=$(realpath "$NUMERAK_MINISIGN_KEY")
  [ -r "$NUMERAK_MINISIGN_KEY" ] || { echo "release: no minisign key at $NUMERAK_MINISIGN_KEY" >&2; exit 1; }
fi
if [ -n "${NUMERAK_SIGN_PKCS12:-}${NUMERAK_SIGN_PKCS11:-}" ]; then
  scripts/deps.sh osslsigncode ${NUMERAK_SIGN_PKCS11:+libengine-pkcs11-openssl}
  for file in NUMERAK_SIGN_PKCS12 NUMERAK_SIGN_CERTS; do
    [ -z "${!file:-}" ] || export "$file=$(realpath "${!file}")"
  done
fi
command -v node >/dev/null || scripts/deps.sh nodejs
command -v npm >/dev/null || scripts/deps.sh npm

commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: the work tree has changes that are not committed; the release is of $commit as committed" >&2
fi
version=$(sed -n 's/^project(numerak VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
# Every date inside the artifacts is the commit's, and nothing depends on the builder's locale,
# time zone or umask.
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export TZ=UTC LC_ALL=C.UTF-8
umask 022

# Builds every artifact of the commit in <folder> and puts them into <folder>/dist. With "later",
# the copy's files carry the time of the copy instead of the commit's.
build_all() {
  local work=$1 dates=${2:-}
  local src=$work/numerak-$version out=$work/dist
  rm -rf "$work"
  mkdir -p "$work" "$out"
  git archive --format=tar --prefix="numerak-$version/" "$commit" | tar -C "$work" -x ${dates:+-m} -f -

  echo "release: the source, in $work"
  git archive --format=tar.gz --prefix="numerak-$version/" -o "$out/numerak-$version.tar.gz" "$commit"

  echo "release: the .deb"
  cmake -S "$src" -B "$work/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUMERAK_TESTS=OFF >/dev/null
  cmake --build "$work/linux" >/dev/null
  (cd "$work/linux" && cpack -G DEB >/dev/null)
  cp "$work/linux/numerak_${version}_amd64.deb" "$out/"

  echo "release: numerak.exe, its installer and its zip"
  cmake -S "$src" -B "$work/windows" -G Ninja --toolchain "$src/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DNUMERAK_FRONTEND=win32 -DNUMERAK_TESTS=OFF >/dev/null
  cmake --build "$work/windows" >/dev/null
  (cd "$work/windows" && NUMERAK_SIGNATURES=${signatures:-$out/authenticode} cpack >/dev/null)
  cp "$work/windows/numerak-$version-win64.exe" "$work/windows/numerak-$version-win64.zip" "$out/"

  echo "release: the site"
  npm ci --ignore-scripts --prefix "$src/app/web" --no-audit --no-fund --loglevel=error >/dev/null  # the pinned bundler
  NODE_PATH=/usr/share/nodejs cmake -S "$src" -B "$work/web" -G Ninja \
    --toolchain "$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DNUMERAK_FRONTEND=web -DNUMERAK_TESTS=OFF >/dev/null
  NODE_PATH=/usr/share/nodejs cmake --build "$work/web" --target numerak_site >/dev/null
  cmake --install "$work/web" --prefix "$work/site" >/dev/null
  python3 "$root/scripts/lib/stable_zip.py" "$out/numerak-$version-web.zip" "$work/site"

  # A build that attached published signatures publishes them as the signed build did.
  [ -z "${signatures:-}" ] || cp -r "$signatures" "$out/authenticode"
  (cd "$out" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs sha256sum -- >"$work/SHA256SUMS")
  mv "$work/SHA256SUMS" "$out/"
  if [ -n "${NUMERAK_MINISIGN_KEY:-}" ]; then
    sign_sums "$out/SHA256SUMS"
  fi
}

build_all "$root/build/release-of-commit"
rm -rf dist
cp -r build/release-of-commit/dist dist
echo "release: Numerak $version ($commit) in dist/:"
(cd dist && find . -type f -printf '  %P, %s bytes\n' | LC_ALL=C sort)

[ -n "$check" ] || exit 0
echo "release: building it all again, in another folder, from files dated now"
if [ -d dist/authenticode ]; then
  unset NUMERAK_SIGN_PKCS12 NUMERAK_SIGN_PKCS11
  signatures=$root/dist/authenticode
fi
build_all "$root/build/release-check/built/again" later
status=0
for f in dist/*; do
  name=$(basename "$f")
  [ -f "$f" ] || continue
  if cmp -s "$f" "build/release-check/built/again/dist/$name"; then
    echo "ok   $name: the same bytes"
  else
    echo "FAIL $name differs between the two builds"
    status=1
  fi
done
[ $status -eq 0 ] && echo "release: every artifact is reproducible"
exit $status
