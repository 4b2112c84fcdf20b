#!/usr/bin/env bash
# A signed release hands the keys' passwords to the programs that sign and to nothing else:
# scripts/release.sh --check runs on a small commit of its own scripts, with stand-ins for the
# build tools (cmake, CPack and the makensis it runs, npm, em-config, dpkg-query, apt-get) and for
# the signers (osslsigncode, minisign). Each stand-in fails when a password is in its environment
# or in that of any process above it (where /proc/<pid>/environ shows it to every program of the
# user); the build tools, CPack aside, must not even be told of a key; npm must not run the
# packages' install scripts; and the signers must be handed their passwords all the same. The
# Authenticode password comes in the environment, the minisign one in a file. The password's file
# is the owner's alone and gone afterwards, and the record of the tools is among the checksums.
#   check_release_passwords.sh <source folder>
set -euo pipefail
src=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
version=9.8.7

# The commit released: the release's scripts, and what they read of the tree.
tree=$work/tree
mkdir -p "$tree/scripts/lib" "$tree/app/web"
cp "$src/scripts/release.sh" "$src/scripts/deps.sh" "$tree/scripts/"
cp "$src"/scripts/lib/* "$tree/scripts/lib/"
cp "$src/app/web/package-lock.json" "$tree/app/web/"
echo "project(numerak VERSION $version LANGUAGES CXX)" >"$tree/CMakeLists.txt"
git -C "$tree" init -q
git -C "$tree" add -A
git -C "$tree" -c user.name=Numerak -c user.email=numerak@localhost commit -q -m "A release"

printf '%s\n' "Authenticode-pa55 word" "minisign-pa55 word" >"$work/passwords"
mkdir "$work/keys"
: >"$work/keys/codesign.p12"
: >"$work/keys/numerak.key"
sed -n 2p "$work/passwords" >"$work/keys/minisign.password"

mkdir "$work/bin"
cat >"$work/bin/standin" <<EOF
#!/usr/bin/env bash
set -euo pipefail
tool=\$(basename "\$0")
work=$work
version=$version
EOF
cat >>"$work/bin/standin" <<'EOF'
fail() { echo "FAIL $tool: $*" | tee -a "$work/log" >&2; exit 1; }
# With the shell's builtins alone: the release runs these many times.
mapfile -t passwords <"$work/passwords"
pid=$$
while [ "$pid" -gt 1 ]; do
  environ=()
  mapfile -d '' environ 2>/dev/null <"/proc/$pid/environ" || true
  for entry in "${environ[@]}"; do
    for password in "${passwords[@]}"; do
      [[ "$entry" != *"$password"* ]] || fail "a password is in the environment of $(cat "/proc/$pid/comm") ($pid)"
    done
  done
  while IFS=$':\t' read -r field value; do [ "$field" != PPid ] || pid=$value; done <"/proc/$pid/status"
done
told=""
for name in $(compgen -e); do
  case $name in NUMERAK_SIGN_* | NUMERAK_MINISIGN_*) told+="$name " ;; esac
done
case $tool in
  cpack | makensis | osslsigncode) ;;
  *) [ -z "$told" ] || fail "it is told of a key: $told" ;;
esac
# option <name> <arguments...>: the value that follows the option.
option() { local name=$1; shift; while [ $# -gt 1 ]; do [ "$1" != "$name" ] || { echo "$2"; return; }; shift; done; }
case $tool in
  dpkg-query) echo "install ok installed" ;;
  apt-get) fail "nothing is installed here" ;;
  em-config) echo "$work/emscripten" ;;
  npm)
    [ "${1:-}" != --version ] || echo 0
    [ "${1:-}" != ci ] || [[ " $* " == *" --ignore-scripts "* ]] || fail "npm ci runs the packages' install scripts"
    ;;
  cmake)
    case "${1:-}" in
      --version) echo "cmake version 0" ;;
      --install) mkdir -p "$4" && echo page >"$4/index.html" ;;
      -S) mkdir -p "$(option -B "$@")" ;;
    esac
    ;;
  cpack)
    echo "cpack told: $told" >>"$work/log"
    if [ "${1:-}" = -G ]; then
      echo package >"numerak_${version}_amd64.deb"
    else
      # numerak.exe signed as CPack stages it, the installer as makensis finalizes it.
      echo program >numerak.exe
      bash "../numerak-$version/scripts/lib/sign_exe.sh" numerak.exe numerak.exe 1700000000
      cp numerak.exe "numerak-$version-win64.zip"
      makensis
    fi
    ;;
  makensis)
    echo installer >"numerak-$version-win64.exe"
    bash "../numerak-$version/scripts/lib/sign_exe.sh" "numerak-$version-win64.exe" "numerak-$version-win64.exe" 1700000000
    echo "password file: ${NUMERAK_SIGN_PASSWORD_FILE:-}" >>"$work/log"
    if [ -n "${NUMERAK_SIGN_PASSWORD_FILE:-}" ] &&
       [ "$(stat -c %a "${NUMERAK_SIGN_PASSWORD_FILE%/*}" "$NUMERAK_SIGN_PASSWORD_FILE")" != $'700\n600' ]; then
      fail "the password's file or its folder is open to others"
    fi
    ;;
  osslsigncode)
    in=$(option -in "$@") out=$(option -out "$@")
    case $1 in
      sign)
        [ "$(cat "$(option -readpass "$@")")" = "$(sed -n 1p "$work/passwords")" ] ||
          fail "it is not handed the key's password"
        { cat "$in"; echo signed; } >"$out"
        echo "osslsigncode signed $(basename "$in")" >>"$work/log"
        ;;
      extract-signature) echo signature >"$out" ;;
      attach-signature) { cat "$in"; echo signed; } >"$out" ;;
    esac
    ;;
  minisign)
    IFS= read -r password || true
    [ "$password" = "$(sed -n 2p "$work/passwords")" ] || fail "it is not handed the key's password"
    echo signature >"$(option -m "$@").minisig"
    echo "minisign signed" >>"$work/log"
    ;;
esac
EOF
chmod +x "$work/bin/standin"
for tool in dpkg-query apt-get em-config npm cmake cpack makensis osslsigncode minisign; do
  ln -s standin "$work/bin/$tool"
done

status=0
out=$(cd "$work" && PATH=$work/bin:$PATH NUMERAK_SIGN_PKCS12=keys/codesign.p12 \
  NUMERAK_SIGN_PASSWORD="$(sed -n 1p passwords)" NUMERAK_MINISIGN_KEY=keys/numerak.key \
  NUMERAK_MINISIGN_PASSWORD_FILE=keys/minisign.password "$tree/scripts/release.sh" --check </dev/null 2>&1) ||
  status=$?
! grep -q FAIL "$work/log" 2>/dev/null || fail "$(grep -m 1 FAIL "$work/log")"
[ "$status" -eq 0 ] || fail "the release failed: $out"
grep -q "every artifact is reproducible" <<<"$out" || fail "the two builds differ: $out"
signed=$(grep -c "osslsigncode signed" "$work/log" || true)
[ "$signed" -eq 2 ] || fail "osslsigncode signed $signed programs, not numerak.exe and the installer"
[ "$(grep -c "minisign signed" "$work/log" || true)" -eq 2 ] || fail "minisign did not sign both builds' checksums"
[ "$(grep "cpack told:" "$work/log" | sed -n '3,4p' | sort -u)" = "cpack told: " ] ||
  fail "the unsigned build is told of the key: $(grep "cpack told:" "$work/log")"
password_file=$(sed -n 's/^password file: //p' "$work/log" | head -n 1)
if [ -z "$password_file" ] || [ -e "$password_file" ]; then fail "the password's file is left: '$password_file'"; fi
grep -q "  BUILDINFO$" "$tree/dist/SHA256SUMS" || fail "BUILDINFO is not in SHA256SUMS"
echo "passwords: only osslsigncode and minisign are handed them, nothing is told in the second build, none is left"
