#!/usr/bin/env bash
# The mail tests' private SMTP peer: Postfix with Cyrus SASL on free loopback
# ports, its own configuration, queue, log, sasldb and test certificates.
#   smtp_peer.sh up DIR     make everything, start the server, prove it with swaks
#   smtp_peer.sh down DIR   stop the server this script started, remove its run folder
# "up" writes DIR/peer.env (NAME=value lines: the listeners' ports, the user,
# the password, the test CA, the Maildir of the one mailbox) for the tests.
# Mail to sink@quadrel.test is delivered into MAILDIR/new/, one file a message
# (virtual delivery, no system users). Postfix needs root: without it "up"
# writes DIR/skipped and the peer tests skip.
#
# Postfix's own daemons run as its user, which must reach the queue, the
# sasldb and the Maildir: those live in a run folder of their own under a
# world-traversable temporary folder (named in DIR/run), whatever the
# permissions above DIR. The log stays in DIR/log (written as root).
set -euo pipefail

action=${1:?up or down}
base=$(realpath -m "${2:?peer folder}")
master=/usr/lib/postfix/sbin/master
user=tim
password=tanstaaftanstaaf
realm=quadrel.test
run_prefix=quadrel-smtp-peer.
# The master ends by itself after this many seconds if "down" never comes.
lifetime=1800
# Free ports can be taken between choosing and binding them: start again with others.
start_attempts=3

say() { printf 'smtp-peer: %s\n' "$*"; }

stop_server() {
  if [ -f "$base/master.pid" ]; then
    kill -- "-$(cat "$base/master.pid")" 2>/dev/null || true
    rm -f "$base/master.pid"
  fi
  if [ -f "$base/run" ]; then
    local run
    run=$(cat "$base/run")
    # Only a folder this script made.
    case $(basename "$run") in "$run_prefix"*) rm -rf "$run" ;; esac
    rm -f "$base/run"
  fi
}

# True when every folder from $1 up to / lets others pass through.
traversable() {
  local dir=$1
  while :; do
    [ -d "$dir" ] || return 1
    case $(stat -c %A "$dir") in *[xt]) ;; *) return 1 ;; esac
    [ "$dir" = / ] && return 0
    dir=$(dirname "$dir")
  done
}

if [ "$action" = down ]; then
  stop_server
  exit 0
fi

stop_server
rm -rf "$base"
mkdir -p "$base"
if [ "$(id -u)" -ne 0 ]; then
  say "not root: the peer tests skip"
  touch "$base/skipped"
  exit 0
fi

tmp=""
for candidate in "${TMPDIR:-}" /tmp /var/tmp; do
  if [ -n "$candidate" ] && traversable "$candidate"; then tmp=$candidate; break; fi
done
[ -n "$tmp" ] || { say "no temporary folder that Postfix's user can reach"; exit 1; }
run=$(mktemp -d "$tmp/${run_prefix}XXXXXX")
echo "$run" >"$base/run"
chmod 755 "$run"

etc=$run/etc sasl=$run/etc/sasl tls=$run/tls log=$base/log
mkdir -p "$etc" "$sasl" "$tls" "$log" "$run/queue" "$run/data" "$run/mail"
chown postfix "$run/data" "$run/mail"

# ---- certificates: a test CA, the server (localhost, 127.0.0.1), a wrong name
# signed by the CA, and a self-signed one. EC keys are fast to make.
make_key() { openssl ecparam -name prime256v1 -genkey -noout -out "$1" 2>/dev/null; }
make_key "$tls/ca.key"
openssl req -x509 -new -key "$tls/ca.key" -subj "/CN=Quadrel Test CA" -days 30 \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
  -out "$tls/ca.pem" 2>/dev/null
