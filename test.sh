#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: plain (which includes the
# audio hand-off under ThreadSanitizer), then under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install_deps.sh
jobs=$(nproc)

echo "== plain build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_WERROR=ON >/dev/null
ninja -C build
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_SANITIZE=ON \
  -DKVR_BENCH=OFF -DKVR_WERROR=ON >/dev/null
ninja -C build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
