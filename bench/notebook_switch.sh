#!/usr/bin/env bash
# Notebook tab switch benchmark: switching between two tabs with 100 KB pages
# against the rich edit control's own load of the same text, side by side in
# one run under Wine; medians, and the budget of 10 % over the control's load.
# Builds what is missing first.
# Usage: bash bench/notebook_switch.sh [switches] [page bytes]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target notebook_switch_bench_win >/dev/null

. scripts/wine-env.sh bench
trap '. scripts/wine-stop.sh' EXIT
wine "$BUILD/win/notebook_switch_bench_win.exe" "${1:-20}" "${2:-102400}" </dev/null 2>&1 | tr -d '\r'
