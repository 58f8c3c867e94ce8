#!/usr/bin/env bash
# Kills the headless game (SIGKILL) while it saves and checks after every kill that no file
# the game keeps is torn and that the game starts again cleanly, continuing from what was
# left. Three sessions take turns: the campaign (a new campaign, the first map entered and
# left again and again, the map state and its backup written and read, the options saved),
# and two on the proving ground where the craft takes a mission item (the X Bomb, then the
# neural link; the ship's keycard), each saving the player data at once, then leaves and
# re-enters the map. Half the kills fall at a random moment of the session; where strace is
# at hand, the other half are aimed into one save: the kernel delivers SIGKILL as the game
# makes a chosen system call (open, write, flush to storage, rename) of the temporary file
# of a chosen kind of save, at a chosen one of that session's saves of that kind.
#   kill_during_save.sh BUILD_GAME_DIR [KILLS]   (100 by default)
set -euo pipefail
game_dir=$(cd "$1" && pwd)
kills=${2:-100}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
kill=0
run_dir=
fail() { echo "FAIL after kill $kill ($session): $*"; ls -l "$run_dir" | grep -v -- '->' || true; exit 1; }
session=reference

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
to_menu() { tap "$1" 216 300; press $(($1 + 50)) 13; }  # "Go to menu?" Yes: the state saved
play() { tap "$1" 182 163; }

# The campaign: a new campaign into map1_1, then five times out to the menu and back in.
{
  tap 10 182 163; tap 20 64 241; tap 30 120 161; tap 70 120 296
  base=140
  for cycle in 1 2 3 4 5; do
    press $((base + 10)) 69                              # engine
    echo "$((base + 20)) down 38"; echo "$((base + 60)) up 38"
    press $((base + 70)) 32                              # a shot
    to_menu $((base + 80))
    if [ $cycle = 3 ]; then                              # the options saved on the way
      tap $((base + 460)) 182 223; tap $((base + 480)) 120 93; tap $((base + 500)) 120 289
      base=$((base + 80))
    fi
    play $((base + 460))                                 # Play: continue, the state read
    base=$((base + 520))
  done
  echo "$base close"
} >"$scratch/campaign.txt"
ticks_campaign=$((140 + 5 * 520 + 80 + 20))

# The proving ground from a lane's entry point: Play, the engine, the item taken on the way
# (the player data saved at once), out to the menu, back in, on for a while (the bomb's lane
# reaches the neural link, which saves again), out again.
{
  play 10; press 80 69
  to_menu 330
  play 460; press 540 69
  to_menu 700
  echo "800 close"
} >"$scratch/bomb.txt"
{
  play 10; press 80 69
  to_menu 330
  play 460
  to_menu 560
  echo "660 close"
} >"$scratch/keycard.txt"
ticks_bomb=820 ticks_keycard=680

# The player data a new campaign starts with, from the game itself; a lane's version of it
# stands at that lane's entry point of the proving ground.
mkdir "$scratch/fresh"
cp -r "$data/." "$scratch/fresh/"
{ tap 10 182 163; tap 20 64 241; echo "40 close"; } >"$scratch/new.txt"
"$game_dir/game" --headless --data "$scratch/fresh" --ticks 60 --input "$scratch/new.txt" \
  >/dev/null 2>&1 || fail "the new campaign failed"