issue() {  # name subject-alt-names [self]
  make_key "$tls/$1.key"
  if [ "${3:-}" = self ]; then
    openssl req -x509 -new -key "$tls/$1.key" -subj "/CN=localhost" -days 30 \
      -addext "subjectAltName=$2" -out "$tls/$1.pem" 2>/dev/null
  else
    openssl req -new -key "$tls/$1.key" -subj "/CN=${1}" -out "$tls/$1.csr" 2>/dev/null
    openssl x509 -req -in "$tls/$1.csr" -CA "$tls/ca.pem" -CAkey "$tls/ca.key" -CAcreateserial \
      -days 30 -extfile <(printf 'subjectAltName=%s\nextendedKeyUsage=serverAuth\n' "$2") \
      -out "$tls/$1.pem" 2>/dev/null
  fi
}
issue server "DNS:localhost,IP:127.0.0.1"
issue wrongname "DNS:wrong.example"
issue selfsigned "DNS:localhost,IP:127.0.0.1" self
chmod 644 "$tls"/*.pem
chmod 600 "$tls"/*.key

# ---- SASL: one sasldb, one application file per mechanism list, in the
# configuration folder's sasl/, where Debian's smtpd looks whatever
# cyrus_sasl_config_path says.
echo -n "$password" | saslpasswd2 -p -c -f "$sasl/sasldb2" -u "$realm" "$user"
chown root:postfix "$sasl/sasldb2"
chmod 640 "$sasl/sasldb2"
chmod 755 "$sasl"
sasl_app() {  # name mechanisms...
  local app=$1; shift
  printf 'pwcheck_method: auxprop\nauxprop_plugin: sasldb\nsasldb_path: %s\nmech_list: %s\n' \
    "$sasl/sasldb2" "$*" >"$sasl/$app.conf"
}
sasl_app smtpd-all LOGIN PLAIN CRAM-MD5 DIGEST-MD5
sasl_app smtpd-login LOGIN
sasl_app smtpd-plain PLAIN
sasl_app smtpd-cram CRAM-MD5
sasl_app smtpd-digest DIGEST-MD5

listeners=(STARTTLS LOGIN PLAIN CRAM DIGEST IMPLICIT TLSAUTH SELFSIGNED WRONGNAME AUTHONLY)
declare -A port

cat >"$etc/main.cf" <<CF
compatibility_level = 3.6
queue_directory = $run/queue
data_directory = $run/data
maillog_file = $log/maillog
maillog_file_prefixes = $log
inet_interfaces = 127.0.0.1
inet_protocols = ipv4
myhostname = localhost
mydestination =
alias_maps =
alias_database =
smtpd_banner = \$myhostname ESMTP
smtpd_error_sleep_time = 0
smtpd_sasl_auth_enable = yes
smtpd_sasl_type = cyrus
cyrus_sasl_config_path = $sasl
smtpd_sasl_path = smtpd-all
smtpd_sasl_local_domain = $realm
smtpd_sasl_security_options = noanonymous
smtpd_tls_security_level = may
smtpd_tls_cert_file = $tls/server.pem
smtpd_tls_key_file = $tls/server.key
smtpd_tls_loglevel = 1
virtual_mailbox_domains = $realm
virtual_mailbox_base = $run/mail
virtual_mailbox_maps = texthash:$etc/vmailbox
virtual_minimum_uid = 1
virtual_uid_maps = static:$(id -u postfix)
virtual_gid_maps = static:$(id -g postfix)
CF
# copy@ lands in the same Maildir: a message to both arrives twice.
printf 'sink@%s sink/\ncopy@%s sink/\n' "$realm" "$realm" >"$etc/vmailbox"

# ---- listeners on free loopback ports.
choose_ports() {
  local ports i
  read -r -a ports < <(/usr/bin/python3 - "${#listeners[@]}" <<'PY'
import socket, sys
held = []
for _ in range(int(sys.argv[1])):
    s = socket.socket(); s.bind(("127.0.0.1", 0)); held.append(s)
print(" ".join(str(s.getsockname()[1]) for s in held))
PY
  )
  for i in "${!listeners[@]}"; do port[${listeners[$i]}]=${ports[$i]}; done
}

# No chroot anywhere: a chrooted smtpd cannot read the sasldb.
smtpd() {  # listener options...
  local name=$1; shift
  printf '127.0.0.1:%s inet n - n - - smtpd -o syslog_name=peer-%s' "${port[$name]}" "${name,,}"
  printf ' -o %s' "$@"
  printf '\n'
}
write_master_cf() {
  {
    smtpd STARTTLS smtpd_sasl_path=smtpd-all
    smtpd LOGIN smtpd_sasl_path=smtpd-login
    smtpd PLAIN smtpd_sasl_path=smtpd-plain
    smtpd CRAM smtpd_sasl_path=smtpd-cram
    smtpd DIGEST smtpd_sasl_path=smtpd-digest
    smtpd IMPLICIT smtpd_tls_wrappermode=yes
    smtpd TLSAUTH smtpd_tls_auth_only=yes
    smtpd SELFSIGNED smtpd_tls_cert_file="$tls/selfsigned.pem" smtpd_tls_key_file="$tls/selfsigned.key"
    smtpd WRONGNAME smtpd_tls_cert_file="$tls/wrongname.pem" smtpd_tls_key_file="$tls/wrongname.key"
    # Mail only after AUTH, even from loopback.
    smtpd AUTHONLY smtpd_relay_restrictions=permit_sasl_authenticated,reject \
      smtpd_recipient_restrictions=permit_sasl_authenticated,reject
    cat <<'MASTER'
pickup    unix  n       -       n       60      1       pickup
cleanup   unix  n       -       n       -       0       cleanup
qmgr      unix  n       -       n       300     1       qmgr
tlsmgr    unix  -       -       n       1000?   1       tlsmgr
rewrite   unix  -       -       n       -       -       trivial-rewrite
bounce    unix  -       -       n       -       0       bounce
defer     unix  -       -       n       -       0       bounce
trace     unix  -       -       n       -       0       bounce
verify    unix  -       -       n       -       1       verify
proxymap  unix  -       -       n       -       -       proxymap
error     unix  -       -       n       -       -       error
retry     unix  -       -       n       -       -       error
discard   unix  -       -       n       -       -       discard
anvil     unix  -       -       n       -       1       anvil
scache    unix  -       -       n       -       1       scache
virtual   unix  -       n       n       -       -       virtual
postlog   unix-dgram n  -       n       -       1       postlogd
MASTER
  } >"$etc/master.cf"
}

# True when the master holds every listener: a port someone else took would
# accept connections too.
listening() {
  local pid=$1 sockets name
  sockets=$(ss -Hltnp) || return 1
  for name in "${listeners[@]}"; do
    grep -q "127\.0\.0\.1:${port[$name]} .*pid=$pid," <<<"$sockets" || return 1
  done
}

# Starts the master and waits until it listens on every port; 1 when it ended
# (a port taken meanwhile ends it).
start_master() {
  local pid
  setsid "$master" -c "$etc" -d -e "$lifetime" </dev/null >>"$log/master.out" 2>&1 &
  pid=$!
  echo "$pid" >"$base/master.pid"
  for _ in $(seq 100); do
    listening "$pid" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  say "listeners not ready within 10 s"
  exit 1
}

# Why the master ended: its own lines of the log, and the listeners another
# process holds (a bind failure comes before its logging starts).
explain_exit() {
  local sockets name
  grep -h -e '/master\[' -e 'fatal:' "$log"/maillog* "$log/master.out" 2>/dev/null | tail -n 20 || true
  sockets=$(ss -Hltnp 2>/dev/null) || return 0
  for name in "${listeners[@]}"; do
    grep "127\.0\.0\.1:${port[$name]} " <<<"$sockets" | sed "s/^/  port of $name taken: /" || true
  done
}

started=0
for attempt in $(seq "$start_attempts"); do
  choose_ports
  write_master_cf
  # A freshly written main.cf stalls every Postfix command for about 2 s.
  touch -d '-1 minute' "$etc/main.cf" "$etc/master.cf" "$etc/vmailbox"
  postfix -c "$etc" check >>"$log/setup.log" 2>&1 || { say "postfix check failed"; cat "$log/setup.log"; exit 1; }
  if start_master; then started=1; break; fi
  rm -f "$base/master.pid"
  say "master exited (attempt $attempt of $start_attempts):"
  explain_exit
done
[ $started = 1 ] || exit 1

# swaks proves the peer: each mechanism authenticates on its own listener.
prove() {  # listener mechanism [swaks options]
  local name=$1 mech=$2; shift 2
  if ! swaks --server 127.0.0.1 --port "${port[$name]}" --quit-after AUTH --auth "$mech" \
       --auth-user "$user" --auth-password "$password" "$@" >>"$log/swaks.log" 2>&1; then
    say "swaks: $mech on $name failed (see $log/swaks.log)"
    exit 1
  fi
}
prove LOGIN LOGIN
prove PLAIN PLAIN
prove CRAM CRAM-MD5
prove DIGEST DIGEST-MD5
prove TLSAUTH PLAIN --tls
if swaks --server 127.0.0.1 --port "${port[AUTHONLY]}" --to "sink@$realm" --quit-after RCPT \
     >>"$log/swaks.log" 2>&1; then
  say "AUTHONLY took a recipient without AUTH"
  exit 1
fi

{
  for name in "${listeners[@]}"; do echo "PORT_$name=${port[$name]}"; done
  echo "SASL_USER=$user"
  echo "SASL_PASSWORD=$password"
  echo "CA_FILE=$tls/ca.pem"
  echo "MAILLOG=$log/maillog"
  echo "MAILBOX=sink@$realm"
  echo "MAILDIR=$run/mail/sink"
} >"$base/peer.env"
say "up in $base"
