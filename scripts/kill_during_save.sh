#!/usr/bin/env bash
# Kills the headless game (SIGKILL) at random moments of a session that saves all the time
# (a new campaign, maps entered and left, the map state and its backup written and read, the
# options saved) and checks after every kill that no file the game keeps is torn and that the
# game starts again cleanly, continuing into the map from what was left.
#   kill_during_save.sh BUILD_GAME_DIR [KILLS]   (100 by default)
set -euo pipefail
game_dir=$(cd "$1" && pwd)
kills=${2:-100}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL after kill $kill: $*"; ls -l "$run_dir" | grep -v -- '->' || true; exit 1; }

# A folder holding the baked data, as the game's own folder.
data=$scratch/data
mkdir "$data"
for f in "$game_dir"/*; do
  case $(basename "$f") in
    game|setup|log.txt|*.sav|kvr_playerdata.dat|game.lock|*.tmp) ;;
    *) ln -s "$f" "$data/" ;;
  esac
done
rm -f "$data/kvr.ini"
cp "$game_dir/kvr.ini" "$data/kvr.ini"  # the game rewrites it: a copy, not a link

tap() { echo "$1 stylus-down $2 $3"; echo "$(($1 + 4)) stylus-up"; }
press() { echo "$1 down $2"; echo "$(($1 + 4)) up $2"; }
{
  tap 10 182 163; tap 20 64 241; tap 30 120 161; tap 70 120 296   # new campaign, into map1_1
  base=140
  for cycle in 1 2 3 4 5; do
    press $((base + 10)) 69                              # engine
    echo "$((base + 20)) down 38"; echo "$((base + 60)) up 38"
    press $((base + 70)) 32                              # a shot
    tap $((base + 80)) 216 300; press $((base + 130)) 13 # "Go to menu?" Yes: state saved
    if [ $cycle = 3 ]; then                              # the options saved on the way
      tap $((base + 460)) 182 223; tap $((base + 480)) 120 93; tap $((base + 500)) 120 289
      base=$((base + 80))
    fi
    tap $((base + 460)) 182 163                          # Play: continue, the state read
    base=$((base + 520))
  done
  echo "$base close"
} >"$scratch/session.txt"
session_ticks=$((140 + 5 * 520 + 80 + 20))

# The continue run after a kill: Play at once, a few seconds in the map, close.
printf '10 stylus-down 182 163\n14 stylus-up\n' >"$scratch/continue.txt"

# One undisturbed session gives the size of every file the game keeps.
run_dir=$scratch/reference
cp -r "$data" "$run_dir"
kill=0
start=$(date +%s%N)
"$game_dir/game" --headless --data "$run_dir" --ticks $session_ticks --input "$scratch/session.txt" \
  >/dev/null 2>&1 || fail "the undisturbed session failed"
session_ms=$((($(date +%s%N) - start) / 1000000))
declare -A size
for f in "$run_dir"/kvr.ini "$run_dir"/kvr_playerdata.dat "$run_dir"/*.sav; do
  [ -f "$f" ] || fail "the undisturbed session did not write $(basename "$f")"
  size[$(basename "$f")]=$(stat -c %s "$f")
done
[ "${size[kvr_playerdata.dat]}" = 696 ] || fail "player data of ${size[kvr_playerdata.dat]} bytes"
[ "${size[kvr.ini]}" = 120 ] || fail "settings of ${size[kvr.ini]} bytes"
log=$(cat "$run_dir/log.txt" 2>/dev/null || true)

in_write=0
run_dir=$scratch/run
cp -r "$data" "$run_dir"
for kill in $(seq 1 "$kills"); do
  # Back to a first start: only the player's files go.
  rm -f "$run_dir"/kvr_playerdata.dat "$run_dir"/*.sav "$run_dir"/*.tmp "$run_dir"/log.txt
  cp "$data/kvr.ini" "$run_dir/kvr.ini"
  "$game_dir/game" --headless --data "$run_dir" --ticks $session_ticks \
    --input "$scratch/session.txt" >/dev/null 2>&1 &
  pid=$!
  # Anywhere in the session: from the first menus to the last save.
  ms=$((RANDOM * 32768 + RANDOM))
  ms=$((ms % (session_ms + 1)))
  sleep "$((ms / 1000)).$(printf %03d $((ms % 1000)))"
  kill -KILL $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  compgen -G "$run_dir/*.tmp" >/dev/null && in_write=$((in_write + 1))
  for f in "$run_dir"/kvr.ini "$run_dir"/kvr_playerdata.dat "$run_dir"/*.sav; do
    [ -f "$f" ] || continue
    name=$(basename "$f")
    [ -n "${size[$name]:-}" ] || fail "$name was never written by the undisturbed session"
    [ "$(stat -c %s "$f")" = "${size[$name]}" ] || fail "$name is torn: $(stat -c %s "$f") bytes"
  done
  "$game_dir/game" --headless --data "$run_dir" --ticks 60 --input "$scratch/continue.txt" \
    >"$scratch/out.txt" 2>&1 || fail "the game did not start again: $(cat "$scratch/out.txt")"
  [ "$(cat "$run_dir/log.txt" 2>/dev/null || true)" = "$log" ] ||
    fail "the start after the kill logged: $(cat "$run_dir/log.txt")"
done
echo "kill_during_save: $kills kills in a session of ${session_ms} ms, $in_write inside an atomic write; no torn file, every restart clean"
