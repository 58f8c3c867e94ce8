#!/usr/bin/env bash
# Runs ctest with the given arguments. Under CI (CI=true) a test that skipped fails the run as
# well, named: a check that skips (a tool missing, a GTEST_SKIP) has silently stopped checking.
#   scripts/ctest_strict.sh CTEST_ARGUMENTS...
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"${CTEST:-ctest}" "$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
if [ "${CI:-}" = true ]; then
  # ctest's summary lists them: "The following tests did not run:", then "  N - name (Skipped)".
  skipped=$(sed -n '/^The following tests did not run:/,/^[^[:space:]]/p' "$log" |
    sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p')
  if [ -n "$skipped" ]; then
    echo "ctest_strict: skipped, which CI counts as failed: $(paste -sd ' ' <<<"$skipped")"
    [ "$status" -ne 0 ] || status=1
  fi
fi
exit "$status"
