#!/usr/bin/env bash
# Long reminder lists: the first show of the reminder window and every list
# command with 100, 10,000 and 40,000 one-time reminders, side by side, against
# the goal (at most 150 ms more at 10,000 entries, 600 ms more at 40,000).
# Drives Pendra.exe under Wine; see bench/list_scale_win.cpp for the steps.
# Usage: bash bench/list_scale.sh [runs] [sizes...] [wide]
# ("wide": messages in Polish, Cyrillic, Japanese and an emoji, stored in UTF-8)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null 2>&1
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target Pendra list_scale_win >/dev/null

. scripts/wine-env.sh bench-scale
trap '. scripts/wine-stop.sh' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
wine "$BUILD/win/list_scale_win.exe" "$BUILD/win/Pendra.exe" "$@" </dev/null 2>&1 | tr -d '\r'
