#!/usr/bin/env bash
# Installs the build into a scratch prefix and plays the installed game from another folder:
# it must read its data from the prefix and write only into $XDG_DATA_HOME/kvr (or
# ~/.local/share/kvr), never into the prefix or the folder it was started from; --data still
# sends everything to one folder. The desktop entry and the metainfo must validate, and the
# entry must start the game where it was installed. Given a
# virtual X server and the window test's helpers, the installed setup is opened from another
# folder too: it must show its licence, artwork and description from share/kvr.
#   test_install.sh BUILD_DIR [XVFB_RUN SETUP_WINDOW_SH PRESS_INSTALL]
set -euo pipefail
build=$1
xvfb=${2:-} setup_window=${3:-} press=${4:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A prefix with a space in it, as a player's home folder may have.
prefix="$scratch/the prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
game=$prefix/games/kvr-game
[ -x "$game" ] || fail "no kvr-game in $prefix/games"
[ ! -e "$prefix/bin" ] || fail "programs in $prefix/bin: $(ls "$prefix/bin")"
for page in kvr-game kvr-setup; do
  gzip -t "$prefix/share/man/man6/$page.6.gz" 2>/dev/null || fail "no manual page $page(6)"
done
for f in copyright changelog.gz; do
  [ -s "$prefix/share/doc/kvr-game/$f" ] || fail "no $f in share/doc/kvr-game"
done
[ -f "$prefix/share/kvr/kvr.ini" ] || fail "no data in share/kvr"
for f in game setup log.txt kvr_playerdata.dat game.lock; do
  [ ! -e "$prefix/share/kvr/$f" ] || fail "share/kvr holds $f"
done
for size in 16 32 48 128; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/kvr-game.png
  [ -s "$icon" ] || fail "no ${size}x${size} icon"
  # PNG width sits big-endian at bytes 16-19 of the header.
  width=$(od -An -tu1 -j16 -N4 "$icon" | awk '{print $1*16777216+$2*65536+$3*256+$4}')
  [ "$width" = "$size" ] || fail "the ${size}x${size} icon is $width wide"
done
desktop-file-validate "$prefix/share/applications/kvr-game.desktop" || fail "desktop entry"
# The desktop entry starts the installed game by its full path: no session's PATH holds this
# prefix's games folder. The path has a space, so the entry quotes it.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/kvr-game.desktop")
[ "$exec_line" = "\"$prefix/games/kvr-game\"" ] || fail "the desktop entry starts '$exec_line'"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml >/dev/null ||
  fail "metainfo"

# Play: Play, OK to a new campaign, Normal, skip the briefing, then into the first map.
cp "$(dirname "$0")/../scripts/new_campaign.input" "$scratch/input.txt"
snapshot() { (cd "$prefix" && find . -type f -printf '%p %s %T@\n' | sort); }
before=$(snapshot)
mkdir "$scratch/elsewhere" "$scratch/home" "$scratch/xdg"
run() { (cd "$scratch/elsewhere" && env -u XDG_DATA_HOME HOME="$scratch/home" "$@"); }

run env XDG_DATA_HOME="$scratch/xdg" "$game" --headless --ticks 300 --input "$scratch/input.txt" \
  >"$scratch/out.txt" 2>&1 || fail "the installed game failed: $(cat "$scratch/out.txt")"
user=$scratch/xdg/kvr
[ -s "$user/kvr_playerdata.dat" ] || fail "no player data in $user: $(ls -A "$user" 2>&1)"
[ -f "$user/game.lock" ] || fail "the instance lock is not in $user"
grep -q 'map1_1.map' "$user/kvr_playerdata.dat" || fail "the run never reached the first map"
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "wrote into the start folder: $(ls -A "$scratch/elsewhere")"
[ -z "$(ls -A "$scratch/home")" ] || fail "wrote into HOME although XDG_DATA_HOME is set"
[ "$before" = "$(snapshot)" ] || fail "the prefix changed"

# A second start continues from the player's files: the log is fresh, the data stay.
run env XDG_DATA_HOME="$scratch/xdg" "$game" --headless --ticks 20 >/dev/null 2>&1 ||
  fail "the second start failed"
[ -s "$user/kvr_playerdata.dat" ] || fail "the second start lost the player data"

# Without XDG_DATA_HOME the default folder is made.
run "$game" --headless --ticks 20 >/dev/null 2>&1 || fail "the start without XDG_DATA_HOME failed"
[ -f "$scratch/home/.local/share/kvr/game.lock" ] || fail "no ~/.local/share/kvr made"
# A relative XDG_DATA_HOME is not a place: the default folder is used, not one under the start.
rm -rf "$scratch/home/.local"
run env XDG_DATA_HOME=relative/data "$game" --headless --ticks 20 >/dev/null 2>&1 ||
  fail "the start with a relative XDG_DATA_HOME failed"
[ -f "$scratch/home/.local/share/kvr/game.lock" ] || fail "relative XDG_DATA_HOME: no ~/.local/share/kvr"
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "relative XDG_DATA_HOME: wrote into the start folder"

# --data sends reading and writing to one folder, as in the build.
mkdir "$scratch/data"
cp -r "$prefix/share/kvr/." "$scratch/data/"
rm -rf "$scratch/xdg"/*
run env XDG_DATA_HOME="$scratch/xdg" "$game" --data "$scratch/data" --headless --ticks 300 \
  --input "$scratch/input.txt" >/dev/null 2>&1 || fail "the run with --data failed"
[ -s "$scratch/data/kvr_playerdata.dat" ] || fail "--data: no player data beside the data"
[ -z "$(ls -A "$scratch/xdg")" ] || fail "--data: wrote into XDG_DATA_HOME"
[ "$before" = "$(snapshot)" ] || fail "the prefix changed"
# The installed setup finds its files in share/kvr and starts the device manager there.
if [ -x "$prefix/games/kvr-setup" ]; then
  [ -f "$prefix/share/kvr/setup.ini" ] || fail "no setup.ini in share/kvr"
  "$prefix/games/kvr-setup" --help >/dev/null || fail "kvr-setup --help"
  if [ -n "$xvfb" ]; then
    (cd "$scratch/elsewhere" && "$setup_window" "$xvfb" "$prefix/games/kvr-setup" "$press" \
      "$prefix/share/kvr") || fail "the installed setup's window"
  fi
fi
[ "$before" = "$(snapshot)" ] || fail "the prefix changed"

# An installed game whose data went missing says where they should be and does not start
# (in a window it says so in a message box too).
mv "$prefix/share/kvr" "$prefix/share/kvr.away"
status=0
run env XDG_DATA_HOME="$scratch/xdg" "$game" --headless --ticks 20 >"$scratch/out.txt" 2>&1 || status=$?
mv "$prefix/share/kvr.away" "$prefix/share/kvr"
[ "$status" = 1 ] || fail "the game without its data exited with $status"
[ "$(cat "$scratch/out.txt")" = "game: there is no folder $prefix/share/kvr/" ] ||
  fail "the game without its data said: $(cat "$scratch/out.txt")"
echo "installed game ran from $prefix and wrote only into its user folder"
