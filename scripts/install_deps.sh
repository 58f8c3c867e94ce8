#!/usr/bin/env bash
# Installs the Debian packages the build, the content bake and the tests need, when missing.
#   --list     prints the packages, one a line (scripts/check_deps.sh reads them)
#   --missing  prints those not installed yet, one a line, and installs nothing
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libpng-dev libjpeg-dev libstb-dev libfltk1.3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang xvfb xauth strace linux-perf
  xdotool x11-utils x11-apps netpbm openbox
  # Mesa's GL drawn in software: the window test's GL renderer under the virtual X server.
  libgl1-mesa-dri
  desktop-file-utils appstream lintian
  # The web build and its browser tests: the compiler, its JavaScript optimiser's parser and
  # the browser puppeteer-core drives. npm comes with the machine's nodejs when that has it.
  emscripten node-acorn chromium
)
command -v npm >/dev/null || packages+=(npm)

if [ "${1:-}" = --list ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ "${1:-}" = --missing ]; then
  [ ${#missing[@]} -eq 0 ] || printf '%s\n' "${missing[@]}"
  exit 0
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
