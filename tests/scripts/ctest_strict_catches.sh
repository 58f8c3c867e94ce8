#!/usr/bin/env bash
# The strict test run passes skipped tests on a developer's machine and, under CI, fails the run
# and names each one, whether it skipped by its exit status or by GoogleTest's output.
set -uo pipefail
top=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*"; exit 1; }
"${CMAKE:-cmake}" -S "$top/tests/scripts/skips_fixture" -B "$scratch" >/dev/null || fail "configure"
CTEST=${CTEST:-ctest}
env -u CI "$top/scripts/ctest_strict.sh" --test-dir "$scratch" >"$scratch/plain.log" 2>&1 ||
  fail "a plain run with skips failed: $(cat "$scratch/plain.log")"
out=$(CI=true "$top/scripts/ctest_strict.sh" --test-dir "$scratch" 2>&1)
status=$?
echo "$out"
[ $status -eq 1 ] || fail "exit status $status under CI, wanted 1"
grep -qx 'ctest_strict: skipped, which CI counts as failed: skips_by_status skips_by_output' <<<"$out" ||
  fail "the skipped tests are not named"
exit 0
