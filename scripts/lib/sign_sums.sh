# sign_sums FILE: writes FILE.minisig, FILE signed with the minisign key NUMERAK_MINISIGN_KEY, its
# password the first line of the file NUMERAK_MINISIGN_PASSWORD_FILE (none for a key made without
# one), which minisign reads on its input. Its trusted comment is dated SOURCE_DATE_EPOCH, and
# minisign's signatures are deterministic, so one release's signature is the same bytes however
# often it is made.
sign_sums() {
  local file=$1
  local comment
  comment=$(printf 'timestamp:%s\tfile:%s' "${SOURCE_DATE_EPOCH:-0}" "$(basename "$file")")
  minisign -S -s "$NUMERAK_MINISIGN_KEY" -m "$file" -t "$comment" \
    <"${NUMERAK_MINISIGN_PASSWORD_FILE:-/dev/null}" >/dev/null
}
