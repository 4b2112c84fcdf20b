#!/usr/bin/env bash
# A release signed with Authenticode, by a throwaway authority made here: numerak.exe in the zip,
# the installer, and the uninstaller and the program the installer puts in place under wine all
# verify against it, and a file with one byte changed does not; a key on a PKCS#11 token
# (softhsm2) signs too; and the unsigned build with the published signatures attached is the
# signed release byte for byte: check_authenticode.sh <build folder> <wine>. Needs a display.
set -euo pipefail
build=$(realpath "$1") wine=$2
src=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tests/packaging/wine_prefix.sh
. "$(dirname "$0")/wine_prefix.sh"
# The build's own date, as scripts/release.sh gives it to CPack: the zips of two runs are then
# the same bytes.
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(sed -n 's/^set(CPACK_NUMERAK_SOURCE_DATE_EPOCH "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
status=0
ok() { echo "ok   $*"; }
fail() { echo "FAIL $*"; status=1; }
verifies() { osslsigncode verify -CAfile "$scratch/ca.pem" -in "$1" >/dev/null 2>&1; }
expect_signed() { if verifies "$2"; then ok "$1 verifies"; else fail "$1 does not verify"; fi; }
from_zip() { python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))' "$@"; }

# The authority and a code-signing certificate it issues.
cd "$scratch"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Throwaway CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Numerak Developers" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile signer.ext \
  -out signer.pem 2>/dev/null
openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -passout pass:throwaway -out signer.p12
printf 'throwaway\n' >signer.password
printf '4321\n' >token.pin

echo "signed with a .p12"
(cd "$build" && NUMERAK_SIGN_PKCS12=$scratch/signer.p12 NUMERAK_SIGN_PASSWORD_FILE=$scratch/signer.password \
   NUMERAK_SIGNATURES=$scratch/signatures cpack -B "$scratch/signed" >/dev/null)
installer=$(ls "$scratch"/signed/numerak-*-win64.exe)
zip=$(ls "$scratch"/signed/numerak-*-win64.zip)
from_zip "$zip" numerak.exe >zipped.exe
expect_signed "numerak.exe in the zip" zipped.exe
expect_signed "the installer" "$installer"
cp zipped.exe changed.exe
printf 'X' | dd of=changed.exe bs=1 seek=4096 conv=notrunc 2>/dev/null
if verifies changed.exe; then fail "numerak.exe with one byte changed verifies"; else ok "one byte changed: fails"; fi

"$wine" wineboot --init >/dev/null 2>&1
wineserver -w
"$wine" "$installer" /S
wineserver -w
installed=$WINEPREFIX/drive_c/Program\ Files/Numerak
expect_signed "the uninstaller the installer put in place" "$installed/Uninstall.exe"
expect_signed "numerak.exe the installer put in place" "$installed/numerak.exe"

echo "signed with a key on a PKCS#11 token"
mkdir tokens
export SOFTHSM2_CONF=$scratch/softhsm2.conf
echo "directories.tokendir = $scratch/tokens" >"$SOFTHSM2_CONF"
softhsm2-util --init-token --free --label numerak --pin 4321 --so-pin 87654321 >/dev/null
softhsm2-util --import signer.key --token numerak --label signer --id 01 --pin 4321 >/dev/null
cp "$build/app/numerak.exe" token.exe
NUMERAK_SIGN_PKCS11="pkcs11:token=numerak;object=signer;type=private?module-path=$(find /usr/lib -name libsofthsm2.so -print -quit)" \
  NUMERAK_SIGN_PASSWORD_FILE=$scratch/token.pin NUMERAK_SIGN_CERTS=$scratch/signer.pem \
  bash "$src/scripts/lib/sign_exe.sh" token.exe numerak.exe "$(date +%s)"
expect_signed "numerak.exe signed on the token" token.exe

echo "unsigned, with the published signatures attached"
(cd "$build" && NUMERAK_SIGNATURES=$scratch/signatures cpack -B "$scratch/attached" >/dev/null)
for f in "$installer" "$zip"; do
  if cmp -s "$f" "$scratch/attached/$(basename "$f")"; then ok "$(basename "$f") is the signed one"
  else fail "$(basename "$f") differs from the signed one"; fi
done
exit $status
