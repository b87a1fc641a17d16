#!/usr/bin/env bash
# Shows the driver window on the rig's display with traffic and events, takes
# a screenshot of the whole screen, and checks what the host reported. The
# host runs in a Wine desktop with its shell, whose taskbar holds the tray
# (bare Xvfb has no notification area to show the icon in).
#   driver_window_gui.sh RIG_DIR ECRSIM_STATE_DIR HOST_EXE SCREENSHOT
set -u
rig=$1
state=$2
host=$3
shot=$4
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

read -r wire control <"$state/ports"
"$here/../../../cmake/wine-run.sh" "$rig" explorer /desktop=shell,1024x768 "Z:$host" "$wire" "$control" \
  "Z:$work/ready" "Z:$work/quit" >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 1 300); do
  [ -f "$work/ready" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
status=1
if [ -f "$work/ready" ]; then
  . "$here/../../../cmake/wine-env.sh" "$rig"
  sleep 0.5
  import -window root "$shot" && status=0
fi
touch "$work/quit"
wait "$pid"
cat "$work/out"
cat "$work/err" >&2
[ "$status" -eq 0 ] || { echo "no screenshot"; exit 1; }
grep -q "^tray icon: present" "$work/out" || { echo "tray icon missing"; exit 1; }
grep -q "^exit 0" "$work/out"
