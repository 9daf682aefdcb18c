#!/usr/bin/env bash
# Refreshes the pictures of the user's guide (docs/pictures) from the real
# windows, as the layout tests draw them at 100 % (96 DPI).
#
# Usage: bash scripts/guide-pictures.sh [folder]
#   With a folder (such as build/screenshots/96 after scripts/test.sh) the
#   pictures are taken from there; without one the layout tests run first, in
#   a Wine prefix and an Xvfb of their own.
# Each picture the guide shows (docs/user-guide.md) comes from the window
# picture of the same name, stored as it is as a PNG: a window has few
# colours, so that takes a few KB, and the same window gives the same file.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${PENDRA_BUILD:-$ROOT/build}
FROM=${1:-}

if [ -z "$FROM" ]; then
  . scripts/deps.sh
  pendra_install_deps
  mkdir -p "$BUILD"
  { cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake &&
    cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target win_tests; } >"$BUILD/build-guide.log" 2>&1 ||
    { tail -n 40 "$BUILD/build-guide.log"; exit 1; }
  FROM=$BUILD/guide-screenshots
  rm -rf "$FROM"
  mkdir -p "$FROM"
  export PENDRA_OWN_XVFB=1 PENDRA_WINEPREFIX="${TMPDIR:-/tmp}/pendra-wine-guide-$$"
  unset PENDRA_XVFB_PID
  trap '. scripts/wine-stop.sh; rm -rf "$PENDRA_WINEPREFIX"' EXIT
  . scripts/wine-env.sh guide
  PENDRA_SCREENSHOTS="Z:${FROM//\//\\}" wine "$BUILD/win/win_tests.exe" \
    '--gtest_filter=DpiLayoutTest.*' --gtest_brief=1 </dev/null
fi

mkdir -p docs/pictures
status=0
for name in $(grep -o 'pictures/[a-z0-9-]*\.png' docs/user-guide.md | sed 's|pictures/||; s|\.png$||' | sort -u); do
  source=
  for candidate in "$FROM/$name-96.bmp" "$FROM/$name-96.png"; do
    [ -f "$candidate" ] && source=$candidate && break
  done
  if [ -z "$source" ]; then
    echo "guide-pictures: no picture $name-96 in $FROM" >&2
    status=1
    continue
  fi
  convert "$source" -strip "docs/pictures/$name.png"
  echo "docs/pictures/$name.png: $(stat -c %s "docs/pictures/$name.png") bytes"
done
exit $status
