#!/usr/bin/env bash
# What the player sees: the windowed game's menu, read back from a virtual X server, is the
# headless game's frame of the same menu scaled by whole pixels into the window's middle, with
# black bars around it; at the start and after the window is resized to odd sizes.
#   window_picture.sh BUILD_GAME_DIR
set -euo pipefail
game_dir=$(cd "$1" && pwd)
for tool in xvfb-run xdotool xwininfo xwd xwdtopnm pngtopnm pamenlarge pnmpad pamcut pamdepth pamtopnm pnmtopng; do
  command -v $tool >/dev/null || { echo "no $tool: skipped"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
data=$scratch/data
mkdir "$data"
for f in "$game_dir"/*; do
  case $(basename "$f") in game|setup|log.txt|*.sav|kvr_playerdata.dat|game.lock|*.tmp|window.cfg|shot*.png) ;;
    *) ln -s "$f" "$data/" ;; esac
done
# The menu stands still once it is up: any frame after the first seconds is the same.
"$game_dir/game" --headless --data "$data" --ticks 300 --shot 299:"$scratch/menu.png" 2>/dev/null

# window size (after a resize when it is not the start's) | the frame in it (scale x y)
cases=(
  "720 960|3 0 0"
  "801 1001|3 40 20"
  "523 701|2 21 30"
  "1100 1000|3 190 20"
)
for c in "${cases[@]}"; do
  IFS='|' read -r size place <<<"$c"
  read -r w h <<<"$size"
  read -r scale x y <<<"$place"
  rm -f "$data/window.cfg" "$scratch/window.xwd" "$scratch/got.ppm"
  pngtopnm "$scratch/menu.png" | pamenlarge "$scale" |
    pnmpad -black -left "$x" -top "$y" -right $((w - x - 240 * scale)) \
      -bottom $((h - y - 320 * scale)) | pamtopnm >"$scratch/want.ppm"
  # Reads the window back until the menu is on it (the start is slow on a busy machine).
  ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 xvfb-run -a -s "-screen 0 1600x1200x24" \
    bash -c '"$1" --data "$2" --nosound --scale 3 >/dev/null 2>&1 & game=$!
      for i in $(seq 60); do
        sleep 1
        id=$(xdotool search --name "^3d Morvek$" 2>/dev/null | head -1) || continue
        [ -n "$id" ] || continue
        [ "$3 $4" = "720 960" ] || xdotool windowsize "$id" "$3" "$4"
        at=$(xwininfo -id "$id" | awk "/Absolute upper-left [XY]/ {printf \"%s \", \$4}")
        xwd -silent -root -out "$5/window.xwd" 2>/dev/null || continue
        xwdtopnm "$5/window.xwd" 2>/dev/null | pamcut $at "$3" "$4" 2>/dev/null | pamdepth 255 2>/dev/null |
          pamtopnm >"$5/got.ppm" 2>/dev/null || continue
        cmp -s "$5/got.ppm" "$5/want.ppm" && break
      done
      kill $game; wait $game || true' _ "$game_dir/game" "$data" "$w" "$h" "$scratch"
  [ -s "$scratch/got.ppm" ] || { echo "FAIL: no window read back ($size)"; exit 1; }
  if ! cmp -s "$scratch/got.ppm" "$scratch/want.ppm"; then
    keep=${TMPDIR:-/tmp}/window_picture_$$.png
    pnmtopng "$scratch/got.ppm" >"$keep"
    echo "FAIL: $size: $(cmp -l "$scratch/got.ppm" "$scratch/want.ppm" 2>&1 | wc -l) bytes differ from the scaled frame (window kept in $keep)"
    exit 1
  fi
done
echo "window picture is the frame scaled"
