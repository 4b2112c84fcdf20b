#!/usr/bin/env bash
# sign_exe.sh <program> <name> <time>: signs a Windows program in place with Authenticode, as
# the release signs numerak.exe, the uninstaller and the installer. <name> is what the file is
# published as; <time>, in seconds since 1970, is the signing time (the commit's), so that a
# signed release is reproducible too.
#
# The key, from the environment; with none, the program stays unsigned:
#   NUMERAK_SIGN_PKCS12    a .p12 file with the key and its certificates;
#   NUMERAK_SIGN_PKCS11    or a PKCS#11 URI of a key on a token (its module from the URI's
#                          module-path, else p11-kit's proxy), with its certificate chain in
#                          NUMERAK_SIGN_CERTS (PEM);
#   NUMERAK_SIGN_PASSWORD_FILE  a file whose first line is the .p12's password or the token's
#                          PIN (none: an empty one). The password itself is never taken from the
#                          environment, where every program started alongside would have it;
#   NUMERAK_SIGN_TIMESTAMP a timestamp server's URL (RFC 3161), optional.
# NUMERAK_SIGNATURES names a folder of detached signatures, <name>.p7s: a signing run writes
# them there, and a run with no key attaches them (scripts/release.sh --check does, to show that
# the unsigned build and the published signatures give the signed release byte for byte).
set -euo pipefail
program=$1 name=$2 time=$3
signatures=${NUMERAK_SIGNATURES:-}

if [ -z "${NUMERAK_SIGN_PKCS12:-}" ] && [ -z "${NUMERAK_SIGN_PKCS11:-}" ]; then
  if [ -n "$signatures" ] && [ -f "$signatures/$name.p7s" ]; then
    rm -f "$program.signed"
    # It checks the result against the system's authorities and says so when they do not know
    # the signer (a private one, a test's); the file it writes is the signed program all the same,
    # and --check compares it byte for byte with the release.
    osslsigncode attach-signature -sigin "$signatures/$name.p7s" -in "$program" -out "$program.signed" \
      >/dev/null 2>&1 || [ -s "$program.signed" ]
    mv "$program.signed" "$program"
  fi
  exit 0
fi

if [ -n "${NUMERAK_SIGN_PASSWORD+set}" ]; then
  echo "sign: the password goes in a file named by NUMERAK_SIGN_PASSWORD_FILE, not in the environment" >&2
  exit 1
fi
password=""
if [ -n "${NUMERAK_SIGN_PASSWORD_FILE:-}" ]; then
  [ -r "$NUMERAK_SIGN_PASSWORD_FILE" ] || { echo "sign: cannot read $NUMERAK_SIGN_PASSWORD_FILE" >&2; exit 1; }
  IFS= read -r password <"$NUMERAK_SIGN_PASSWORD_FILE" || true
fi
key=()
if [ -n "${NUMERAK_SIGN_PKCS12:-}" ]; then
  key=(-pkcs12 "$NUMERAK_SIGN_PKCS12")
else
  [ -n "${NUMERAK_SIGN_CERTS:-}" ] || { echo "sign: NUMERAK_SIGN_PKCS11 needs NUMERAK_SIGN_CERTS" >&2; exit 1; }
  module=$(sed -n 's/.*[?&]module-path=\([^&]*\).*/\1/p' <<<"$NUMERAK_SIGN_PKCS11")
  # OpenSSL's PKCS#11 engine (libengine-pkcs11-openssl), found by its name.
  key=(-pkcs11module "${module:-$(find /usr/lib -name p11-kit-proxy.so -print -quit)}"
       -certs "$NUMERAK_SIGN_CERTS" -key "${NUMERAK_SIGN_PKCS11%%\?*}")
fi
stamp=()
[ -z "${NUMERAK_SIGN_TIMESTAMP:-}" ] || stamp=(-ts "$NUMERAK_SIGN_TIMESTAMP")
sign() {
  osslsigncode sign "${key[@]}" "$@" "${stamp[@]}" -h sha256 -n Numerak -time "$time" \
    -in "$program" -out "$program.signed" >/dev/null
}
rm -f "$program.signed"
# The password goes through a pipe, not the command line, where any user could read it. A key
# with none is read without one: osslsigncode takes an empty -readpass for a failure to read.
if [ -n "$password" ]; then sign -readpass <(printf '%s' "$password"); else sign; fi
mv "$program.signed" "$program"
if [ -n "$signatures" ]; then
  mkdir -p "$signatures"
  rm -f "$signatures/$name.p7s"
  osslsigncode extract-signature -in "$program" -out "$signatures/$name.p7s" >/dev/null
fi
