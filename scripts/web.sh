#!/usr/bin/env bash
# Builds Numerak for the browser into build/web/ and serves it at http://127.0.0.1:8000/:
#   scripts/web.sh           build, then serve on the loopback interface (Ctrl+C stops)
#   scripts/web.sh build     build only
# build/web/ is the whole site: copy it to any static web host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh emscripten binaryen fonttools python3-brotli
command -v node >/dev/null || scripts/deps.sh nodejs
command -v npm >/dev/null || scripts/deps.sh npm
npm ci --ignore-scripts --prefix app/web --no-audit --no-fund --loglevel=error  # the page's bundler
cmake --preset web >/dev/null
cmake --build --preset web --target numerak_site
rm -rf build/web
cmake --install build/wasm --prefix build/web >/dev/null
echo "web: the site is in build/web ($(du -sh build/web | cut -f1))"
[ "${1:-}" = build ] && exit 0
exec node scripts/serve.mjs build/web 8000
