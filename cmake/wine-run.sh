#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the rig's private prefix.
# Usage: wine-run.sh RIG_DIR PROGRAM [ARGS...]   (the ctest emulator)
set -u
rig=$1; shift
# shellcheck source=wine-env.sh
. "$(dirname "$0")/wine-env.sh" "$rig"
exec wine "$@" </dev/null
