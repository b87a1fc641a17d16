# shellcheck shell=bash
# Sourced by scripts/demo: talks to ecrsim's control channel.
# sim_control PORT COMMAND -> prints the reply lines before "OK"; returns 1 on
# "ERROR ..." (printed too), a refused connection or 5 s of silence.
sim_control() {
  local port=$1 command=$2 fd line
  exec {fd}<>"/dev/tcp/127.0.0.1/$port" || return 1
  printf '%s\n' "$command" >&"$fd"
  while IFS= read -r -t 5 line <&"$fd"; do
    line=${line%$'\r'}
    case $line in
      OK)
        exec {fd}>&-
        return 0
        ;;
      ERROR*)
        echo "$line"
        exec {fd}>&-
        return 1
        ;;
    esac
    echo "$line"
  done
  exec {fd}>&-
  return 1
}
