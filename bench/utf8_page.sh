#!/usr/bin/env bash
# Page load benchmark: loading a 1 MB page (UTF-8 with the mark, the code
# page, or UTF-16 with the mark) in the notebook against the rich edit
# control's own load of the same text, side by side in one run under Wine;
# medians, and the budget of 10 % over the control's load. Builds what is
# missing first. Each round runs in a process of its own.
# Usage: bash bench/utf8_page.sh [rounds] [page bytes] [utf8|codepage|utf16]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target utf8_page_bench_win >/dev/null

. scripts/wine-env.sh bench-utf8
trap '. scripts/wine-stop.sh' EXIT
wine "$BUILD/win/utf8_page_bench_win.exe" "${1:-7}" "${2:-1048576}" "${3:-utf8}" </dev/null 2>&1 | tr -d '\r'
