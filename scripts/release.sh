#!/usr/bin/env bash
# Makes a release of the commit checked out, every artifact built from a clean copy of it into
# dist/, with their SHA256SUMS:
#   numerak_<v>_amd64.deb, numerak-<v>-win64.exe, numerak-<v>-win64.zip, numerak-<v>-web.zip
#   (the site) and numerak-<v>.tar.gz (the source), and BUILDINFO, the tools they were built
#   with (scripts/lib/buildinfo.sh). Given a minisign key (NUMERAK_MINISIGN_KEY),
#   SHA256SUMS.minisig signs the checksums. Given an Authenticode key (NUMERAK_SIGN_PKCS12 or
#   NUMERAK_SIGN_PKCS11: scripts/lib/sign_exe.sh says how), numerak.exe, the uninstaller and the
#   installer are signed, and their detached signatures are published in dist/authenticode/.
#   A key's password is taken from NUMERAK_MINISIGN_PASSWORD or NUMERAK_SIGN_PASSWORD, else from
#   the first line of the file NUMERAK_MINISIGN_PASSWORD_FILE or NUMERAK_SIGN_PASSWORD_FILE names,
#   else asked for on the terminal.
# scripts/release.sh --check also builds everything a second time, in another folder and from
# files of another date, and fails if any artifact differs from the first. A signed release's
# second build is made unsigned, with the first one's signatures attached.
# Installs what it needs, as scripts/test.sh does.
set -euo pipefail

# The keys' passwords go to the programs that sign and to nothing else the release runs: no
# compiler, no npm package, no installer builder has them in its environment. A password handed
# in the environment is taken out of it by starting the script again without it, the passwords
# on a pipe: unset alone would leave it in this process's /proc/<pid>/environ, which every program
# of the same user may read, those the release starts among them.
if [ -n "${NUMERAK_SIGN_PASSWORD+set}${NUMERAK_MINISIGN_PASSWORD+set}" ]; then
  handed=${NUMERAK_SIGN_PASSWORD+:$NUMERAK_SIGN_PASSWORD}$'\n'${NUMERAK_MINISIGN_PASSWORD+:$NUMERAK_MINISIGN_PASSWORD}
  unset NUMERAK_SIGN_PASSWORD NUMERAK_MINISIGN_PASSWORD
  NUMERAK_RELEASE_PASSWORDS_FD=3 exec "$BASH" "$0" "$@" 3<<<"$handed"
fi
handed_sign="" handed_minisign=""
if [ "${NUMERAK_RELEASE_PASSWORDS_FD:-}" = 3 ]; then
  { IFS= read -r handed_sign; IFS= read -r handed_minisign; } <&3 2>/dev/null || true
  exec 3<&-
fi
unset NUMERAK_RELEASE_PASSWORDS_FD
check=""
case "${1:-}" in
  "") ;;
  --check) check=yes ;;
  *) echo "usage: scripts/release.sh [--check]" >&2; exit 2 ;;
esac

