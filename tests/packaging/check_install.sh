#!/usr/bin/env bash
# Installs the build into a staging root and checks what lands where, as a package would, and
# that the menu entry and the metadata validate with nothing printed.
set -euo pipefail
build=$1
stage=$2
id=io.github.numerak.Numerak
rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

status=0
fail() { echo "$*"; status=1; }
for f in usr/games/numerak \
         usr/share/man/man6/numerak.6.gz \
         usr/share/doc/numerak/copyright \
         usr/share/doc/numerak/changelog.gz \
         usr/share/applications/$id.desktop \
         usr/share/metainfo/$id.metainfo.xml; do
  [ -f "$stage/$f" ] || fail "missing: /$f"
done
[ -x "$stage/usr/games/numerak" ] || fail "not executable: /usr/games/numerak"
# The program links Qt, whose licence asks for a prominent notice.
grep -q "Qt 6 libraries" "$stage/usr/share/doc/numerak/copyright" &&
  grep -q "/usr/share/common-licenses/LGPL-3" "$stage/usr/share/doc/numerak/copyright" ||
  fail "the copyright file gives no notice of Qt under LGPL-3"
for size in 16 32 48 64 128 256 512; do
  icon=$stage/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  file "$icon" 2>&1 | grep -q "$size x $size" || fail "icon ${size}: missing or of the wrong size"
done
entry=$stage/usr/share/applications/$id.desktop
grep -qx "Exec=numerak" "$entry" || fail "the menu entry does not start numerak"
grep -qx "Icon=$id" "$entry" || fail "the menu entry does not name the icon $id"
# In every language of po/: the menu entry's texts, and the metadata's, which lists them.
for language in $(cat "$(dirname "$0")/../../po/LINGUAS"); do
  grep -q "^Comment\[$language\]=" "$entry" || fail "the menu entry has no $language comment"
  grep -q "<summary xml:lang=\"$language\">" "$stage/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metadata has no $language summary"
  grep -q "<lang>$language</lang>" "$stage/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metadata does not list $language"
done
said=$(desktop-file-validate "$entry" 2>&1) || true
[ -z "$said" ] || fail "desktop-file-validate: $said"
metainfo=$stage/usr/share/metainfo/$id.metainfo.xml
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metadata does not launch $id.desktop"
# Pedantic: nothing but its note on the capital letter of the app id.
said=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1 | grep -E "^[EWIP]:" |
       grep -v "cid-contains-uppercase-letter" || true)
[ -z "$said" ] || fail "appstreamcli: $said"
[ $status -eq 0 ] && echo "installed files in place and valid"
exit $status
