#!/usr/bin/env bash
# Builds the program and starts it under Wine, beside stand-in driver files.
# Uses the display in $DISPLAY, or a virtual one (Xvfb) when there is none.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target OrvaSetup

. scripts/wine-env.sh
# A 32-bit prefix: there the program installs the x86 driver, which Wine's
# spooler serves completely.
prefix="$root/build/win32/wineprefix-run-win32"
if [ -n "${DISPLAY:-}" ]; then
  wine_prefix_ensure "$prefix" display
  wine_server_ensure "$prefix"
  echo "Starting the wizard on $DISPLAY"
else
  wine_up "$prefix" x11
  echo "No display: the wizard runs on the virtual display $DISPLAY."
  echo "Take a picture with: import -display $DISPLAY -window root shot.png"
fi
trap 'wine_down "$prefix"' EXIT
cd build/win32/dist
WINEPREFIX="$prefix" wine OrvaSetup.exe
