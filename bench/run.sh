#!/usr/bin/env bash
# Benchmarks the wizard under Wine, in the tests' 32-bit prefix, and prints
# the figures side by side with their targets. Medians over RUNS runs.
#   bench/run.sh [RUNS]     (default 15)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
runs="${1:-15}"

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target OrvaSetup bare_dialog bench_driver >/dev/null

. scripts/wine-env.sh
prefix="$root/build/win32/wineprefix-win32"
wine_up "$prefix" x11
trap 'wine_down "$prefix"' EXIT
run() { WINEPREFIX="$prefix" wine "$@" </dev/null 2>/dev/null | tr -d '\r'; }

dist="Z:$root/build/win32/dist"
bench="Z:$root/build/win32/bench"
exe="$root/build/win32/dist/OrvaSetup.exe"

# One untimed round first, so that neither side pays for a cold cache.
run "$bench/bench_driver.exe" startup "$bench/bare_dialog.exe" "Bare dialog" 1 >/dev/null
run "$bench/bench_driver.exe" startup "$dist/OrvaSetup.exe" "Select OS (x86/x64)" 1 >/dev/null

floor=$(run "$bench/bench_driver.exe" startup "$bench/bare_dialog.exe" "Bare dialog" "$runs" | awk '/startup_ms/ {print $2}')
wizard=$(run "$bench/bench_driver.exe" startup "$dist/OrvaSetup.exe" "Select OS (x86/x64)" "$runs" | awk '/startup_ms/ {print $2}')
install_out=$(run "$bench/bench_driver.exe" install "$dist/OrvaSetup.exe" "$runs")
install=$(echo "$install_out" | awk '/install_ms/ {print $2}')
peak=$(echo "$install_out" | awk '/peak_working_set_kb/ {print $2}')
size=$(stat -c %s "$exe")
imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}' | paste -sd, -)

ratio=$(awk -v a="$wizard" -v b="$floor" 'BEGIN { printf "%.2f", a / b }')
echo
echo "Machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(wine --version), $runs runs each"
printf '%-44s %14s %14s\n' "measure" "value" "target"
printf '%-44s %11s ms %14s\n' "(a) start to first page: bare dialog (floor)" "$floor" ""
printf '%-44s %11s ms %14s\n' "(a) start to first page: wizard" "$wizard" ""
printf '%-44s %14s %14s\n' "(a) ratio wizard / floor" "$ratio" "<= 1.20"
printf '%-44s %11s ms %14s\n' "(b) install, less the 500 ms pause" "$install" "< 100 ms"
printf '%-44s %11s KB %14s\n' "(c) program size" "$((size / 1024))" "< 400 KB"
printf '%-44s %14s\n' "(c) imports" "$imports"
printf '%-44s %11s KB\n' "(d) peak working set" "$peak"
