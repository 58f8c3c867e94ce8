#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it as Debian would: lintian finds
# no error and no warning but the ones listed below with their reason; the programs are in
# /usr/games and stripped, the desktop entry starts one of them, the manual pages and the
# changelog are compressed, the copyright file is there.
#   test_package.sh BUILD_DIR [kvr-maps]   (kvr-maps: the build has the map builder too)
set -euo pipefail
build=$1
with_maps=${2:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Warnings that cannot be met yet, each with its reason (tag names as lintian prints them).
# None today. The maintainer's address, which no one has chosen yet, is in the reserved
# .invalid domain (packaging/CMakeLists.txt): lintian accepts it, and it never reaches anyone.
allowed=(
)

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.txt" 2>&1 ||
  fail "cpack: $(cat "$scratch/cpack.txt")"
deb=$(ls "$scratch"/kvr-game_*.deb)

lintian --tag-display-limit 0 "$deb" >"$scratch/lintian.txt" 2>&1 || true
unexpected=$( (grep -E '^[EW]: ' "$scratch/lintian.txt" || true) | while read -r line; do
  tag=$(awk '{print $3}' <<<"$line")
  [[ $line == W:* ]] && printf '%s\n' "${allowed[@]}" | grep -qx "$tag" && continue
  echo "$line"
done)
[ -z "$unexpected" ] || fail "lintian says:
$unexpected"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
programs=(kvr-game kvr-setup)
pages=(kvr-game kvr-setup)
if [ "$with_maps" = kvr-maps ]; then
  programs+=(kvr-maps)
  pages+=(kvr-maps)
  [ -s "$root/usr/share/kvr/maps-guide.md" ] || fail "no modder's guide in /usr/share/kvr"
fi
[ ! -e "$root/usr/bin" ] || fail "programs in /usr/bin: $(ls "$root/usr/bin")"
for p in "${programs[@]}"; do
  [ -x "$root/usr/games/$p" ] || fail "no /usr/games/$p"
  ! readelf -S "$root/usr/games/$p" | grep -q '\.symtab' || fail "$p is not stripped"
done
for p in "${pages[@]}"; do
  page=$root/usr/share/man/man6/$p.6.gz
  gzip -t "$page" 2>/dev/null || fail "no compressed manual page $p(6)"
  zcat "$page" | grep -q "^\.SH NAME" || fail "$p(6) has no NAME section"
done
doc=$root/usr/share/doc/kvr-game
head -1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not machine-readable"
grep -q 'All rights reserved' "$doc/copyright" || fail "the copyright file states no licence"
zcat "$doc/changelog.gz" | head -1 | grep -q "^kvr-game ($(dpkg-deb -f "$deb" Version))" ||
  fail "the changelog does not start at the package's version"
# The desktop entry starts a program the package puts on the players' path.
exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/kvr-game.desktop")
[ -x "$root/usr/games/$exec_program" ] || fail "the desktop entry starts '$exec_program', not in /usr/games"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section $(dpkg-deb -f "$deb" Section)"
description=$(dpkg-deb -f "$deb" Description)
[ "$(wc -l <<<"$description")" -ge 5 ] || fail "the extended description is short: $description"
echo "$(basename "$deb"): lintian finds no error and $(grep -c '^W: ' "$scratch/lintian.txt" || true) listed warnings"
