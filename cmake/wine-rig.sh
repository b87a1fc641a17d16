#!/usr/bin/env bash
# The Wine test rig: "up" starts a private Xvfb and a persistent wineserver on a
# private prefix (created once, kept in the build folder); "down" stops exactly
# those two. Usage: wine-rig.sh up|down RIG_DIR
set -u
action=$1
rig=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$rig"

start_xvfb() {
  local n
  for n in $(seq 91 160); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    local pid=$!
    local tries
    for tries in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      echo "$pid" >"$rig/xvfb.pid"
      echo ":$n" >"$rig/display"
      return 0
    fi
  done
  echo "wine-rig: no free X display" >&2
  return 1
}

stop_xvfb() {
  if [ -f "$rig/xvfb.pid" ]; then
    kill "$(cat "$rig/xvfb.pid")" 2>/dev/null
    rm -f "$rig/xvfb.pid" "$rig/display"
  fi
}

case "$action" in
  up)
    stop_xvfb
    start_xvfb || exit 1
    . "$here/wine-env.sh" "$rig"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      rm -rf "$WINEPREFIX"
      timeout 120 wineboot -i </dev/null >/dev/null 2>&1
      timeout 60 wineserver -w
    fi
    # A persistent server with its output away from ctest's pipe, then one
    # trivial program so the prefix's background processes are up before tests.
    wineserver -p </dev/null >/dev/null 2>&1
    timeout 60 wine cmd /c exit </dev/null >/dev/null 2>&1
    # The desktop process starts with the first program that needs a desktop
    # and keeps that program's output handles; start it here with none, so it
    # never holds a test's output pipe open after the test ends.
    timeout 60 wine rundll32.exe user32.dll,MessageBeep </dev/null >/dev/null 2>&1
    test -f "$WINEPREFIX/system.reg"
    ;;
  down)
    . "$here/wine-env.sh" "$rig"
    wineserver -k </dev/null >/dev/null 2>&1
    timeout 30 wineserver -w </dev/null >/dev/null 2>&1
    stop_xvfb
    exit 0
    ;;
  *)
    echo "usage: wine-rig.sh up|down RIG_DIR" >&2
    exit 2
    ;;
esac
