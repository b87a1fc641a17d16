# Sourced: sets the environment of the rig's private Wine prefix.
# Tests never touch ~/.wine; the menu builder is off so nothing lands in $HOME.
rig_dir=$1
export WINEPREFIX="$rig_dir/prefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -f "$rig_dir/display" ]; then
  DISPLAY=$(cat "$rig_dir/display")
  export DISPLAY
fi
