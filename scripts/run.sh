#!/usr/bin/env bash
# Builds Pendra.exe and starts it under Wine on Linux: on the user's display,
# or in an Xvfb of its own when there is none. Installs missing Debian
# packages first. The program's data files land beside the executable, in
# build/win.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}

. scripts/deps.sh
pendra_install_deps

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target Pendra

# The user's display when there is one; an Xvfb of its own otherwise.
unset PENDRA_OWN_XVFB PENDRA_XVFB_PID
trap '. scripts/wine-stop.sh' EXIT
. scripts/wine-env.sh run || exit 1
echo "Pendra runs on DISPLAY=$DISPLAY; end it from its menu (Exit Pendra) or with Ctrl+C." >&2
wine "$BUILD/win/Pendra.exe"
