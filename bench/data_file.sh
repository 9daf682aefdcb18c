#!/usr/bin/env bash
# Data file save benchmark: a 100 KB page replaced plainly, saved with the
# look before writing, and saved keeping a copy in Backup, side by side under
# Wine; budgets 1.3 times the save without a copy for the save with one, 1 ms
# for the look.
# Builds what is missing first.
# Usage: bash bench/data_file.sh [rounds] [bytes]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target data_file_bench_win >/dev/null

. scripts/wine-env.sh bench
trap '. scripts/wine-stop.sh' EXIT
wine "$BUILD/win/data_file_bench_win.exe" "${1:-101}" "${2:-102400}" </dev/null 2>&1 | tr -d '\r'
