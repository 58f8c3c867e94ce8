#!/usr/bin/env bash
# Mutation run: applies each single-token mutant of a list to src/, rebuilds incrementally,
# runs the tests and counts the mutants the build or a test catches.
#
# usage: scripts/mutants.sh [--check] [--list FILE] [--build DIR] [--timeout S] [--only REGEX]
#                           [--exclude REGEX] [--all]
#   --check      only verify that every snippet matches exactly one place, then stop
#   --list FILE  the mutants (default scripts/mutants.list): FILE @@ SNIPPET @@ REPLACEMENT
#   --build DIR  build directory of its own (default build-mutants), configured on first use
#   --timeout S  per-test timeout in seconds (default 120)
#   --only REGEX run only the mutants whose line matches REGEX
#   --exclude R  tests to leave out (default: those that cannot see a change in src/: the
#                installer's, the bake's determinism and the hand-off built on its own)
#   --all        build everything and run the whole suite for every mutant (slow)
#
# By default each mutant rebuilds and runs only the test programs that can see its file: every
# GoogleTest program carries the label of its folder under tests/, and a mutant in src/X/
# runs the labels the table below maps X to (the folders testing X, the folders whose
# programs link X and test it through their own subject, and always the end-to-end runs of
# the real game). The folders' own programs run first; only a mutant they all pass rebuilds
# the game and goes on to the end-to-end runs, so most mutants never relink the game. A
# mutant outside the table runs everything. The unmutated tree is checked once with every
# labelled test. On a shared 2-core machine the 44 mutants of the list take about a quarter
# of an hour this way, the unmutated tree's build and run included; --all gives the full run
# where time allows.
# Every mutated file is restored, also when the run is interrupted. The mutants are written
# into this working tree: another build from it while the run goes may compile one of them.
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
list="$root/scripts/mutants.list"
build="$root/build-mutants"
timeout=120
only=""
exclude='^(sound_handoff_tsan|bake_is_deterministic|installer_e2e_window|(Profile|Registry|RegistryFile|ReadIni|LabelInfo|Install|StartProcess)\.)'
check=0
all=0
while [ $# -gt 0 ]; do
  case "$1" in
    --check) check=1 ;;
    --list) list=$2; shift ;;
    --build) build=$2; shift ;;
    --timeout) timeout=$2; shift ;;
    --only) only=$2; shift ;;
    --exclude) exclude=$2; shift ;;
    --all) all=1 ;;
    *) echo "mutants.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

