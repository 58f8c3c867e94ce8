#!/usr/bin/env bash
# Bakes the content twice into fresh directories and fails when any byte differs.
set -euo pipefail
bake=$1
content=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bake" "$work/a" "$content" >/dev/null
"$bake" "$work/b" "$content" >/dev/null
count=$(ls "$work/a" | wc -l)
if ! diff -r "$work/a" "$work/b" >/dev/null; then
  echo "the bake wrote different bytes on two runs:"
  diff -rq "$work/a" "$work/b" || true
  exit 1
fi
echo "$count files, the same bytes on both runs"
