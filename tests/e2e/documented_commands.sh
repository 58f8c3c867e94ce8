#!/usr/bin/env bash
# Every command the README's code blocks show, and every example of `game --help`,
# `kvrtool --help` (and `kvr-maps --help` when it is built), run as written against the build
# and failing on a non-zero exit. They run from a scratch folder laid out like the source tree
# after the build (build/game holding the data and a copy of the game, build-release the
# same, the tools in build/tools), with the programs also on the path by their bare and
# installed names, and with HOME and XDG_DATA_HOME inside the scratch folder. A game command
# that would open the window runs headless for 50 timer messages instead, so its options are
# still read and acted on. The commands listed below are left out, each with its reason.
#   documented_commands.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src=$1
build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Left out: a pattern (extended regex) and why.
skipped=(
  '^\./play\.sh' 'installs packages, builds a release and opens the window; its steps are the commands here'
  '^\./test\.sh' 'is the whole test run this test belongs to'
  'cmake --install' 'the install test (install_runs_from_the_prefix) installs and plays the game'
  'cpack' 'the package test (package_passes_lintian) builds the package and checks it'
  'apt(-get)? install' 'installs onto the machine'
  '^man ' 'reads a manual page installed on the machine; the package test checks the pages'
  '(^|[ /])setup( |$)' "opens the installer's window, which its window test runs under Xvfb"
)

# The scratch tree: the data linked, the programs copied (a program finds its data from
# where it stands, so a link would send it back to the real build folder).
tree=$scratch/tree
mkdir -p "$tree/build/game" "$tree/build/tools/kvrtool" "$tree/bin" "$tree/home" "$tree/xdg"
for f in "$build"/game/*; do
  name=$(basename "$f")
  [ -f "$f" ] || continue
  case $name in
    game|setup|kvr-maps) cp "$f" "$tree/build/game/" ;;
    log.txt|kvr_playerdata.dat|game.lock|*.sav|*.tmp) ;;
    *) ln -s "$f" "$tree/build/game/$name" ;;
  esac
done
cp "$build/tools/kvrtool/kvrtool" "$tree/build/tools/kvrtool/"
maps=$(find "$build" -name kvr-maps -type f -perm -u+x ! -path '*/CMakeFiles/*' | head -1)
if [ -n "$maps" ] && [ ! -e "$tree/build/game/kvr-maps" ]; then
  mkdir -p "$tree/$(dirname "${maps#"$build"/}")"
  cp "$maps" "$tree/build/${maps#"$build"/}"
fi
ln -s build "$tree/build-release"
ln -s ../build/game/game "$tree/bin/game"
ln -s ../build/game/game "$tree/bin/kvr-game"
ln -s ../build/tools/kvrtool/kvrtool "$tree/bin/kvrtool"
maps_copy=$(find "$tree/build" -name kvr-maps -type f | head -1)
[ -z "$maps_copy" ] || ln -s "$maps_copy" "$tree/bin/kvr-maps"

in_tree() {
  (cd "$tree" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$tree/home" XDG_DATA_HOME="$tree/xdg" \
    PATH="$tree/bin:$PATH" timeout 300 bash -c "$1")
}

# The README's code blocks: one command a line, comments cut, continued lines joined.
commands=()
while IFS= read -r line; do commands+=("README.md: $line"); done < <(
  awk '/^ *```/ { inside = !inside; next }
       inside {
         sub(/[ \t]+#.*$/, ""); if ($0 ~ /^[ \t]*#/) next
         if (sub(/\\$/, "")) { held = held $0; next }
         line = held $0; held = ""
         gsub(/^[ \t]+|[ \t]+$/, "", line); if (line != "") print line
       }' "$src/README.md")
readme_count=${#commands[@]}
# The examples closing each program's --help.
for program in game kvrtool kvr-maps; do
  [ -e "$tree/bin/$program" ] || continue
  before=${#commands[@]}
  while IFS= read -r line; do commands+=("$program --help: $line"); done < <(
    in_tree "$program --help" 2>&1 | awk -v p="$program" '
      /^examples/ { inside = 1; next }
      inside && $1 == p { sub(/^[ \t]+/, ""); print; next }
      inside { inside = 0 }')
  [ ${#commands[@]} -gt "$before" ] || { echo "FAIL: $program --help shows no examples"; exit 1; }
done
[ "$readme_count" -ge 5 ] || { echo "FAIL: only $readme_count commands found in README.md"; exit 1; }

failed=0
ran=0
for entry in "${commands[@]}"; do
  where=${entry%%: *}
  cmd=${entry#*: }
  reason=""
  for ((i = 0; i < ${#skipped[@]}; i += 2)); do
    if grep -Eq -- "${skipped[i]}" <<<"$cmd"; then reason=${skipped[i + 1]}; break; fi
  done
  if [ -n "$reason" ]; then
    echo "left out ($where): $cmd: $reason"
    continue
  fi
  run=$cmd
  # The game in the window waits for a player: headless, it runs for 50 timer messages.
  program=$(basename "${cmd%% *}")
  if [[ $program == game || $program == kvr-game ]] &&
     ! grep -Eq -- '--(headless|ticks|input|shot|wav|help|version)' <<<"$cmd"; then
    run="$cmd --ticks 50"
  fi
  ran=$((ran + 1))
  if out=$(in_tree "$run" 2>&1); then
    echo "ok ($where): $run"
  else
    status=$?
    echo "FAIL ($where): $run exited with $status:"
    sed 's/^/    /' <<<"$out" | tail -20
    failed=$((failed + 1))
  fi
done
echo "$ran documented commands run, $failed failed"
[ "$failed" = 0 ]
