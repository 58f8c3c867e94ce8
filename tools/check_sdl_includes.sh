#!/usr/bin/env bash
# Fails when a file outside src/platform/sdl includes an SDL header.
top=${1:-.}
hits=$(grep -rnE '#\s*include\s*[<"]SDL' "$top/src" "$top/tools" "$top/tests" "$top/bench" "$top/fuzz" 2>/dev/null \
  | grep -v "^$top/src/platform/sdl/")
if [ -n "$hits" ]; then
  echo "SDL headers included outside src/platform/sdl:"
  echo "$hits"
  exit 1
fi
echo "no SDL header outside src/platform/sdl"
