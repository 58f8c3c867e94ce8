#!/usr/bin/env bash
# The window's size and fullscreen state come back at the next start from window.cfg in the
# player's folder; a size no screen could show is not taken. Runs the windowed game under a
# virtual X server, driven by a short recorded session that ends by itself.
#   window_place.sh BUILD_GAME_DIR
set -euo pipefail
game_dir=$(cd "$1" && pwd)
command -v xvfb-run >/dev/null || { echo "no xvfb-run: skipped"; exit 77; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
data=$scratch/data
mkdir "$data"
for f in "$game_dir"/*; do
  case $(basename "$f") in game|setup|log.txt|*.sav|kvr_playerdata.dat|game.lock|*.tmp|window.cfg) ;;
    *) ln -s "$f" "$data/" ;; esac
done
"$game_dir/game" --headless --data "$data" --ticks 20 --record "$scratch/short.tape" 2>/dev/null
windowed() {
  # The X and D-Bus client libraries keep a few allocations to the end; they are not the game's.
  ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 xvfb-run -a -s "-screen 0 1280x1024x24" "$game_dir/game" --data "$data" --nosound \
    --replay "$scratch/short.tape" >/dev/null 2>&1
}
# before (empty: no file) | what must be remembered after the run
cases=(
  "|width 720 height 960 fullscreen 0"
  "width 480 height 640 fullscreen 0|width 480 height 640 fullscreen 0"
  "width 100000 height 640 fullscreen 1|width 720 height 960 fullscreen 1"
)
for c in "${cases[@]}"; do
  before=${c%%|*} want=${c#*|}
  rm -f "$data/window.cfg"
  [ -z "$before" ] || echo "$before" | tr ' ' '\n' | paste -d' ' - - >"$data/window.cfg"
  windowed || { echo "FAIL: the windowed run failed ($before)"; exit 1; }
  got=$(tr '\n' ' ' <"$data/window.cfg" | sed 's/ $//')
  [ "$got" = "$want" ] || { echo "FAIL: from '$before' the game kept '$got', not '$want'"; exit 1; }
done
echo "window place remembered"
