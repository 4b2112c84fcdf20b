# ensure_locales <name>...: the C library's locales of these names (de_DE, ja_JP) on the machine,
# generated where they are missing, for the tests that run in a language of the player's.
ensure_locales() {
  local l as_root=() missing=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  for l in "$@"; do
    locale -a 2>/dev/null | grep -qx "$l.utf8" || missing+=("$l")
  done
  [ ${#missing[@]} -eq 0 ] && return
  scripts/deps.sh locales
  for l in "${missing[@]}"; do
    "${as_root[@]}" sed -i "s/^# *\($l.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -qx "$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${as_root[@]}" locale-gen >/dev/null
}

# language_locales: a locale of the C library for each language the program has (po/LINGUAS), its
# own where it names a country (pt_BR), else the language's main one where the C library has it
# (de_DE), else its first (sv_FI).
language_locales() {
  local l
  scripts/deps.sh locales
  for l in $(cat po/LINGUAS); do
    case $l in
      *_*) echo "$l" ;;
      *) grep -qx "${l}_${l^^}.UTF-8 UTF-8" /usr/share/i18n/SUPPORTED && echo "${l}_${l^^}" ||
           grep -m1 -o "^${l}_[A-Z]*\.UTF-8 UTF-8" /usr/share/i18n/SUPPORTED | sed 's/\.UTF-8 UTF-8//' ;;
    esac
  done
}