# The test labels (folders under tests/) that can see a change in a source file, as a ctest
# label regex; empty: the whole suite.
labels_for() {
  case "$1" in
    src/core/*) echo 'core|app|e2e' ;;
    src/platform/*) echo 'app|e2e' ;;
    src/sound/*) echo 'sound|tools|e2e' ;;
    src/gfx2d/*) echo 'gfx2d|gfx2d_jpeg|gui|e2e' ;;
    src/engine3d/*) echo 'engine3d|e2e' ;;
    src/gui/*) echo 'gui|gui_scroll|e2e' ;;
    src/app/*) echo 'app|e2e' ;;
    src/world/*) echo 'world|world_content|e2e' ;;
    *) echo '' ;;
  esac
}

# Splits the list into records of three fields (NUL-separated) and checks each snippet.
# Prints the records to stdout; exits non-zero when any mutant is refused.
parse() {
  python3 - "$root" "$list" "$only" <<'EOF'
import re, sys
root, path, only = sys.argv[1], sys.argv[2], sys.argv[3]
bad = 0
out = []
for number, line in enumerate(open(path, encoding="utf-8"), 1):
    line = line.rstrip("\n")
    if not line.strip() or line.lstrip().startswith("#"):
        continue
    parts = line.split(" @@ ")
    if len(parts) != 3:
        print(f"mutants.sh: {path}:{number}: needs FILE @@ SNIPPET @@ REPLACEMENT", file=sys.stderr)
        bad += 1
        continue
    file, snippet, replacement = (p.strip() for p in parts)
    try:
        text = open(f"{root}/{file}", encoding="utf-8").read()
    except OSError:
        print(f"mutants.sh: {path}:{number}: no file {file}", file=sys.stderr)
        bad += 1
        continue
    count = text.count(snippet)
    if count != 1 or snippet == replacement:
        why = "is no change" if snippet == replacement else f"matches {count} places"
        print(f"mutants.sh: {path}:{number}: refused, the snippet {why} in {file}: {snippet}",
              file=sys.stderr)
        bad += 1
        continue
    if only and not re.search(only, line):
        continue
    out.append(f"{file}\0{snippet}\0{replacement}\0")
sys.stdout.write("".join(out))
sys.exit(1 if bad else 0)
EOF
}

records=$(mktemp)
trap 'rm -f "$records"' EXIT
if ! parse >"$records"; then
  echo "mutants.sh: the list has refused mutants; fix it first" >&2
  exit 2
fi
total=$(tr -cd '\0' <"$records" | wc -c)
total=$((total / 3))
if [ "$check" = 1 ]; then
  echo "mutants.sh: $total mutants, each matching exactly one place"
  exit 0
fi

if [ ! -f "$build/build.ninja" ]; then
  mkdir -p "$build"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_BENCH=OFF \
    -DKVR_WERROR=OFF >"$build/configure.log" 2>&1 || { echo "mutants.sh: configure failed" >&2; exit 2; }
fi
# A run cut short may have left objects built from a mutant: touching every listed file
# makes the first build compile them again from the real sources.
while IFS= read -r -d '' file && IFS= read -r -d '' _ && IFS= read -r -d '' _; do
  touch "$root/$file"
done <"$records"
echo "mutants.sh: building and testing the unmutated tree first"
baseline=(-E "$exclude")
[ "$all" = 1 ] || baseline+=(-L '.')
if ! ninja -C "$build" -j2 >"$build/mutant.log" 2>&1 ||
   ! ctest --test-dir "$build" -j2 --timeout "$timeout" "${baseline[@]}" >>"$build/mutant.log" 2>&1; then
  echo "mutants.sh: the unmutated tree does not pass; see $build/mutant.log" >&2
  exit 2
fi

backup=""
current=""
restore() {
  if [ -n "$current" ]; then
    # A fresh time stamp, so the next build compiles the real file again.
    cp "$backup" "$root/$current"
    touch "$root/$current"
    rm -f "$backup"
    current=""
  fi
}
trap 'restore; rm -f "$records"; exit 130' INT TERM
trap 'restore; rm -f "$records"' EXIT

caught=0
survivors=()
index=0
while IFS= read -r -d '' file && IFS= read -r -d '' snippet && IFS= read -r -d '' replacement; do
  index=$((index + 1))
  label="$file: '$snippet' -> '$replacement'"
  backup=$(mktemp)
  cp "$root/$file" "$backup"
  current=$file
  python3 - "$root/$file" "$snippet" "$replacement" <<'EOF'
import sys
path, snippet, replacement = sys.argv[1:]
text = open(path, encoding="utf-8").read()
open(path, "w", encoding="utf-8").write(text.replace(snippet, replacement, 1))
EOF
  labels=""
  [ "$all" = 1 ] || labels=$(labels_for "$file")
  # Phases of (ninja targets, ctest selection): the folders' own programs, then the rest.
  phases=()
  if [ -n "$labels" ]; then
    IFS='|' read -r -a folders <<<"$labels"
    for folder in "${folders[@]}"; do
      [ "$folder" = e2e ] && continue
      phases+=("test_$folder")
    done
    own=$(IFS='|'; echo "${phases[*]#test_}")
    phases=("${phases[*]}" "^($own)\$" "test_e2e" "^e2e\$")
  else
    phases=("" ".")
  fi
  verdict="SURVIVED"
  : >"$build/mutant.log"
  for ((p = 0; p < ${#phases[@]}; p += 2)); do
    read -r -a targets <<<"${phases[p]}"
    selection=(-E "$exclude")
    if [ "${phases[p+1]}" = . ]; then
      [ "$all" = 1 ] || selection+=(-L .)
    else
      selection+=(-L "${phases[p+1]}")
    fi
    if ! ninja -C "$build" -j2 "${targets[@]}" >>"$build/mutant.log" 2>&1; then
      verdict="caught (build)"
    elif ! ctest --test-dir "$build" -j2 --timeout "$timeout" "${selection[@]}" --stop-on-failure \
           >>"$build/mutant.log" 2>&1; then
      verdict="caught ($(grep -m1 -oE '[0-9]+ - [^ ]+ \(' "$build/mutant.log" | sed 's/ (//' | cut -d' ' -f3-))"
    fi
    [ "$verdict" = SURVIVED ] || break
  done
  restore
  if [ "$verdict" = SURVIVED ]; then
    survivors+=("$label")
  else
    caught=$((caught + 1))
  fi
  printf '[%d/%d] %s: %s\n' "$index" "$total" "$verdict" "$label"
done <"$records"

# Leave the build matching the restored sources.
echo "mutants.sh: $(( SECONDS / 60 )) min $(( SECONDS % 60 )) s"
ninja -C "$build" -j2 >/dev/null 2>&1
echo
echo "mutants.sh: $caught of $total caught"
if [ ${#survivors[@]} -gt 0 ]; then
  echo "survivors:"
  printf '  %s\n' "${survivors[@]}"
fi
