#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds everything and runs every test:
# the core tests natively with sanitizers, the core's fuzz targets for a
# bounded time each, then the Windows tests and the
# end-to-end tests of Pendra.exe under Wine, in one fresh Wine prefix. Ends
# with the line "N passed, N failed" and a non-zero exit status on any failure.
#
# The layout tests (named *Dpi*) run once more at 200 % (192 DPI); the
# pictures of the windows at 100 % and 200 % land in <build>/screenshots. The
# tests named *German* run once more under a German locale, those named
# *Japanese* under the Japanese code page 932, those named *Utf8CodePage* under
# UTF-8 as the code page (65001).
#
# Environment: PENDRA_BUILD (build folder, default ./build), PENDRA_JOBS
# (parallel build jobs, default 2), PENDRA_TEST_TIMEOUT (seconds per test
# executable, default 900), PENDRA_FUZZ_SECONDS (seconds per fuzz target,
# default 10), PENDRA_TEST_DISPLAY (an X display to run the
# Windows tests on; by default they run in an Xvfb of their own, whatever
# DISPLAY says, so the desktop they are started from plays no part).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${PENDRA_BUILD:-$ROOT/build}
JOBS=${PENDRA_JOBS:-2}
TIMEOUT=${PENDRA_TEST_TIMEOUT:-900}

. scripts/deps.sh
pendra_install_deps

mkdir -p "$BUILD"

# Builds quietly; shows the log when the build fails.
build() {
  local name=$1 dir=$2
  shift 2
  echo "== build $name"
  if ! { cmake -S . -B "$dir" -G Ninja "$@" && cmake --build "$dir" -j "$JOBS"; } \
      >"$BUILD/build-$name.log" 2>&1; then
    tail -n 60 "$BUILD/build-$name.log"
    echo "build $name failed (log: $BUILD/build-$name.log)"
    echo "0 passed, 1 failed"
    exit 1
  fi
}

build native "$BUILD/native" -DPENDRA_SANITIZE=ON
build windows "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake

PASSED=0
FAILED=0
SKIPPED=0
SUMMARY=()

