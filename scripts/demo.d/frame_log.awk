# Makes ecrsim's frame log readable: "INDEX FRAME-HEX -> RESULT ANSWER-HEX"
# (or "-> none") becomes the frame's letter and its bytes in decimal, what it
# is, and the answer's letter, size and host result.
function hexbyte(text, i) {
  return (index("0123456789ABCDEF", substr(text, i, 1)) - 1) * 16 + \
         index("0123456789ABCDEF", substr(text, i + 1, 1)) - 1
}
function letter(b) { return (b >= 65 && b <= 90) ? sprintf("%c", b) : sprintf("0x%02X", b) }
function shown(hex, limit,   n, i, out) {
  n = length(hex) / 2
  if (n == 0) return "(empty)"
  # A memory read: address low, address high, byte count.
  if (hex ~ /^44/ && n == 4)
    return sprintf("D 0x%04X, %d bytes", hexbyte(hex, 3) + 256 * hexbyte(hex, 5), hexbyte(hex, 7))
  out = letter(hexbyte(hex, 1))
  for (i = 2; i <= n && i <= limit; i++) out = out " " hexbyte(hex, 2 * i - 1)
  if (n > limit) out = out sprintf(" ... (%d bytes)", n)
  return out
}
BEGIN {
  meaning["S"] = "status"; meaning["T"] = "identity"; meaning["D"] = "memory read"
  meaning["A"] = "keys"; meaning["C"] = "settings/card"; meaning["U"] = "information"
  meaning["O"] = "extended read"
}
# Runs of the same frame with the same reply (status polls) show as one line
# with the range of their indexes.
function flush() {
  if (count == 0) return
  range = count == 1 ? first : first "-" last
  repeats = count == 1 ? "" : sprintf(" (x%d)", count)
  printf "  %7s  %-24s %-14s -> %s%s\n", range, body_frame, body_what, body_reply, repeats
  count = 0
}
$3 == "->" {
  frame = toupper($2)
  what = meaning[letter(hexbyte(frame, 1))]
  if ($4 == "none") reply = "no answer"
  else if ($4 == "0") reply = sprintf("answer %s, %d bytes", letter(hexbyte(toupper($5), 1)), length($5) / 2)
  else reply = "host result " $4 ($5 == "" ? "" : ", answer " shown(toupper($5), 3))
  if (count > 0 && shown(frame, 8) == body_frame && reply == body_reply) {
    last = $1
    count++
    next
  }
  flush()
  first = last = $1
  body_frame = shown(frame, 8)
  body_what = what
  body_reply = reply
  count = 1
}
END { flush() }