[ -s "$scratch/fresh/kvr_playerdata.dat" ] || fail "the new campaign wrote no player data"
put_text() {  # FILE OFFSET FIELD_BYTES TEXT: a zero-padded text field
  { printf '%s' "$4"; head -c $(($3 - ${#4})) /dev/zero; } |
    dd of="$1" bs=1 seek="$2" count="$3" conv=notrunc status=none
}
for lane in bomb:bomb keycard:ship; do
  f=$scratch/player_${lane%%:*}.dat
  cp "$scratch/fresh/kvr_playerdata.dat" "$f"
  put_text "$f" 0 256 testgrounds.map
  put_text "$f" 516 64 "${lane#*:}"
  printf '\0' | dd of="$f" bs=1 seek=580 conv=notrunc status=none  # no place to restore
done

# A session's start: the baked data, the default options and the session's player data.
prepare() {  # SESSION DIR
  rm -f "$2"/kvr_playerdata.dat "$2"/*.sav "$2"/*.tmp "$2"/log.txt
  cp "$data/kvr.ini" "$2/kvr.ini"
  [ "$1" = campaign ] || cp "$scratch/player_$1.dat" "$2/kvr_playerdata.dat"
}
ticks_of() { local v=ticks_$1; echo "${!v}"; }

# One undisturbed run of each session gives its length, the size of every file it keeps,
# its log, and (under strace) how often it saves each file.
have_strace=0
command -v strace >/dev/null && have_strace=1
# The leak checker of a sanitizer build cannot work under a tracer and fails the run; leaks
# are the soak run's business.
traced() { ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" strace "$@"; }
declare -A size session_ms log saves
sessions=(campaign bomb keycard)
for session in "${sessions[@]}"; do
  run_dir=$scratch/reference_$session
  cp -r "$data" "$run_dir"
  prepare "$session" "$run_dir"
  start=$(date +%s%N)
  "$game_dir/game" --headless --data "$run_dir" --ticks "$(ticks_of "$session")" \
    --input "$scratch/$session.txt" >/dev/null 2>&1 || fail "the undisturbed session failed"
  session_ms[$session]=$((($(date +%s%N) - start) / 1000000))
  for f in "$run_dir"/kvr.ini "$run_dir"/kvr_playerdata.dat "$run_dir"/*.sav; do
    [ -f "$f" ] || fail "the undisturbed session did not write $(basename "$f")"
    size[$session/$(basename "$f")]=$(stat -c %s "$f")
  done
  [ "${size[$session/kvr_playerdata.dat]}" = 696 ] || fail "player data of ${size[$session/kvr_playerdata.dat]} bytes"
  [ "${size[$session/kvr.ini]}" = 120 ] || fail "settings of ${size[$session/kvr.ini]} bytes"
  log[$session]=$(cat "$run_dir/log.txt" 2>/dev/null || true)
  # The mission item must have been taken and kept: the X Bomb's and the keycard's flags.
  case $session in
    bomb) flag=687 ;;
    keycard) flag=684 ;;
    *) flag= ;;
  esac
  if [ -n "$flag" ]; then
    [ "$(od -An -tu1 -j$flag -N1 "$run_dir/kvr_playerdata.dat" | tr -d ' ')" = 1 ] ||
      fail "the session never took its mission item"
  fi
  if [ $have_strace = 1 ]; then
    prepare "$session" "$run_dir"
    traced -f -qq -o "$scratch/trace.txt" -e trace=rename,renameat,renameat2 \
      "$game_dir/game" --headless --data "$run_dir" --ticks "$(ticks_of "$session")" \
      --input "$scratch/$session.txt" >/dev/null 2>&1 || fail "the traced session failed"
    for f in "$run_dir"/kvr.ini "$run_dir"/kvr_playerdata.dat "$run_dir"/*.sav; do
      name=$(basename "$f")
      saves[$session/$name]=$(grep -c "\"$run_dir/$name.tmp\"" "$scratch/trace.txt" || true)
    done
  fi
done

# Where the kills fell. A random kill inside an atomic write leaves that file's temporary
# file behind; an aimed kill is counted by the save and the step it was aimed at. Aimed runs
# that end before their save came (a session saves a little differently under load) are
# not kills and are counted apart, as are random moments that came after the run ended.
declare -A landed
aimed=0 random_kills=0 missed_aimed=0 missed_random=0 attempt=0
steps=(openat write fsync rename)
while [ "$kill" -lt "$kills" ]; do
  attempt=$((attempt + 1))
  [ "$attempt" -le $((2 * kills + 20)) ] ||
    fail "too many runs outlived their kill: $missed_aimed aimed, $missed_random at random"
  session=${sessions[$((attempt % 3))]}
  run_dir=$scratch/run
  [ -d "$run_dir" ] || cp -r "$data" "$run_dir"
  prepare "$session" "$run_dir"
  args=(--headless --data "$run_dir" --ticks "$(ticks_of "$session")" --input "$scratch/$session.txt")
  kinds=()
  for key in "${!saves[@]}"; do
    [ "${key%%/*}" = "$session" ] && [ "${saves[$key]}" -gt 0 ] && kinds+=("${key#*/}")
  done
  if [ ${#kinds[@]} -gt 0 ] && [ $((attempt % 2)) = 0 ]; then
    # Aimed: a kind of save this session makes, one of its saves, one step of the write.
    name=${kinds[$((RANDOM % ${#kinds[@]}))]}
    nth=$((RANDOM % ${saves[$session/$name]} + 1))
    step=${steps[$((RANDOM % ${#steps[@]}))]}
    calls=$step
    [ "$step" = rename ] && calls=rename,renameat,renameat2
    # In a subshell of its own, whose report of the killed job goes nowhere.
    rc=0
    (
      traced -f -qq -o /dev/null -P "$run_dir/$name.tmp" -e trace="$calls" \
        -e inject="$calls:signal=KILL:when=$nth" "$game_dir/game" "${args[@]}" >/dev/null 2>&1
      exit $?
    ) 2>/dev/null || rc=$?
    if [ $rc = 0 ]; then
      missed_aimed=$((missed_aimed + 1))
      continue
    fi
    # strace ends the way its tracee did: killed by SIGKILL, 128 + 9.
    [ $rc = 137 ] || fail "the aimed run ended with status $rc instead of the kill"
    aimed=$((aimed + 1))
    where="$session: aimed at the $step of $name"
  else
    "$game_dir/game" "${args[@]}" >/dev/null 2>&1 &
    pid=$!
    # Anywhere in the session: from the first menus to the last save.
    ms=$((RANDOM * 32768 + RANDOM))
    ms=$((ms % (session_ms[$session] + 1)))
    sleep "$((ms / 1000)).$(printf %03d $((ms % 1000)))"
    kill -KILL $pid 2>/dev/null || true
    rc=0
    wait $pid 2>/dev/null || rc=$?
    if [ $rc != 137 ]; then  # the run was over before its moment came: not a kill
      missed_random=$((missed_random + 1))
      continue
    fi
    random_kills=$((random_kills + 1))
    where="$session: at random, outside any write"
    for t in "$run_dir"/*.tmp; do
      [ -e "$t" ] && where="$session: at random, inside a write of $(basename "$t" .tmp)"
    done
  fi
  kill=$((kill + 1))
  landed[$where]=$((${landed[$where]:-0} + 1))
  for f in "$run_dir"/kvr.ini "$run_dir"/kvr_playerdata.dat "$run_dir"/*.sav; do
    [ -f "$f" ] || continue
    name=$(basename "$f")
    [ -n "${size[$session/$name]:-}" ] || fail "$name was never written by the undisturbed session"
    [ "$(stat -c %s "$f")" = "${size[$session/$name]}" ] || fail "$name is torn: $(stat -c %s "$f") bytes"
  done
  # The continue run after a kill: Play at once, a few seconds in the map, close.
  play 10 >"$scratch/continue.txt"
  rm -f "$run_dir/log.txt"
  "$game_dir/game" --headless --data "$run_dir" --ticks 60 --input "$scratch/continue.txt" \
    >"$scratch/out.txt" 2>&1 || fail "the game did not start again: $(cat "$scratch/out.txt")"
  [ "$(cat "$run_dir/log.txt" 2>/dev/null || true)" = "${log[$session]}" ] ||
    fail "the start after the kill logged: $(cat "$run_dir/log.txt")"
done

echo "kill_during_save: $kills kills ($random_kills at random moments, $aimed aimed into a save);" \
  "runs that ended before their kill: $missed_aimed aimed, $missed_random at random; sessions of" \
  "${session_ms[campaign]}/${session_ms[bomb]}/${session_ms[keycard]} ms (campaign/bomb/keycard)"
printf '%s\n' "${!landed[@]}" | sort | while read -r where; do
  echo "  ${landed[$where]} $where"
done
echo "no torn file, every restart clean"
