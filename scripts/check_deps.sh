#!/usr/bin/env bash
# Fails when configuring the build uses a file that scripts/install_deps.sh does not bring
# (neither its packages nor what they depend on): such a build works on the machines that
# happen to have the file and stops at the configure step on a fresh one.
#
# It configures the project in a scratch folder with an expanded trace, gathers every system
# file that step reads (CMake modules, package configs), runs, finds (programs, libraries,
# headers) or hands on to the build (files of imported targets, libraries to link, whether they
# exist or not), and looks each one up in the files of the listed packages and their
# dependencies.
#   scripts/check_deps.sh [SOURCE_DIR]   (the project by default)
# Exit status: 0 all provided, 1 something is not, 77 not a dpkg machine (nothing to check).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
source_dir=$(cd "${1:-$top}" && pwd)
cmake=${CMAKE:-cmake}

# Packages the build uses when present and does without (none today).
optional=()

if ! command -v dpkg-query >/dev/null; then
  echo "check_deps: no dpkg-query here, so no package list to check against"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# What a fresh machine has after install_deps.sh: the essential packages, the listed ones and,
# recursively, what they depend on (Depends and Pre-Depends; recommendations are not installed).
# Of a choice of dependencies the first installed one counts.
mapfile -t listed < <("$top/scripts/install_deps.sh" --list)
dpkg-query -W -f='${db:Status-Abbrev}\t${binary:Package}\t${Package}\t${Essential}\t${Provides}\t${Pre-Depends}, ${Depends}\n' \
  | awk -F '\t' -v roots="${listed[*]}" '
    function bare(s) { gsub(/\([^)]*\)/, "", s); gsub(/[ \t]/, "", s); sub(/:.*/, "", s); return s }
    $1 !~ /^ii/ { next }
    {
      bin[$3] = ($3 in bin) ? bin[$3] " " $2 : $2
      deps[$3] = $6
      if ($4 == "yes") queue[++n] = $3
      k = split($5, pv, ",")
      for (i = 1; i <= k; i++) { p = bare(pv[i]); if (p != "" && !(p in provider)) provider[p] = $3 }
    }
    END {
      k = split(roots, r, " ")
      for (i = 1; i <= k; i++) {
        if (r[i] in deps) queue[++n] = r[i]; else print "NOT-INSTALLED " r[i]
      }
      for (h = 1; h <= n; h++) {
        p = queue[h]
        if (p in done) continue
        done[p] = 1
        c = split(deps[p], clause, ",")
        for (i = 1; i <= c; i++) {
          a = split(clause[i], alt, "|")
          for (j = 1; j <= a; j++) {
            d = bare(alt[j])
            if (d in deps) { queue[++n] = d; break }
            if (d in provider) { queue[++n] = provider[d]; break }
          }
        }
      }
      for (p in done) { m = split(bin[p], b, " "); for (i = 1; i <= m; i++) print b[i] }
    }' > "$scratch/closure"
if grep -q '^NOT-INSTALLED ' "$scratch/closure"; then
  echo "check_deps: not installed: $(sed -n 's/^NOT-INSTALLED //p' "$scratch/closure" | tr '\n' ' ')"
  echo "Run scripts/install_deps.sh first."
  exit 1
fi
xargs dpkg-query -L < "$scratch/closure" 2>/dev/null | grep '^/' > "$scratch/provided" || true

# The configure test.sh runs first (tests and benchmarks on), traced.
configured=yes
"$cmake" -S "$source_dir" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_WERROR=ON \
  --trace-expand --trace-format=json-v1 --trace-redirect="$scratch/trace.json" \
  > "$scratch/configure.log" 2>&1 || configured=no
mkdir -p "$scratch/build"
touch "$scratch/trace.json" "$scratch/build/CMakeCache.txt"

