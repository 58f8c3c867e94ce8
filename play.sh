#!/usr/bin/env bash
# Installs what is missing, builds the game in Release, bakes its content and starts it.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install_deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKVR_TESTS=OFF -DKVR_BENCH=OFF >/dev/null
ninja -C build-release
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found. To run without a window:"
  echo "  build-release/game/game --headless --ticks 500 --shot 499:shot.png"
  exit 1
fi
exec build-release/game/game "$@"
