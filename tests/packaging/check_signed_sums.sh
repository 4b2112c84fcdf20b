#!/usr/bin/env bash
# A release's SHA256SUMS signed with minisign, as scripts/release.sh signs it: the signature
# verifies with the public key, is the same bytes when made again, and fails for a changed byte.
#   check_signed_sums.sh <source folder>
set -euo pipefail
. "$1/scripts/lib/sign_sums.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export NUMERAK_MINISIGN_KEY=$work/numerak.key NUMERAK_MINISIGN_PASSWORD_FILE=$work/password SOURCE_DATE_EPOCH=1700000000
printf 'a password\n' >"$NUMERAK_MINISIGN_PASSWORD_FILE"
printf 'a password\na password\n' | minisign -G -p "$work/numerak.pub" -s "$NUMERAK_MINISIGN_KEY" >/dev/null
printf '%s  numerak-1.2.1-win64.zip\n' 0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef >"$work/SHA256SUMS"

sign_sums "$work/SHA256SUMS"
minisign -V -q -p "$work/numerak.pub" -m "$work/SHA256SUMS" || fail "the signature does not verify"
cp "$work/SHA256SUMS.minisig" "$work/first.minisig"
sign_sums "$work/SHA256SUMS"
cmp -s "$work/first.minisig" "$work/SHA256SUMS.minisig" || fail "signing again gave other bytes"
grep -q "timestamp:1700000000" "$work/SHA256SUMS.minisig" || fail "the signature is not dated by the release"

sed -i '1s/^0/1/' "$work/SHA256SUMS"  # one byte changed
if minisign -V -q -p "$work/numerak.pub" -m "$work/SHA256SUMS" 2>/dev/null; then fail "a changed file verifies"; fi
echo "signed checksums: verify, the same bytes again, a changed byte fails"
