#!/usr/bin/env bash
# The package check names each system file of a project that no listed package provides, and
# fails; CMake's own modules, which the listed cmake package brings, go unnamed.
set -uo pipefail
top=$1
out=$("$top/scripts/check_deps.sh" "$top/tests/scripts/deps_fixture")
status=$?
echo "$out"
[ $status -eq 77 ] && exit 77
fail() { echo "FAILED: $*"; exit 1; }
[ $status -eq 1 ] || fail "exit status $status, wanted 1"
grep -qx '  /usr/bin/kvr-absent-tool: owned by no package (named at .*/deps_fixture/CMakeLists.txt:7)' <<<"$out" \
  || fail "the imported target's file is not named"
grep -qx '  /usr/lib/kvr-absent/libabsent.so: owned by no package (found as KVR_ABSENT_LIBRARY)' <<<"$out" \
  || fail "the cached find result is not named"
[ "$(grep -c '^  /' <<<"$out")" -eq 2 ] || fail "named something else too"
grep -q 'configure failed' <<<"$out" && fail "the fixture's configure should succeed"
exit 0
