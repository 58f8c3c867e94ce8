#!/usr/bin/env bash
# Soak: random play for MINUTES of virtual time in the headless game (build it with
# -DKVR_SANITIZE=ON for AddressSanitizer, its leak check and UndefinedBehaviorSanitizer).
# Runs take turns: random taps anywhere and random presses of the bound keys, then the
# autopilot's attract mode (--demo), which keeps its own files in data/demo; when a run ends
# the game (the Exit button, a lost campaign, the demo's end) the next starts on its files. Fails on a crash,
# a sanitizer report, a non-zero exit or any log line the game should not write.
#   soak.sh BUILD_GAME_DIR MINUTES [SEED]
set -euo pipefail
game_dir=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
minutes=$2
seed=${3:-$RANDOM}
RANDOM=$seed
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
data=$scratch/data
mkdir "$data"
for f in "$game_dir"/*; do
  case $(basename "$f") in
    game|setup|log.txt|*.sav|kvr_playerdata.dat|game.lock|*.tmp|kvr.ini) ;;
    *) ln -s "$f" "$data/" ;;
  esac
done
cp "$game_dir/kvr.ini" "$data/kvr.ini"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:exitcode=86
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Lines the game writes in ordinary play; anything else in the log is a fault.
expected='^(Player entity not found!)$'

keys=(13 32 37 38 39 40 69 87)
total_ticks=$((minutes * 60 * 50))  # 20 ms timer messages
done_ticks=0 runs=0
while [ $done_ticks -lt $total_ticks ]; do
  left=$((total_ticks - done_ticks))
  ticks=$((left < 7500 ? left : 7500))
  # Bursts of a few taps and presses, then some seconds of holding keys down.
  tick=100
  {
    # Into the campaign first (Play, a new one, Normal, past the briefing), so most of the
    # time is spent in a map; with progress kept, Play goes straight in.
    cat "$here/new_campaign.input"
    while [ $tick -lt $ticks ]; do
      case $((RANDOM % 4)) in
        0) echo "$tick stylus-down $((RANDOM % 240)) $((RANDOM % 320))"
           echo "$((tick + 2 + RANDOM % 6)) stylus-up" ;;
        *) k=${keys[$((RANDOM % ${#keys[@]}))]}
           echo "$tick down $k"; echo "$((tick + 1 + RANDOM % 120)) up $k" ;;
      esac
      tick=$((tick + 1 + RANDOM % 40))
    done
  } >"$scratch/input.txt"
  status=0
  # Every other run the autopilot plays instead of the random input.
  if [ $((runs % 2)) -eq 1 ]; then
    driver=(--demo)
  else
    driver=(--input "$scratch/input.txt")
  fi
  # The tape counts the frames and replays a failure exactly.
  "$game_dir/game" --headless --data "$data" --ticks $ticks "${driver[@]}" \
    --record "$scratch/run.tape" >"$scratch/out.txt" 2>&1 || status=$?
  runs=$((runs + 1))
  if [ $status -ne 0 ] || grep -q 'Sanitizer\|runtime error' "$scratch/out.txt"; then
    cp "$scratch/input.txt" "$scratch/run.tape" "${TMPDIR:-/tmp}/"
    echo "FAIL: run $runs (seed $seed) exited with $status; input.txt and run.tape kept in ${TMPDIR:-/tmp}"
    head -40 "$scratch/out.txt"
    exit 1
  fi
  # The demo keeps its own player files (and log) in data/demo.
  for log in "$data/log.txt" "$data/demo/log.txt"; do
    if [ -f "$log" ] && grep -Evq "$expected" "$log"; then
      echo "FAIL: run $runs (seed $seed) logged:"; grep -Ev "$expected" "$log" | sort | uniq -c
      exit 1
    fi
  done
  # The run may have ended early (Exit pressed): only the timer messages it took count.
  taken=$(grep -o 'recorded [0-9]* frames' "$scratch/out.txt" | cut -d' ' -f2 || true)
  done_ticks=$((done_ticks + ${taken:-$ticks}))
done
echo "soak: $minutes minutes of virtual time in $runs runs, every other one by the autopilot (seed $seed): no crash, no sanitizer report, no unexpected log line"
