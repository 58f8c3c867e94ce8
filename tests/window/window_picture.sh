#!/usr/bin/env bash
# What the player sees: the windowed game's menu, read back from a virtual X server, is the
# headless game's frame of the same menu scaled by whole pixels into the window's middle, with
# black bars around it; at the start and after the window is resized to odd sizes. A click on
# the scaled menu's Options button opens the options, as a touch there does headless. The same
# holds when a renderer's GL scales the frame, as a graphics card does (here Mesa's, in
# software, which the game takes only when SDL_RENDER_DRIVER names it).
#   window_picture.sh BUILD_GAME_DIR
set -euo pipefail
game_dir=$(cd "$1" && pwd)
for tool in xvfb-run xdotool xwininfo xwd xwdtopnm pngtopnm pamenlarge pnmpad pamcut pamdepth pamtopnm pnmtopng; do
  command -v $tool >/dev/null || { echo "no $tool: skipped"; exit 77; }
done
source "$(dirname "$0")/scratch_data.sh"
# The menu and the options stand still once they are up: any later frame is the same.
printf '100 stylus-down 180 222\n102 stylus-up\n' >"$scratch/options.txt"
"$game_dir/game" --headless --data "$data" --ticks 300 --shot 299:"$scratch/menu.png" 2>/dev/null
"$game_dir/game" --headless --data "$data" --ticks 300 --input "$scratch/options.txt" \
  --shot 299:"$scratch/options.png" 2>/dev/null
rm -f "$data/window.cfg"

# window size (after a resize when it is not the start's) | the frame in it (scale x y) | click
# | the renderer SDL_RENDER_DRIVER names (none: the game's own choice, the window's pixels here)
cases=(
  "720 960|3 0 0||"
  "801 1001|3 40 20||"
  "523 701|2 21 30|click|"
  "1100 1000|3 190 20|click|"
  "720 960|3 0 0||opengl"
  "523 701|2 21 30|click|opengl"
)
for c in "${cases[@]}"; do
  IFS='|' read -r size place click driver <<<"$c"
  read -r w h <<<"$size"
  read -r scale x y <<<"$place"
  rm -f "$data/window.cfg" "$scratch/window.xwd" "$scratch/got.ppm" "$scratch/said.txt"
  for screen in menu options; do
    pngtopnm "$scratch/$screen.png" | pamenlarge "$scale" |
      pnmpad -black -left "$x" -top "$y" -right $((w - x - 240 * scale)) \
        -bottom $((h - y - 320 * scale)) | pamtopnm >"$scratch/want_$screen.ppm"
  done
  # The middle of the window pixels that show the Options button's layout point 180,222.
  at_x=$((x + 180 * scale + scale / 2)) at_y=$((y + 222 * scale + scale / 2))
  # Reads the window back until the wanted screen is on it (the start is slow on a busy machine).
  env -u SDL_RENDER_DRIVER ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" \
    ${driver:+SDL_RENDER_DRIVER=$driver} xvfb-run -a -s "-screen 0 1600x1200x24" \
    bash -c '"$1" --data "$2" --nosound --scale 3 >/dev/null 2>"$5/said.txt" & game=$!
      id=
      grab() {
        local at
        at=$(xwininfo -id "$id" | awk "/Absolute upper-left [XY]/ {printf \"%s \", \$4}")
        xwd -silent -root -out "$5/window.xwd" 2>/dev/null || return 1
        xwdtopnm "$5/window.xwd" 2>/dev/null | pamcut $at "$3" "$4" 2>/dev/null |
          pamdepth 255 2>/dev/null | pamtopnm >"$5/got.ppm" 2>/dev/null
      }
      shows() {
        for i in $(seq 60); do
          sleep 1
          [ -n "$id" ] || id=$(xdotool search --name "^3d Morvek$" 2>/dev/null | head -1) || true
          [ -n "$id" ] || continue
          [ "$3 $4" = "720 960" ] || xdotool windowsize "$id" "$3" "$4"
          grab "$@" || continue
          cmp -s "$5/got.ppm" "$5/want_$7.ppm" && return 0
        done
        return 1
      }
      if shows "$@" menu && [ -n "$6" ]; then
        xdotool mousemove --window "$id" ${6} click 1
        shows "$@" options
      fi
      kill $game; wait $game || true' _ "$game_dir/game" "$data" "$w" "$h" "$scratch" \
      "${click:+$at_x $at_y}"
  if [ -n "$driver" ] && ! grep -q "^game: the window is scaled through $driver " "$scratch/said.txt"; then
    echo "FAIL: $size: the frame did not go through $driver: $(cat "$scratch/said.txt")"
    exit 1
  fi
  if [ -z "$driver" ] && grep -q "scaled through" "$scratch/said.txt"; then
    echo "FAIL: $size: GL drawn in software was taken unasked: $(cat "$scratch/said.txt")"
    exit 1
  fi
  want=menu
  [ -z "$click" ] || want=options
  [ -s "$scratch/got.ppm" ] || { echo "FAIL: no window read back ($size)"; exit 1; }
  if ! cmp -s "$scratch/got.ppm" "$scratch/want_$want.ppm"; then
    keep=${TMPDIR:-/tmp}/window_picture_$$.png
    pnmtopng "$scratch/got.ppm" >"$keep"
    echo "FAIL: $size: $(cmp -l "$scratch/got.ppm" "$scratch/want_$want.ppm" 2>&1 | wc -l) bytes differ from the scaled $want (window kept in $keep)"
    exit 1
  fi
done
echo "window picture is the frame scaled"
