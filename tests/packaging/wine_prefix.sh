# shellcheck shell=bash
# wine_prefix.sh, sourced by a test: a wine prefix of the test's own in a scratch folder ($scratch),
# wine's menu builder kept from writing desktop files into the real home, and both gone, with the
# prefix's wine server, when the test ends.
scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
end_wine_prefix() {
  wineserver -k 2>/dev/null || true
  rm -rf "$scratch"
}
trap end_wine_prefix EXIT
