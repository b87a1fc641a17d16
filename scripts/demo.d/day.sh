# shellcheck shell=bash
# Sourced by scripts/demo: the shop's day the client runs (session.vbs reads
# it as a day file) and what each step's output must show. The variables it
# reads are the demo's.
# shellcheck disable=SC2154

# The day's lines; the mail steps only where the private Postfix runs.
# Uses: mail_up, SASL_USER, SASL_PASSWORD, MAILBOX, PORT_AUTHONLY, journal_date.
write_day() {
  local mail_server="#4, #5='$SASL_USER', #6='$SASL_PASSWORD', #7='till@quadrel.test', #9='127.0.0.1', #10=$PORT_AUTHONLY, #11=1"
  cat <<DAY
STEP programming
APRIPROG FUNZIONE
IVA NUMERO=1, ALIQUOTA=22.00
IVA NUMERO=2, ALIQUOTA=10.00
REPARTO NUMERO=1, DESCRIZ='PANETTERIA', CIFRA5=1
REPARTO NUMERO=2, DESCRIZ='BEVANDE', CIFRA5=2
CHIUDIPROG
STEP receipt 1
CHIAVE R
VENDITA REPARTO=1, PREZZO=2.50, QUANTITA=2, DESCRIZ='PANE'
VENDITA REPARTO=2, PREZZO=1.20, DESCRIZ='LATTE'
IMPORTO33 IMPORTO=0.70
PAGA IMPORTO=10
STEP receipt 2
VENDITA REPARTO=1, PREZZO=3.40, DESCRIZ='FOCACCIA'
VENDITA REPARTO=2, PREZZO=0.90, DESCRIZ='ACQUA'
PAGA IMPORTO=5
STEP register event
WAIT EVENT
STEP journal
#72 #13, #1=$journal_date, #6='journal.txt'
STEP totals
SCARICA ARCHIVIO=99, NOMEFILE='totals.txt'
DAY
  if [ "$mail_up" = 1 ]; then
    echo "STEP receipt mail"
    echo "#75 #3, #4='$SASL_USER', #5='$SASL_PASSWORD', #6='till@quadrel.test', #7='$MAILBOX', #9=$PORT_AUTHONLY, #10=1, #12='+390550000'"
    echo "STEP closure mail"
    echo "#120 $mail_server, #8='$MAILBOX;', #12='closure of the demo day'"
  fi
  cat <<DAY
STEP closure
#27
STEP xml
#121 #6
#121 #3=1
DAY
}

# The session's output lines of one step (the marker excluded).
step_output() { awk -v step="STEP $1" '/^STEP / { inside = ($0 == step); next } /^(Close|SESSION)/ { inside = 0 } inside' "$session_out"; }

# Every command of the step answered 0.
commands_ok() {
  ! step_output "$1" | sed -n 's/^EcrCmd ".*": \(-\{0,1\}[0-9]*\) .*/\1/p' | grep -qv '^0$'
}

# The printout split into documents: each ends with a rule or a blank run.
printed_document() { awk -v n="$1" 'BEGIN { d = 1 } d == n { print } /^-+$/ { d++ }' <<<"$printout"; }

# Sum of the receipts' "TOTALE" lines in hundredths.
receipts_total() {
  awk '/^TOTALE / { split($NF, p, "."); sum += p[1] * 100 + p[2] } END { print sum + 0 }' <<<"$1"
}

# A file 99 line's field as a number of hundredths (BCD digits, sign D).
totals_field() {
  awk -F',' -v key="$1" -v field="$2" '$1 == key { v = $field; sub(/^D/, "-", v); print v + 0; exit }' "$3"
}

# The mail a step sent: the delivered file carrying `marker`, within 20 s.
delivered_mail() {
  local marker=$1 file
  for _ in $(seq 1 100); do
    file=$(grep -l -- "$marker" "$MAILDIR"/new/* 2>/dev/null | head -n 1)
    [ -n "$file" ] && { echo "$file"; return 0; }
    sleep 0.2
  done
  return 1
}

show_mail() {
  local attachments
  sed -e '/^\r\{0,1\}$/q' -e 's/\r$//' -e 's/^/      /' "$1" | grep -E '^      (From|To|Subject|Date|X-Mailer|Content-Type):'
  attachments=$(grep -o 'filename="[^"]*"' "$1" | tr '\n' ' ')
  echo "      attachments: ${attachments:-none}"
}
