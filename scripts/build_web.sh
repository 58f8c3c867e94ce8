#!/usr/bin/env bash
# Builds the browser version into build-web/game/ (static files any web server can host), with
# the content baked by the native bake program given (emscripten cannot run its own).
#   scripts/build_web.sh BAKE
set -euo pipefail
cd "$(dirname "$0")/.."
bake=$(realpath "$1")
# Debian's emscripten finds its JavaScript parser only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release -DKVR_WERROR=ON \
  -DKVR_BAKE="$bake" >/dev/null
ninja -C build-web
