#!/usr/bin/env bash
# Installs what is missing, builds the game and its installer in Release, bakes the content and
# starts the game. Tests, benchmarks and fuzz targets are left to test.sh. With --web it builds
# the browser version instead and serves it on http://127.0.0.1:8000/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/summary.sh
mapfile -t missing < <(./scripts/install_deps.sh --missing)
./scripts/install_deps.sh
start=$SECONDS
if [ "${1:-}" = --web ]; then
  # The browser version: the native bake, then the page, served on this machine only.
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKVR_TESTS=OFF -DKVR_BENCH=OFF >/dev/null
  ninja -C build-release bake
  ./scripts/build_web.sh build-release/tools/bake/bake
  echo "play.sh: $(installed_text "${missing[@]}"); built in $(seconds_text $((SECONDS - start)))"
  echo "Open http://127.0.0.1:8000/ in a browser (Ctrl+C stops the server)"
  exec python3 -m http.server --bind 127.0.0.1 --directory build-web/game 8000
fi
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKVR_TESTS=OFF -DKVR_BENCH=OFF >/dev/null
ninja -C build-release game setup content
echo "play.sh: $(installed_text "${missing[@]}"); built in $(seconds_text $((SECONDS - start)))"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found. To run without a window:"
  echo "  build-release/game/game --headless --ticks 500 --shot 499:shot.png"
  exit 1
fi
exec build-release/game/game "$@"
