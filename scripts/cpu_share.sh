#!/usr/bin/env bash
# What playing costs the machine: runs `game --demo` in a real window in a virtual X server for
# a while, sound going through SDL's disk driver into /dev/null, and prints the game's CPU
# share of one core (user + system time over the wall time it ran), and the X server's beside
# it, and what scaled the frame. A benchmark, not a test: the figure depends on the machine
# and on what else runs on it.
#   scripts/cpu_share.sh [--seconds N] [--scale N] [--perf FILE] [GAME]
#     --seconds N  how long the demo plays (120 by default)
#     --scale N    the window's whole scale (3 by default)
#     --perf FILE  also records where the game's time goes (perf record -g) into FILE, for
#                  `perf report -i FILE`
#     GAME         the game program (build-release/game/game by default); its folder is its data
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=120 scale=3 perf_out="" game=$top/build-release/game/game
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --scale) scale=$2; shift 2 ;;
    --perf) perf_out=$(realpath -m "$2"); shift 2 ;;
    -h|--help) sed -n '2,12s/^# \{0,1\}//p' "$0"; exit 0 ;;
    -*) echo "cpu_share: unknown option $1" >&2; exit 2 ;;
    *) game=$1; shift ;;
  esac
done
[[ $seconds =~ ^[1-9][0-9]*$ && $scale =~ ^[1-9][0-9]?$ ]] ||
  { echo "cpu_share: --seconds and --scale take whole numbers above 0" >&2; exit 2; }
[ -x "$game" ] || { echo "cpu_share: no game at $game (build it: ninja -C build-release game content)" >&2; exit 1; }
for tool in xvfb-run Xvfb; do
  command -v $tool >/dev/null || { echo "cpu_share: $tool is missing (scripts/install_deps.sh)" >&2; exit 1; }
done
[ -z "$perf_out" ] || command -v perf >/dev/null ||
  { echo "cpu_share: perf is missing (scripts/install_deps.sh)" >&2; exit 1; }

game_dir=$(cd "$(dirname "$game")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The demo plays from a scratch folder that links the data, so it writes nothing beside the build.
data=$scratch/data
mkdir "$data"
for f in "$game_dir"/*; do
  case $(basename "$f") in "$(basename "$game")"|setup|log.txt|*.sav|kvr_playerdata.dat|game.lock|*.tmp|window.cfg|shot*.png|demo|maps|maps-play) ;;
    *) ln -s "$f" "$data/" ;; esac
done

# Inside the virtual X server: start the game, let it play, read its and the server's times
# from /proc, stop it. Prints the game's clock ticks, the server's, and the wall time each was
# watched (the game from its start, the server from the game's start).
measure() {
  local game=$1 data=$2 seconds=$3 scale=$4 perf_out=$5
  local hz; hz=$(getconf CLK_TCK)
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null "$game" --data "$data" --demo --scale "$scale" \
    >/dev/null 2>"$data/../game.err" &
  local pid=$!
  # The X server this run talks to: the one whose command line names our display.
  local xvfb="" p
  for p in /proc/[0-9]*; do
    [ -O "$p" ] || continue
    if tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -q "^Xvfb $DISPLAY "; then xvfb=${p#/proc/}; break; fi
  done
  local recorder=""
  if [ -n "$perf_out" ]; then
    perf record -g -q -o "$perf_out" -p "$pid" >/dev/null 2>&1 &
    recorder=$!
  fi
  ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
  local x0=0; [ -z "$xvfb" ] || x0=$(ticks "$xvfb")
  local t0; t0=$(awk '{print int($1 * '"$hz"')}' /proc/uptime)
  sleep "$seconds"
  kill -0 "$pid" 2>/dev/null || { echo "cpu_share: the game stopped early" >&2; return 1; }
  local g; g=$(ticks "$pid")
  local x1=0; [ -z "$xvfb" ] || x1=$(ticks "$xvfb")
  local t1; t1=$(awk '{print int($1 * '"$hz"')}' /proc/uptime)
  # The game's time counts from its start, so the wall time does too.
  local start; start=$(awk '{print $22}' "/proc/$pid/stat")
  [ -z "$recorder" ] || { kill -INT "$recorder"; wait "$recorder" || true; }
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  echo "$g $((x1 - x0)) $((t1 - start)) $((t1 - t0))"
}

read -r game_ticks xvfb_ticks game_wall xvfb_wall < <(
  xvfb-run -a -s "-screen 0 $((240 * scale + 200))x$((320 * scale + 200))x24" bash -c "$(declare -f measure); measure \"\$@\"" _ \
    "$game" "$data" "$seconds" "$scale" "$perf_out")
[ -n "${game_wall:-}" ] && [ "$game_wall" -gt 0 ] || { echo "cpu_share: no measurement" >&2; exit 1; }
share() { awk -v t="$1" -v w="$2" 'BEGIN { printf "%.1f", (w > 0 ? 100 * t / w : 0) }'; }
echo "game --demo, window at scale $scale, $seconds s: $(share "$game_ticks" "$game_wall") % of one core" \
  "(Xvfb $(share "$xvfb_ticks" "$xvfb_wall") %)"
# Which way the frame reached the screen: a GL renderer says so when it starts (SDL_RENDER_DRIVER
# chooses one even when the processor draws its GL).
through=$(sed -n 's/^game: the window is scaled through //p' "$scratch/game.err")
[ -n "$through" ] || through="the game, into the window's own pixels"
echo "scaled by: $through"
[ -z "$perf_out" ] || echo "profile: perf report -i $perf_out"
