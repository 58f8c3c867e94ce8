#!/usr/bin/env bash
# Nightly: the Debian package on a bare Debian 12. A minimal bookworm root (made once with
# debootstrap and kept as a tarball in the cache) is unpacked into a scratch folder, the .deb
# of a release build is installed in it with apt, so that its declared dependencies are what
# brings the libraries in, and the installed game is played headless as an ordinary user:
# it must exit cleanly, log nothing unexpected and write only under $XDG_DATA_HOME/kvr/.
# kvr-setup must start too. Needs root (debootstrap, chroot) and Debian's package mirror.
#   debian_install_test.sh [BUILD_DIR] [TICKS]
# Environment: KVR_DEBIAN_CACHE (default ~/.cache/kvr-debian), KVR_DEBIAN_MIRROR.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build-release}
ticks=${2:-600}
cache=${KVR_DEBIAN_CACHE:-$HOME/.cache/kvr-debian}
mirror=${KVR_DEBIAN_MIRROR:-http://deb.debian.org/debian}
fail() { echo "FAIL: $*"; exit 1; }
step() { echo "== $* ($(($(date +%s) - started)) s)"; }
started=$(date +%s)

[ "$(id -u)" = 0 ] || fail "needs root: debootstrap and chroot"
command -v debootstrap >/dev/null || fail "needs debootstrap (apt-get install debootstrap)"

# The bare system, made once.
tarball=$cache/bookworm-minbase.tar.gz
if [ ! -s "$tarball" ]; then
  step "debootstrap of a minimal bookworm into $cache"
  mkdir -p "$cache"
  rm -rf "$cache/root.new"
  debootstrap --variant=minbase bookworm "$cache/root.new" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    fail "debootstrap failed, see $cache/debootstrap.log"
  tar -C "$cache/root.new" -czf "$tarball.new" .
  mv "$tarball.new" "$tarball"
  rm -rf "$cache/root.new"
fi

# The package, from a release build of everything it ships.
step "release build and package in $build"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKVR_TESTS=OFF \
  -DKVR_BENCH=OFF >/dev/null
ninja -C "$build" >/dev/null
rm -f "$build"/kvr-game_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/kvr-game_*.deb)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
echo "declares: $(dpkg-deb -f "$deb" Depends)"

# A fresh root for this run; /proc is the only thing mounted into it.
scratch=$(mktemp -d /var/tmp/kvr-debian.XXXXXX)
root=$scratch/root
cleanup() {
  if mountpoint -q "$root/proc"; then umount "$root/proc" || umount -l "$root/proc"; fi
  # Never delete through a mount that is still there.
  if mountpoint -q "$root/proc"; then
    echo "left $scratch in place: $root/proc is still mounted"
  else
    rm -rf "$scratch"
  fi
}
trap cleanup EXIT
step "unpacking the bare root"
mkdir "$root"
tar -C "$root" -xzf "$tarball"
mount -t proc proc "$root/proc"
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }

step "apt installs the package"
in_root dpkg-query -W -f '${Package}\n' | sort >"$scratch/before.txt"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq >/dev/null || fail "apt-get update in the root"
in_root apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")" \
  >"$scratch/apt.txt" 2>&1 || fail "apt could not install the package: $(tail -20 "$scratch/apt.txt")"
in_root dpkg-query -W -f '${Package}\n' | sort >"$scratch/after.txt"
pulled=$(comm -13 "$scratch/before.txt" "$scratch/after.txt" | grep -vx kvr-game || true)
echo "apt pulled $(echo "$pulled" | grep -c . || true) packages besides kvr-game:"
echo "$pulled" | tr '\n' ' ' | fold -s -w 100
echo
# Every library the programs need must have come with the declared dependencies.
for program in kvr-game kvr-setup; do
  missing=$(in_root ldd "/usr/games/$program" | grep 'not found' || true)
  [ -z "$missing" ] || fail "$program misses libraries the package does not depend on: $missing"
done

step "the installed game plays as an ordinary user"
in_root useradd --create-home --shell /bin/sh player
# Play, OK to a new campaign, Normal, skip the briefing, then into the first map: the script
# is copied into the root, where the game runs.
cp "$src/scripts/new_campaign.input" "$root/tmp/input.txt"
touch "$scratch/stamp"
sleep 1  # file times in whole seconds on some file systems
as_player() {
  chroot --userspec=player:player "$root" /usr/bin/env -i PATH=/usr/bin:/bin:/usr/games HOME=/home/player \
    XDG_DATA_HOME=/home/player/.local/share "$@"
}
as_player sh -c "cd /tmp && kvr-game --headless --ticks $ticks --input /tmp/input.txt" \
  >"$scratch/game.txt" 2>&1 || fail "kvr-game failed: $(cat "$scratch/game.txt")"
user=$root/home/player/.local/share/kvr
[ -s "$user/kvr_playerdata.dat" ] || fail "no player data in the user folder: $(ls -A "$user" 2>&1)"
grep -q 'map1_1.map' "$user/kvr_playerdata.dat" || fail "the run never reached the first map"
if [ -s "$user/log.txt" ]; then fail "the game logged: $(cat "$user/log.txt")"; fi
written=$(cd "$root" && find . -xdev -newer "$scratch/stamp" -type f \
  ! -path './home/player/.local/share/kvr/*' | sort)
[ -z "$written" ] || fail "the game wrote outside its user folder: $written"
echo "written: $(cd "$user" && ls -A | tr '\n' ' ')"

step "kvr-setup starts"
as_player kvr-setup --help >"$scratch/setup.txt" 2>&1 || fail "kvr-setup --help: $(cat "$scratch/setup.txt")"
grep -q '^usage: setup' "$scratch/setup.txt" || fail "kvr-setup printed: $(cat "$scratch/setup.txt")"
[ -f "$root/usr/share/kvr/setup.ini" ] || fail "no setup.ini in /usr/share/kvr"

step "passed"
echo "debian_install_test: $(basename "$deb") installed on a bare bookworm and played $ticks ticks"
