#!/usr/bin/env bash
# Command 120 under Wine through Ravelin from the VBScript client
# examples/command_line.vbs: logical port
# 973 on the simulator of the ecrsim fixture, the test CA in the prefix's
# registry, the mail through the Postfix peer's AUTH-only listener. Passes
# when the script reports the answer "OK" and the peer delivered the mail.
#   mail_closure_vbscript.sh RIG_DIR ECRSIM_STATE_DIR BIN_DIR PEER_DIR
set -u
rig=$1
state=$2
bin=$3
peer=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../cmake/wine-env.sh" "$rig"
[ -f "$peer/skipped" ] && { echo "the Postfix peer needs root: skipped"; exit 0; }
. "$peer/peer.env"

port=973
key="HKLM\\Software\\Velmora\\Drivers\\Corvane\\FirmwareA"
read -r wire _ <"$state/ports" || { echo "no simulator ports" >&2; exit 1; }
note="sent by Ravelin $$"
trap 'wine reg delete "$key\\Ports\\$port" /f </dev/null >/dev/null 2>&1
      wine reg delete "$key" /v MailCAFile /f </dev/null >/dev/null 2>&1' EXIT

add_value() { wine reg add "$1" /v "$2" /d "$3" /f </dev/null >/dev/null 2>&1; }
add_value "$key\\Ports\\$port" PortType EthernetHostPC
add_value "$key\\Ports\\$port" ECRIP 127.0.0.1
add_value "$key\\Ports\\$port" ECRPortNumber "$wire"
add_value "$key" MailCAFile "$(winepath -w "$CA_FILE")"
wine "$bin/Ravelin.exe" /RegServer </dev/null >/dev/null 2>&1 || { echo "registration failed" >&2; exit 1; }

line="#120 #4, #5='$SASL_USER', #6='$SASL_PASSWORD', #7='till@quadrel.test', #8='$MAILBOX;',"
line+=" #9='127.0.0.1', #10=$PORT_AUTHONLY, #11=1, #12='$note'"
client=$(winepath -w "$here/../../../examples/command_line.vbs")
out=$(wine cscript //nologo "$client" "$port" "$line" </dev/null 2>&1 | tr -d "\r")
echo "$out"
grep -q "^EcrCmd: 0 OK$" <<<"$out" || exit 1
for _ in $(seq 1 100); do
  grep -l "^$note" "$MAILDIR"/new/* 2>/dev/null | xargs -r grep -l "X-Mailer: QDX ECR Velmora" | grep -q . && exit 0
  sleep 0.2
done
echo "the mail was not delivered" >&2
exit 1
