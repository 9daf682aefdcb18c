#!/usr/bin/env bash
# To-do list benchmark: add, remove and the four moves on the real window
# with 10 items and with 10,000, under Wine; budget 100 ms more for the long
# list. Builds what is missing first.
# Usage: bash bench/todo.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target todo_bench_win >/dev/null

. scripts/wine-env.sh bench
trap '. scripts/wine-stop.sh' EXIT
wine "$BUILD/win/todo_bench_win.exe" "${1:-21}" </dev/null 2>&1 | tr -d '\r'