# Every system path the configure used, with where it came from: the scripts it ran, the
# programs it ran, the files of imported targets and the libraries handed to the linker (needed
# by the build even when the configure only checks they exist), and what the find commands
# stored in the cache. Include and link folders handed to the project's own targets are search
# paths, not needs: tool scripts such as fltk-config list folders of parts that may be absent.
{
  awk '
    function sys(p) { return p ~ /^\/(usr|bin|sbin|lib[^\/]*|opt)(\/|$)/ }
    {
      file = ""
      if (match($0, /"file":"[^"]*"/)) file = substr($0, RSTART + 8, RLENGTH - 9)
      where = file
      if (match($0, /"line":[0-9]+/)) where = where ":" substr($0, RSTART + 7, RLENGTH - 7)
      if (sys(file)) print file "\tread by the configure"
      cmd = ""
      if (match($0, /"cmd":"[^"]*"/)) cmd = tolower(substr($0, RSTART + 7, RLENGTH - 8))
      if (cmd !~ /^(set_target_properties|set_property|target_link_libraries|link_libraries|execute_process)$/) next
      if (!match($0, /"args":\[[^]]*\]/)) next
      args = substr($0, RSTART + 7, RLENGTH - 7)
      while (match(args, /"[^"]*"/)) {
        tok = substr(args, RSTART + 1, RLENGTH - 2)
        args = substr(args, RSTART + RLENGTH)
        k = split(tok, part, ";")
        for (i = 1; i <= k; i++) if (sys(part[i])) print part[i] "\tnamed at " where
      }
    }' "$scratch/trace.json"
  sed -n 's/^\([A-Za-z0-9_.+-]*\):\(FILEPATH\|PATH\)=\(\/.*\)$/\3\tfound as \1/p' \
    "$scratch/build/CMakeCache.txt" | grep -v 'found as CMAKE_INSTALL_PREFIX$' || true
} | awk -F '\t' '!seen[$1]++' > "$scratch/used"

# A path counts as provided when it or the file it leads to is in a package (alternatives such
# as /usr/bin/c++ are links made outside any package). Packages may still list /lib and /bin
# where the system has merged them into /usr.
cut -f1 "$scratch/used" | xargs -r -d '\n' realpath -m -- > "$scratch/real"
paste "$scratch/used" "$scratch/real" | awk -F '\t' '
  function norm(p) {
    if (length(p) > 1) sub(/\/+$/, "", p)
    return p ~ /^\/(bin|sbin|lib[^\/]*)(\/|$)/ ? "/usr" p : p
  }
  NR == FNR { have[norm($0)] = 1; next }
  !(norm($1) in have) && !(norm($3) in have)' "$scratch/provided" - > "$scratch/unprovided"

owner() {
  local p
  for p in "$@"; do
    dpkg-query -S "$p" 2>/dev/null | grep -v '^diversion' | sed -n '1{s/: .*//;s/:[^, ]*//g;p}' | grep . && return
  done
  return 0
}
report=()
while IFS=$'\t' read -r path why real; do
  pkg=$(owner "$path" "$real")
  skip=no
  for o in "${optional[@]}"; do [[ ", $pkg, " == *", $o, "* ]] && skip=yes; done
  [ "$skip" = yes ] && continue
  if [ -n "$pkg" ]; then
    report+=("  $path: from $pkg, which the list does not bring ($why)")
  else
    report+=("  $path: owned by no package ($why)")
  fi
done < "$scratch/unprovided"

status=0
if [ ${#report[@]} -gt 0 ]; then
  echo "check_deps: the build needs files that scripts/install_deps.sh does not install:"
  printf '%s\n' "${report[@]}"
  echo "Add their package to scripts/install_deps.sh, or make the build do without them."
  status=1
fi
if [ "$configured" = no ]; then
  echo "check_deps: the configure failed with the listed packages:"
  grep -A 12 -m 1 '^CMake Error' "$scratch/configure.log" || tail -n 15 "$scratch/configure.log"
  status=1
fi
if [ $status -eq 0 ]; then
  echo "check_deps: the configure uses $(wc -l < "$scratch/used") system files and directories," \
    "all from the $(wc -l < "$scratch/closure") packages install_deps.sh brings"
fi
exit $status
