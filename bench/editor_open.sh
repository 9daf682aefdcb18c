#!/usr/bin/env bash
# Editor load benchmark: opening a 1 MB text file in the editor against the
# rich edit control's own load of the same file, side by side under Wine;
# the budget is 1.1 times the control's load. Builds what is missing first.
# Usage: bash bench/editor_open.sh [rounds] [bytes]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target editor_open_bench_win >/dev/null

. scripts/wine-env.sh bench-editor
trap '. scripts/wine-stop.sh' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
wine "$BUILD/win/editor_open_bench_win.exe" "${1:-3}" "${2:-1000000}" </dev/null 2>&1 | tr -d '\r'
