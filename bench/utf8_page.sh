#!/usr/bin/env bash
# UTF-8 page benchmark: loading a 1 MB UTF-8 page in the notebook against the
# rich edit control's own load of the same text, side by side in one run under
# Wine; medians, and the budget of 10 % over the control's load. Builds what
# is missing first. Each round runs in a process of its own.
# Usage: bash bench/utf8_page.sh [rounds] [page bytes]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target utf8_page_bench_win >/dev/null

. scripts/wine-env.sh bench-utf8
trap '. scripts/wine-stop.sh' EXIT
wine "$BUILD/win/utf8_page_bench_win.exe" "${1:-7}" "${2:-1048576}" </dev/null 2>&1 | tr -d '\r'
