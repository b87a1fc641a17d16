#!/usr/bin/env bash
# Shows the driver window on the rig's display with traffic and events, takes
# a screenshot of the whole screen, and checks what the host reported (bare
# Xvfb has no notification area; the Wine desktop's taskbar holds the tray).
#   driver_window_gui.sh RIG_DIR ECRSIM_STATE_DIR HOST_EXE SCREENSHOT
set -u
rig=$1
state=$2
host=$3
shot=$4
here=$(cd "$(dirname "$0")" && pwd)

read -r wire control <"$state/ports"
output=$("$here/../rig/gui_screenshot.sh" "$rig" "$shot" "$host" "$wire" "$control") || { echo "$output"; exit 1; }
echo "$output"
grep -q "^tray icon: present" <<<"$output" || { echo "tray icon missing"; exit 1; }
