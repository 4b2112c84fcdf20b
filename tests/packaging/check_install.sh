#!/usr/bin/env bash
# Installs the build into a staging root and checks what lands where, as a package would.
set -euo pipefail
build=$1
stage=$2
rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

status=0
for f in usr/games/numerak \
         usr/share/man/man6/numerak.6.gz \
         usr/share/doc/numerak/copyright \
         usr/share/doc/numerak/changelog.gz \
         usr/share/applications/numerak.desktop \
         usr/share/icons/hicolor/16x16/apps/numerak.png \
         usr/share/icons/hicolor/32x32/apps/numerak.png \
         usr/share/icons/hicolor/48x48/apps/numerak.png \
         usr/share/metainfo/io.github.numerak.Numerak.metainfo.xml; do
  [ -f "$stage/$f" ] || { echo "missing: /$f"; status=1; }
done
[ -x "$stage/usr/games/numerak" ] || { echo "not executable: /usr/games/numerak"; status=1; }
for size in 16 32 48; do
  file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/numerak.png" | grep -q "$size x $size" ||
    { echo "icon ${size}: wrong size"; status=1; }
done
desktop-file-validate "$stage/usr/share/applications/numerak.desktop" || status=1
appstreamcli validate --no-net "$stage/usr/share/metainfo/io.github.numerak.Numerak.metainfo.xml" >/dev/null || status=1
[ $status -eq 0 ] && echo "installed files in place and valid"
exit $status
