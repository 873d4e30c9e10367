#!/usr/bin/env bash
# Builds everything and runs every test: the portable rules natively, the
# Windows program and its tests under Wine (prefixes inside build/win32).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

bash scripts/setup.sh

jobs="$(nproc)"
start=$(date +%s)

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

. scripts/wine-env.sh
cleanup() {
  for prefix in build/win32/wineprefix-win64 build/win32/wineprefix-win32; do
    wine_down "$root/$prefix"
  done
}
trap cleanup EXIT

status=0
ctest --preset native -j "$jobs" || status=1
ctest --preset win32 -j "$jobs" || status=1

echo "Screenshots and other test artifacts: build/win32/artifacts"
echo "All builds and tests took $(( $(date +%s) - start )) s"
exit "$status"