# Each password the release takes is written to a file in a folder of its own (mode 0700, gone
# when the release ends), which sign_sums reads here and sign_exe.sh in CPack's run alone. Key
# and password files are named relative to where the release is started.
secrets=$(mktemp -d)
trap 'rm -rf "$secrets"' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
# take_password <key> <handed> <file variable>: the key's password, handed over on the pipe, else
# the first line of the file the variable names, else asked for on a terminal, into $secrets/<key>.
take_password() {
  local key=$1 handed=$2 file=${!3:-} password=""
  if [ -n "$handed" ]; then
    password=${handed#:}
  elif [ -n "$file" ]; then
    [ -r "$file" ] || { echo "release: cannot read $3 ($file)" >&2; exit 1; }
    IFS= read -r password <"$file" || true
  elif [ -t 0 ]; then
    read -r -s -p "release: the password of the $key key (none: Enter): " password || true
    echo >&2
  fi
  (umask 077 && printf '%s\n' "$password" >"$secrets/$key")
}
# What sign_exe.sh is told, in CPack's environment alone: the key, and the file with its password.
sign_env=() sign_deps=()
if [ -n "${NUMERAK_SIGN_PKCS12:-}${NUMERAK_SIGN_PKCS11:-}" ]; then
  sign_deps=(osslsigncode ${NUMERAK_SIGN_PKCS11:+libengine-pkcs11-openssl})
  take_password Authenticode "$handed_sign" NUMERAK_SIGN_PASSWORD_FILE
  for file in NUMERAK_SIGN_PKCS12 NUMERAK_SIGN_CERTS; do
    [ -z "${!file:-}" ] || printf -v "$file" '%s' "$(realpath "${!file}")"
  done
  for name in NUMERAK_SIGN_PKCS12 NUMERAK_SIGN_PKCS11 NUMERAK_SIGN_CERTS NUMERAK_SIGN_TIMESTAMP; do
    [ -z "${!name:-}" ] || sign_env+=("$name=${!name}")
  done
  sign_env+=("NUMERAK_SIGN_PASSWORD_FILE=$secrets/Authenticode")
fi
if [ -n "${NUMERAK_MINISIGN_KEY:-}" ]; then
  NUMERAK_MINISIGN_KEY=$(realpath "$NUMERAK_MINISIGN_KEY")
  [ -r "$NUMERAK_MINISIGN_KEY" ] || { echo "release: no minisign key at $NUMERAK_MINISIGN_KEY" >&2; exit 1; }
  take_password minisign "$handed_minisign" NUMERAK_MINISIGN_PASSWORD_FILE
fi
unset handed_sign handed_minisign NUMERAK_SIGN_PASSWORD_FILE NUMERAK_MINISIGN_PASSWORD_FILE \
  NUMERAK_SIGN_PKCS12 NUMERAK_SIGN_PKCS11 NUMERAK_SIGN_CERTS NUMERAK_SIGN_TIMESTAMP
# sign_sums, a function of this script, is told in its variables, which no other program sees.
if [ -n "${NUMERAK_MINISIGN_KEY:-}" ]; then
  export -n NUMERAK_MINISIGN_KEY
  NUMERAK_MINISIGN_PASSWORD_FILE=$secrets/minisign
fi

# Paths given above are the caller's; from here on, the script works in the checkout.
cd "$(dirname "$0")/.."
root=$PWD
scripts/deps.sh git g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis \
  emscripten binaryen fonttools python3-brotli python3 minisign
[ ${#sign_deps[@]} -eq 0 ] || scripts/deps.sh "${sign_deps[@]}"
. scripts/lib/sign_sums.sh
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
  (cd "$work/windows" && env "${sign_env[@]}" NUMERAK_SIGNATURES="${signatures:-$out/authenticode}" cpack >/dev/null)
  cp "$work/windows/numerak-$version-win64.exe" "$work/windows/numerak-$version-win64.zip" "$out/"

  echo "release: the site"
  npm ci --ignore-scripts --prefix "$src/app/web" --no-audit --no-fund --loglevel=error >/dev/null  # the pinned bundler
  NODE_PATH=/usr/share/nodejs cmake -S "$src" -B "$work/web" -G Ninja \
    --toolchain "$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DNUMERAK_FRONTEND=web -DNUMERAK_TESTS=OFF >/dev/null
  NODE_PATH=/usr/share/nodejs cmake --build "$work/web" --target numerak_site >/dev/null
  cmake --install "$work/web" --prefix "$work/site" >/dev/null
  python3 "$root/scripts/lib/stable_zip.py" "$out/numerak-$version-web.zip" "$work/site"

  # What it was built with, listed in the checksums and signed with them.
  bash "$root/scripts/lib/buildinfo.sh" "$src" "$commit" >"$out/BUILDINFO"
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
# Unsigned, and nothing of the Authenticode key left: not its name, not its password.
sign_env=()
rm -f "$secrets/Authenticode"
[ ! -d dist/authenticode ] || signatures=$root/dist/authenticode
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