# Runs one GoogleTest executable once and adds up its results. A run that
# ends without GoogleTest's closing summary ("[==========] N tests from M test
# suites ran.") crashed or was cut short, whatever its exit status (Wine can
# give 0 for a crashed program): it counts as one failure more, as does one
# that fails without a failed test.
run_suite() {
  local name=$1
  shift
  local log="$BUILD/test-$name.log"
  echo "== $name"
  local rc=0
  set +e
  # timeout runs the suite in a process group of its own. Whatever is left in
  # that group when the suite ends (a Pendra.exe that a crashed test started,
  # holding the output pipe) is ended, so the pipe closes and the run goes on.
  # The Wine server and its services run in sessions of their own and stay
  # for the next suites.
  (
    timeout -k 10 "$TIMEOUT" "$@" --gtest_brief=1 </dev/null 2>&1 &
    group=$!
    wait "$group"
    status=$?
    kill -KILL -- "-$group" 2>/dev/null
    exit "$status"
  ) | tr -d '\r' | tee "$log"
  rc=${PIPESTATUS[0]}
  set -e
  local p f s
  p=$(sed -n 's/^\[  PASSED  \] \([0-9][0-9]*\) test.*/\1/p' "$log" | tail -n 1)
  # Brief output has no closing list of failures: count the failed tests.
  f=$(grep -cE '^\[  FAILED  \] .* \([0-9]+ ms\)$' "$log" || true)
  s=$(sed -n 's/^\[  SKIPPED \] \([0-9][0-9]*\) test.*/\1/p' "$log" | tail -n 1)
  p=${p:-0}
  f=${f:-0}
  s=${s:-0}
  local summary=0
  grep -qE '^\[==========\] [0-9]+ tests? from [0-9]+ test suites? ran\.' "$log" && summary=1
  if [ "$summary" -eq 0 ] || { [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; }; then
    f=$((f + 1))
    if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
      echo "$name: timed out after $TIMEOUT s"
    elif [ "$summary" -eq 0 ]; then
      echo "$name: ended with exit status $rc without the closing test summary (a crash): counted as failed"
    else
      echo "$name: ended with exit status $rc without a test result"
    fi
  fi
  PASSED=$((PASSED + p))
  FAILED=$((FAILED + f))
  SKIPPED=$((SKIPPED + s))
  SUMMARY+=("$name: $p passed, $f failed, $s skipped")
}

run_suite core_tests "$BUILD/native/core_tests"

# The fuzz targets: each reader of outside data for a bounded time
# (PENDRA_FUZZ_SECONDS, default 10), each target one passed or failed test.
. scripts/fuzz.sh
if pendra_fuzz_available; then
  build fuzz "$BUILD/fuzz" "${PENDRA_FUZZ_CMAKE_OPTIONS[@]}"
  FUZZ_PASSED=0
  FUZZ_FAILED=0
  for name in $(pendra_fuzz_targets); do
    log="$BUILD/fuzz/$name.log"
    if pendra_fuzz_run "$BUILD/fuzz" "$name" "${PENDRA_FUZZ_SECONDS:-10}" "$log"; then
      echo "== fuzz $name: passed, $PENDRA_FUZZ_RESULT"
      FUZZ_PASSED=$((FUZZ_PASSED + 1))
    else
      tail -n 40 "$log"
      echo "== fuzz $name: FAILED, $PENDRA_FUZZ_RESULT (log: $log)"
      FUZZ_FAILED=$((FUZZ_FAILED + 1))
    fi
  done
  PASSED=$((PASSED + FUZZ_PASSED))
  FAILED=$((FAILED + FUZZ_FAILED))
  SUMMARY+=("fuzz: $FUZZ_PASSED passed, $FUZZ_FAILED failed")
else
  echo "== fuzz targets skipped: $PENDRA_FUZZ_REASON"
  SKIPPED=$((SKIPPED + 1))
  SUMMARY+=("fuzz: skipped, $PENDRA_FUZZ_REASON")
fi

# Real printing: a PDF printer as the default printer, set up before the Wine
# prefix so that Wine finds it there.
. scripts/print-check.sh
PRINTING=
if pendra_print_setup "$BUILD/print-check"; then
  PRINTING=1
else
  echo "== printing checks skipped: $PENDRA_PRINT_REASON"
fi

# A fresh folder for the pictures of one DPI, as Wine names it.
screenshot_folder() {
  local dir="$BUILD/screenshots/$1"
  rm -rf "$dir"
  mkdir -p "$dir"
  echo "Z:${dir//\//\\}"
}

# The pictures as PNG files, where ImageMagick is there to convert them.
convert_screenshots() {
  command -v convert >/dev/null 2>&1 || return 0
  local f
  for f in "$BUILD"/screenshots/*/*.bmp; do
    [ -e "$f" ] || continue
    convert "$f" "${f%.bmp}.png" 2>/dev/null && rm -f "$f"
  done
}

# One fresh Wine prefix and one Xvfb of the run's own.
export PENDRA_WINEPREFIX="${TMPDIR:-/tmp}/pendra-wine-test-$$-$(date +%s)"
MAIN_PREFIX=$PENDRA_WINEPREFIX
JAPANESE_PREFIX=$MAIN_PREFIX-ja
UTF8_PREFIX=$MAIN_PREFIX-utf8
unset PENDRA_XVFB_PID
if [ -n "${PENDRA_TEST_DISPLAY:-}" ]; then
  export DISPLAY=$PENDRA_TEST_DISPLAY
  unset PENDRA_OWN_XVFB
else
  export PENDRA_OWN_XVFB=1
fi
cleanup() {
  WINEPREFIX=$JAPANESE_PREFIX wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$UTF8_PREFIX wineserver -k >/dev/null 2>&1 || true
  export WINEPREFIX=$MAIN_PREFIX
  . scripts/wine-stop.sh
  rm -rf "$MAIN_PREFIX" "$JAPANESE_PREFIX" "$UTF8_PREFIX"
  pendra_print_stop
}
trap cleanup EXIT

if ! . scripts/wine-env.sh test; then
  # One line says why (above); the Windows tests count as one failure.
  FAILED=$((FAILED + 1))
  SUMMARY+=("win_tests, e2e_tests: not run, no display")
else
  if [ -f "$BUILD/win/win_tests.exe" ]; then
    run_suite win_tests env PENDRA_SCREENSHOTS="$(screenshot_folder 96)" wine "$BUILD/win/win_tests.exe"
  fi
  # The PDFs of the printouts the Windows tests made, read back.
  if [ -n "$PRINTING" ]; then
    echo "== print_check"
    pendra_print_check
    PASSED=$((PASSED + PRINT_PASSED))
    FAILED=$((FAILED + PRINT_FAILED))
    SUMMARY+=("print_check: $PRINT_PASSED passed, $PRINT_FAILED failed")
  else
    SKIPPED=$((SKIPPED + 1))
    SUMMARY+=("print_check: skipped, $PENDRA_PRINT_REASON")
  fi
  if [ -f "$BUILD/win/e2e_tests.exe" ]; then
    # The kill tests within kill Pendra.exe by TerminateProcess, ten times per
    # kind of save; the kill_unix run kills its Wine process with kill -9.
    run_suite e2e_tests wine "$BUILD/win/e2e_tests.exe" "$BUILD/win/Pendra.exe"
    run_suite kill_unix env PENDRA_BUILD="$BUILD" bash scripts/kill-test.sh 6 unix
  fi
  # The packages: built, installed, upgraded and removed in this prefix, and the
  # portable zip started from a folder, each check one test.
  if [ -f "$BUILD/win/e2e_tests.exe" ]; then
    echo "== package_check"
    . scripts/package-check.sh
    pendra_package_check "$BUILD"
    PASSED=$((PASSED + PACKAGE_PASSED))
    FAILED=$((FAILED + PACKAGE_FAILED))
    SUMMARY+=("package_check: $PACKAGE_PASSED passed, $PACKAGE_FAILED failed")
  fi
  # Locale-dependent texts once more under a German locale, last, because Wine
  # rewrites the prefix's international settings to follow the locale.
  if [ -f "$BUILD/win/win_tests.exe" ] && grep -rqs 'German' tests/win; then
    if pendra_german_locale; then
      run_suite win_tests_german env LC_ALL=de_DE.UTF-8 wine "$BUILD/win/win_tests.exe" \
        '--gtest_filter=*German*'
    else
      echo "== win_tests_german skipped: the de_DE.UTF-8 locale cannot be generated"
    fi
  fi
  # Double-byte text once more under the Japanese code page 932 (the tests
  # named *Japanese* with LC_ALL=ja_JP.UTF-8), and text of up to four bytes a
  # character under UTF-8 as the code page 65001 (those named *Utf8CodePage*
  # with LC_ALL=hi_IN.UTF-8), each in a prefix of its own, so the one above
  # keeps its international settings.
  code_page_pass() {
    local name=$1 locale=$2 filter=$3 prefix=$4 saved_own_xvfb=${PENDRA_OWN_XVFB:-}
    grep -rqs "$filter" tests/win tests/e2e || return 0
    if ! "pendra_${name}_locale"; then
      echo "== win_tests_$name skipped: the $locale locale cannot be generated"
      return 0
    fi
    export PENDRA_WINEPREFIX=$prefix
    unset PENDRA_OWN_XVFB  # on the display already running
    if . scripts/wine-env.sh test; then
      [ ! -f "$BUILD/win/win_tests.exe" ] ||
        run_suite "win_tests_$name" env LC_ALL="$locale" wine "$BUILD/win/win_tests.exe" "--gtest_filter=*$filter*"
      [ ! -f "$BUILD/win/e2e_tests.exe" ] ||
        run_suite "e2e_tests_$name" env LC_ALL="$locale" wine "$BUILD/win/e2e_tests.exe" "$BUILD/win/Pendra.exe" \
          "--gtest_filter=*$filter*"
      wineserver -k >/dev/null 2>&1 || true
    else
      FAILED=$((FAILED + 1))
      SUMMARY+=("win_tests_$name: not run, no display")
    fi
    export PENDRA_WINEPREFIX=$MAIN_PREFIX WINEPREFIX=$MAIN_PREFIX
    [ -z "$saved_own_xvfb" ] || export PENDRA_OWN_XVFB=$saved_own_xvfb
  }
  code_page_pass japanese ja_JP.UTF-8 Japanese "$JAPANESE_PREFIX"
  code_page_pass utf8 hi_IN.UTF-8 Utf8CodePage "$UTF8_PREFIX"
  # The layouts at 200 %: the same prefix with LogPixels 192, which the Wine
  # server takes at its next start, on a screen twice as large.
  if [ -f "$BUILD/win/win_tests.exe" ] && [ -z "${PENDRA_TEST_DISPLAY:-}" ]; then
    . scripts/wine-stop.sh
    export PENDRA_XVFB_SCREEN=2560x2048x24
    if . scripts/wine-env.sh test; then
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f </dev/null >/dev/null 2>&1
      wineserver -w
      run_suite win_tests_dpi192 env PENDRA_SCREENSHOTS="$(screenshot_folder 192)" \
        wine "$BUILD/win/win_tests.exe" '--gtest_filter=*Dpi*'
    else
      FAILED=$((FAILED + 1))
      SUMMARY+=("win_tests_dpi192: not run, no display")
    fi
  elif [ -f "$BUILD/win/win_tests.exe" ]; then
    # A display of the user's own has its own size; the layouts are not
    # checked at 200 % there.
    SKIPPED=$((SKIPPED + 1))
    SUMMARY+=("win_tests_dpi192: skipped, PENDRA_TEST_DISPLAY is set")
  fi
  convert_screenshots
fi

echo
for line in "${SUMMARY[@]}"; do echo "$line"; done
[ "$SKIPPED" -eq 0 ] || echo "($SKIPPED skipped)"
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
