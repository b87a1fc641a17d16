#!/usr/bin/env bash
# Runs examples/session.vbs with Wine's cscript against the product server and
# the simulator of the ecrsim fixture: configures logical port 972 on the
# simulator, registers Ravelin.exe, sends one data-collection line once the
# script waits for it, and passes when the script reports "SESSION OK" and the
# simulator printed the script's receipt.
#   vbscript_session.sh RIG_DIR ECRSIM_STATE_DIR BIN_DIR SCRIPT
set -u
rig=$1
state=$2
bin=$3
script=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../cmake/wine-env.sh" "$rig"

port=972
key="HKLM\\Software\\Velmora\\Drivers\\Corvane\\FirmwareA\\Ports\\$port"
read -r wire control <"$state/ports" || { echo "no simulator ports" >&2; exit 1; }
out=$(mktemp)
trap 'rm -f "$out"; wine reg delete "$key" /f </dev/null >/dev/null 2>&1' EXIT

add_value() { wine reg add "$key" /v "$1" /d "$2" /f </dev/null >/dev/null 2>&1; }
add_value PortType EthernetHostPC
add_value ECRIP 127.0.0.1
add_value ECRPortNumber "$wire"
add_value AnswerTimeout 800
wine "$bin/Ravelin.exe" /RegServer </dev/null >/dev/null 2>&1 || { echo "registration failed" >&2; exit 1; }

# Prints the reply lines of one control command up to its "OK".
control_command() {
  (exec 3<>"/dev/tcp/127.0.0.1/$control" && printf '%s\n' "$1" >&3 &&
    timeout 5 sed -u -e 's/\r$//' -e '/^OK$/q' <&3 | sed '/^OK$/d') 2>/dev/null
}
control_command "register 1 t72" >/dev/null  # a fresh register: nothing printed before

wine cscript //nologo "$(winepath -w "$script")" "$port" </dev/null >"$out" 2>&1 &
pid=$!
# The script prints its configuration value once its event mask is set.
for _ in $(seq 1 200); do
  grep -q "EcrConfVal" "$out" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
(exec 3<>"/dev/tcp/127.0.0.1/$control" && printf 'event 1 88 53414C4520312C3530\n' >&3 &&
  timeout 2 head -n1 <&3 >/dev/null) 2>/dev/null
wait "$pid"
cat "$out"
printout=$(control_command "print 1")
echo "--- what the simulator printed"
echo "$printout"
grep -q "^SODataX register 1: SALE 1,50" "$out" || { echo "the data line did not arrive" >&2; exit 1; }
grep -q "^PANE  *5.00$" <<<"$printout" && grep -q "^RESTO  *3.80$" <<<"$printout" ||
  { echo "the receipt was not printed" >&2; exit 1; }
grep -q "^SESSION OK" "$out"
