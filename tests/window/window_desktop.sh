#!/usr/bin/env bash
# The game on a desktop with a window manager, in a virtual X server. Clicks as quick as a
# touchpad's tap (press and release with no pause between them) each land, twenty times in a
# row on the main menu's New Game and the New Game form's Cancel. Then the attract mode plays;
# when another window takes the focus, and again when the game's window is minimised, the
# picture stands still, dimmed with the PAUSED sign, and the title says so; back in front the
# game goes on. The session's tape shows the timer messages kept coming while away. With
# SDL_RENDER_DRIVER naming a GL driver, all of it holds with that renderer scaling the frame,
# as a graphics card does.
#   window_desktop.sh BUILD_GAME_DIR
set -euo pipefail
game_dir=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

if [ "${2:-}" != --inside ]; then
  for tool in xvfb-run openbox xdotool xwininfo xprop xwd xmessage xwdtopnm pngtopnm pamenlarge pamcut pamdepth pamtopnm; do
    command -v $tool >/dev/null || { echo "no $tool: skipped"; exit 77; }
  done
  source "$here/scratch_data.sh"
  # The two screens the clicks go between, as the headless game draws them, at scale 2.
  printf '100 stylus-down 182 193\n104 stylus-up\n' >"$scratch/newgame.txt"
  "$game_dir/game" --headless --data "$data" --ticks 300 --shot 299:"$scratch/menu.png" 2>/dev/null
  "$game_dir/game" --headless --data "$data" --ticks 300 --input "$scratch/newgame.txt" \
    --shot 299:"$scratch/newgame.png" 2>/dev/null
  for screen in menu newgame; do
    pngtopnm "$scratch/$screen.png" | pamenlarge 2 | pamtopnm >"$scratch/want_$screen.ppm"
  done
  # The X and D-Bus client libraries keep a few allocations to the end; they are not the game's.
  # The search for a free display starts at a random number, away from the other window tests
  # that start at the same moment.
  ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0 xvfb-run -a -n $((200 + RANDOM % 500)) \
    -s "-screen 0 1280x1024x24" \
    "$here/window_desktop.sh" "$game_dir" --inside "$scratch"
  exit
fi

scratch=$3
data=$scratch/data
game=
fail() {
  echo "FAIL: $*"
  [ -z "$game" ] || kill "$game" 2>/dev/null || true
  [ ! -s "$scratch/game.out" ] || sed 's/^/game: /' "$scratch/game.out"
  exit 1
}
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.2
done

start() {
  rm -f "$data/window.cfg"
  "$game_dir/game" --data "$data" --nosound --scale 2 "$@" >"$scratch/game.out" 2>&1 &
  game=$!
  id=
  for _ in $(seq 120); do
    id=$(xdotool search --name '^3d Morvek$' 2>/dev/null | head -1) || true
    if [ -n "$id" ]; then
      case ${SDL_RENDER_DRIVER:-software} in
        software) ! grep -q "scaled through" "$scratch/game.out" ||
          fail "GL drawn in software was taken unasked" ;;
        *) grep -q "^game: the window is scaled through $SDL_RENDER_DRIVER " "$scratch/game.out" ||
          fail "the frame does not go through $SDL_RENDER_DRIVER" ;;
      esac
      return 0
    fi
    sleep 0.5
  done
  fail "no window"
}
# The window's 480 x 640 picture into $scratch/$1.ppm.
grab() {
  local at
  at=$(xwininfo -id "$id" | awk '/Absolute upper-left [XY]/ {printf "%s ", $4}')
  xwd -silent -root -out "$scratch/screen.xwd" 2>/dev/null || return 1
  xwdtopnm "$scratch/screen.xwd" 2>/dev/null | pamcut $at 480 640 2>/dev/null |
    pamdepth 255 2>/dev/null | pamtopnm >"$scratch/$1.ppm" 2>/dev/null
}
# Waits (30 s at most) until the window shows the headless picture of screen $1.
shows() {
  for _ in $(seq 120); do
    grab got && cmp -s "$scratch/got.ppm" "$scratch/want_$1.ppm" && return 0
    sleep 0.25
  done
  return 1
}
# Waits (10 s at most) until the window's title is $1.
titled() {
  for _ in $(seq 40); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && return 0
    sleep 0.25
  done
  return 1
}
# True when the picture changes within $1 seconds.
moves() {
  grab before
  for _ in $(seq "$1"); do
    sleep 1
    grab now
    cmp -s "$scratch/before.ppm" "$scratch/now.ppm" || return 0
  done
  return 1
}
# Ends the game by Ctrl+Q in its window: the one shutdown, exit status 0.
quit() {
  xdotool windowactivate --sync "$id" key ctrl+q
  wait "$game" || fail "the game ended with status $?"
  game=
}

# Twenty quick clicks each way. A layout point (x, y) is window pixel (2x + 1, 2y + 1).
start
shows menu || fail "the menu never showed"
for i in $(seq 20); do
  xdotool mousemove --window "$id" 365 387 click 1
  shows newgame || fail "click $i on New Game was lost"
  xdotool mousemove --window "$id" 353 483 click 1
  shows menu || fail "click $i on Cancel was lost"
done
quit

# Away and back, twice: the focus taken by another window, then the window minimised.
start --demo --record "$scratch/demo.tape"
moves 90 || fail "the attract mode never moved"
xdotool windowactivate --sync "$id"
# Another window that takes the focus as it opens.
xmessage -title elsewhere elsewhere >/dev/null 2>&1 &
other=$!
for away in focus minimise; do
  if [ $away = focus ]; then
    other_id=
    for _ in $(seq 40); do
      other_id=$(xdotool search --name '^elsewhere$' 2>/dev/null | head -1) || true
      [ -n "$other_id" ] && break
      sleep 0.25
    done
    [ -n "$other_id" ] || fail "the other window never opened"
    xdotool windowactivate "$other_id"
  else
    xdotool windowminimize "$id"
  fi
  titled "3d Morvek (paused)" || fail "$away: the title does not say paused"
  if [ $away = focus ]; then
    # The picture stands still, and the P of the sign is white in its middle.
    sleep 0.5
    moves 3 && fail "$away: the game moved while away"
    [ "$(pamcut 101 293 1 1 "$scratch/now.ppm" | pamtopnm -plain | tail -1 | xargs)" = "255 255 255" ] ||
      fail "$away: no PAUSED sign"
  else
    sleep 3
  fi
  xdotool windowactivate "$id"
  titled "3d Morvek" || fail "$away: the title still says paused after the return"
  moves 30 || fail "$away: the game did not go on after the return"
done
kill $other
quit

# The tape: each record a tag byte and its fields (D 8 bytes, K 3, C 16, the others none).
# A is the window leaving the front, F its return, T a timer message.
read -r leaves returns timers < <(od -An -v -tu1 "$scratch/demo.tape" | awk '
  { for (i = 1; i <= NF; i++) b[n++] = $i }
  END {
    size[68] = 8; size[75] = 3; size[67] = 16
    for (at = 12; at < n; at += 1 + size[b[at]]) {
      if (b[at] == 65) { away = 1; leaves++ }
      else if (b[at] == 70) { away = 0; returns++ }
      else if (b[at] == 84 && away) timers++
    }
    print leaves + 0, returns + 0, timers + 0
  }')
[ "$leaves $returns" = "2 2" ] || fail "the tape holds $leaves leavings and $returns returns, not 2 and 2"
# Over 6 s away: at least one timer message a 20 ms timer would send in 2 s.
[ "$timers" -ge 100 ] || fail "only $timers timer messages came while away"
echo "quick clicks land; the game pauses away from the front and goes on in front"
