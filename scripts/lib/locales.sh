# ensure_locales <name>...: the C library's locales of these names (de_DE, ja_JP) on the machine,
# generated where they are missing, for the tests that run in a language of the player's.
ensure_locales() {
  local l as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  for l in "$@"; do
    locale -a 2>/dev/null | grep -qx "$l.utf8" && continue
    scripts/deps.sh locales
    "${as_root[@]}" sed -i "s/^# *\($l.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -qx "$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
    "${as_root[@]}" locale-gen >/dev/null
  done
}
