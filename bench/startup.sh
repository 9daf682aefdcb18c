#!/usr/bin/env bash
# Start-up benchmark: Pendra.exe against a bare one-window program, start to
# idle under Wine, medians of interleaved runs. Builds what is missing first.
# Usage: bash bench/startup.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target Pendra bare_window_win startup_timer_win \
  >/dev/null

# Windows managed as under a desktop with a window manager: creating a
# top-level window costs less than with unmanaged windows.
export PENDRA_WINE_MANAGED=1
. scripts/wine-env.sh bench
trap '. scripts/wine-stop.sh' EXIT
wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f </dev/null >/dev/null 2>&1 || true
# One untimed start of Wine itself, so the first timed program does not pay
# for starting the Wine server.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
wine "$BUILD/win/startup_timer_win.exe" "$BUILD/win/Pendra.exe" "$BUILD/win/bare_window_win.exe" \
  "${1:-41}" </dev/null 2>&1 | tr -d '\r'
