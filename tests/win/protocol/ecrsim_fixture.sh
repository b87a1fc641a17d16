#!/usr/bin/env bash
# Starts the register simulator (its win32 build, under the rig's Wine) on free
# loopback ports for the tests, and stops it again.
#   ecrsim_fixture.sh up STATE_DIR RIG_DIR ECRSIM_EXE   -> STATE_DIR/ports: "WIRE CONTROL"
#   ecrsim_fixture.sh down STATE_DIR RIG_DIR
# With socat present it also bridges a pseudo-terminal to the wire port and
# links it as COM40 of the prefix, so the serial path reaches the same simulator.
set -u
action=$1
state=$2
rig=$3
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$state"

serial_com=com40

stop_bridge() {
  [ -f "$state/socat.pid" ] && kill "$(cat "$state/socat.pid")" 2>/dev/null
  rm -f "$state/socat.pid"
  . "$here/../../../cmake/wine-env.sh" "$rig"
  rm -f "$WINEPREFIX/dosdevices/$serial_com"
}

start_bridge() {
  command -v socat >/dev/null || return 0
  local wire=$1
  setsid socat PTY,link="$state/tty",raw,echo=0 TCP:127.0.0.1:"$wire" </dev/null >/dev/null 2>"$state/socat.err" &
  echo $! >"$state/socat.pid"
  for _ in $(seq 1 50); do
    [ -e "$state/tty" ] && break
    sleep 0.1
  done
  . "$here/../../../cmake/wine-env.sh" "$rig"
  ln -sfn "$(readlink -f "$state/tty")" "$WINEPREFIX/dosdevices/$serial_com"
}

stop_sim() {
  stop_bridge
  [ -f "$state/pid" ] || return 0
  local pid
  pid=$(cat "$state/pid")
  if [ -f "$state/ports" ]; then
    local control
    control=$(cut -d' ' -f2 "$state/ports")
    (exec 3<>"/dev/tcp/127.0.0.1/$control" && printf 'stop\n' >&3 && timeout 2 head -n1 <&3 >/dev/null) 2>/dev/null
  fi
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null
  rm -f "$state/pid" "$state/ports"
}

case "$action" in
  up)
    exe=$4
    stop_sim
    rm -f "$state/out"
    setsid "$here/../../../cmake/wine-run.sh" "$rig" "$exe" --port 0 --control 0 \
      </dev/null >"$state/out" 2>"$state/err" &
    echo $! >"$state/pid"
    for _ in $(seq 1 300); do
      wire=$(sed -n 's/^ecrsim wire port \([0-9]*\).*/\1/p' "$state/out")
      control=$(sed -n 's/^ecrsim control port \([0-9]*\).*/\1/p' "$state/out")
      if [ -n "$wire" ] && [ -n "$control" ]; then
        echo "$wire $control" >"$state/ports"
        start_bridge "$wire"
        exit 0
      fi
      kill -0 "$(cat "$state/pid")" 2>/dev/null || break
      sleep 0.1
    done
    echo "ecrsim did not start:" >&2
    cat "$state/err" >&2
    stop_sim
    exit 1
    ;;
  down)
    stop_sim
    exit 0
    ;;
  *)
    echo "usage: ecrsim_fixture.sh up|down STATE_DIR RIG_DIR [ECRSIM_EXE]" >&2
    exit 2
    ;;
esac
