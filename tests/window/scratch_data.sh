# Sourced by the window tests: a scratch folder ($scratch, removed at exit) holding $data, the
# game's baked data from $game_dir linked in without any player file, lock or screenshot.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
data=$scratch/data
mkdir "$data"
for f in "$game_dir"/*; do
  case $(basename "$f") in game|setup|log.txt|*.sav|kvr_playerdata.dat|game.lock|*.tmp|window.cfg|shot*.png) ;;
    *) ln -s "$f" "$data/" ;; esac
done
