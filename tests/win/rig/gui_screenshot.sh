#!/usr/bin/env bash
# Runs a window test host in a Wine desktop with its shell (which draws window
# frames and holds the tray), takes a screenshot once the host is ready, then
# lets it quit and prints its output. The host gets two more arguments, its
# ready file and its quit file; a ready file whose first line is a geometry
# (WxH+X+Y) crops the screenshot to it. Succeeds when the screenshot was taken
# and the host printed "exit 0".
#   gui_screenshot.sh RIG_DIR SCREENSHOT HOST_EXE [HOST_ARGS...]
set -u
rig=$1
shot=$2
host=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$here/../../../cmake/wine-run.sh" "$rig" explorer /desktop=shell,1024x768 "Z:$host" "$@" \
  "Z:$work/ready" "Z:$work/quit" >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 1 300); do
  [ -s "$work/ready" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
status=1
if [ -s "$work/ready" ]; then
  . "$here/../../../cmake/wine-env.sh" "$rig"
  sleep 0.5
  crop=()
  geometry=$(head -n 1 "$work/ready" | tr -d "\r")
  [[ "$geometry" =~ ^[0-9]+x[0-9]+\+[0-9]+\+[0-9]+$ ]] && crop=(-crop "$geometry" +repage)
  import -window root "${crop[@]}" "$shot" && status=0
fi
touch "$work/quit"
wait "$pid"
cat "$work/out"
cat "$work/err" >&2
[ "$status" -eq 0 ] || { echo "no screenshot"; exit 1; }
grep -q "^exit 0" "$work/out"
