#!/usr/bin/env bash
# Installs what is missing, checks that it is all the configure needs, builds everything and runs
# every test: plain (which includes the audio hand-off under ThreadSanitizer), the browser version
# in chromium, then under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/summary.sh
mapfile -t missing < <(./scripts/install_deps.sh --missing)
./scripts/install_deps.sh
./scripts/check_deps.sh
jobs=$(nproc)

echo "== plain build and tests"
start=$SECONDS
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_WERROR=ON >/dev/null
ninja -C build
plain_build=$((SECONDS - start))
# Under CI a skipped test fails the run: a check that skips has stopped checking.
scripts/ctest_strict.sh --test-dir build --output-on-failure -j "$jobs"

echo "== web build and browser tests"
start=$SECONDS
./scripts/build_web.sh build/tools/bake/bake
web_build=$((SECONDS - start))
# puppeteer-core, pinned by tests/web/package-lock.json, drives Debian's chromium.
[ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] ||
  npm ci --prefix tests/web --ignore-scripts --no-audit --no-fund >/dev/null
node tests/web/run.js build-web/game build

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
start=$SECONDS
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_SANITIZE=ON \
  -DKVR_BENCH=OFF -DKVR_WERROR=ON >/dev/null
ninja -C build-asan
asan_build=$((SECONDS - start))
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  scripts/ctest_strict.sh --test-dir build-asan --output-on-failure -j "$jobs"

echo "test.sh: $(installed_text "${missing[@]}"); built in $(seconds_text $plain_build)" \
  "(plain), $(seconds_text $web_build) (web) and $(seconds_text $asan_build) (sanitizers); all tests passed, $(seconds_text $SECONDS) in all"
