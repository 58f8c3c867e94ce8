#!/bin/sh
# setup's real window under a virtual X server: it shows its controls, and pressing Install
# starts the registered device manager (a stand-in script) with ".\setup.ini", in the folder
# setup was started from or, for an installed setup, in MANAGER_DIR (its share folder).
# usage: setup_window.sh XVFB_RUN SETUP PRESS_INSTALL [MANAGER_DIR]
set -eu
xvfb=$1 setup=$2 press=$3 manager_dir=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/Device Manager" "$work/medium"
manager="$work/Device Manager/CEAppMgr"
cat > "$manager" <<'EOS'
#!/bin/sh
dir=$(dirname "$0")
{ echo "$#"; for a in "$@"; do echo "$a"; done; pwd -P; } > "$dir/run.tmp"
mv "$dir/run.tmp" "$dir/run"
EOS
chmod +x "$manager"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe]\r\n@="%s"\r\n' \
  "$manager" > "$work/registry.reg"

# setup runs from the medium's directory; the device manager inherits it.
cd "$work/medium"
"$xvfb" -a -s "-screen 0 800x600x24" sh -c '
  "$1" --registry "$2" & pid=$!
  rc=0
  "$3" || rc=$?
  i=0
  while [ ! -f "$4/run" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  exit $rc' sh "$setup" "$work/registry.reg" "$press" "$work/Device Manager"

[ -n "$manager_dir" ] || manager_dir=$(pwd -P)
expected=$(printf '1\n.\\setup.ini\n%s' "$(cd "$manager_dir" && pwd -P)")
if [ ! -f "$work/Device Manager/run" ]; then
  echo "setup_window: pressing Install started nothing" >&2
  exit 1
fi
if [ "$(cat "$work/Device Manager/run")" != "$expected" ]; then
  echo "setup_window: the device manager got:" >&2
  cat "$work/Device Manager/run" >&2
  exit 1
fi
printf "%s\n" "setup_window: Install started the device manager with .\\setup.ini"
