#!/usr/bin/env bash
# Kills Pendra.exe at random moments inside each kind of save, many times
# over, and checks that no file is ever torn (tests/e2e/kill_e2e_test.cpp).
# Each kind ends with a line "kill counts, ...": kills, old, new, torn.
#
# Usage: bash scripts/kill-test.sh [kills per kind] [terminate|unix|both] [test options...]
#   terminate: the test kills Pendra.exe with TerminateProcess;
#   unix:      this script kills its Wine process with kill -9;
#   both:      one run each way (the default).
# Default 50 kills per kind. Needs a build (scripts/test.sh, or
# cmake --build build/win); PENDRA_BUILD names another build folder.
# Run from scripts/test.sh it uses that run's Wine prefix and display; alone
# it uses a prefix of its own and stops its Wine server and Xvfb at the end.
set -uo pipefail
cd "$(dirname "$0")/.."
KILLS=${1:-50}
HOW=${2:-both}
shift $(($# < 2 ? $# : 2))
WIN=${PENDRA_BUILD:-$PWD/build}/win
E2E=$WIN/e2e_tests.exe
PENDRA=$WIN/Pendra.exe
[ -f "$E2E" ] && [ -f "$PENDRA" ] || { echo "kill-test: build first ($E2E)"; exit 1; }

if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  . scripts/wine-env.sh kill || exit 1
  trap '. scripts/wine-stop.sh' EXIT
fi

FILTER='--gtest_filter=Saves/KillE2e.*'

run_terminate() {
  PENDRA_KILLS=$KILLS wine "$E2E" "$PENDRA" "$FILTER" "$@" </dev/null 2>&1 | tr -d '\r'
}

# The Unix process of the Pendra.exe started in that test folder: Wine gives
# it the Windows path of the executable as its first argument. Test folders
# of other Wine prefixes can bear the same name, so the process must also
# run in this prefix: no other run's program is ever killed.
pendra_pid() {
  local dir cmd
  for dir in /proc/[0-9]*; do
    { IFS= read -r -d '' cmd <"$dir/cmdline"; } 2>/dev/null || continue
    case $cmd in
      *"\\$1\\Pendra.exe"*)
        tr '\0' '\n' <"$dir/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        echo "${dir#/proc/}"
        return 0
        ;;
    esac
  done
  return 1
}

# The test asks "pendra-kill-arm <folder>" before it sends the command, then
# "pendra-kill-ping" (answered the way a kill goes, so the test learns how
# long a request takes) and "pendra-kill <delay ms>", after which it sends the
# command; everything else is its output.
run_unix() {
  local line pid='' status
  coproc RUN { PENDRA_KILL_BY=unix PENDRA_KILLS=$KILLS exec wine "$E2E" "$PENDRA" "$FILTER" "$@" 2>&1; }
  local from=${RUN[0]} to=${RUN[1]} run_pid=$RUN_PID
  while IFS= read -r line <&"$from"; do
    line=${line%$'\r'}
    case $line in
      'pendra-kill-arm '*)
        pid=$(pendra_pid "${line#pendra-kill-arm }") || pid=''
        echo armed >&"$to"
        ;;
      'pendra-kill-ping')
        sleep 0
        echo pong >&"$to"
        ;;
      'pendra-kill '*)
        local ms=${line#pendra-kill }
        sleep "$((ms / 1000)).$(printf '%03d' $((ms % 1000)))"
        [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
        pid=''
        ;;
      *) printf '%s\n' "$line" ;;
    esac
  done
  wait "$run_pid"
  status=$?
  return $status
}

STATUS=0
case $HOW in
  terminate) run_terminate "$@" || STATUS=1 ;;
  unix) run_unix "$@" || STATUS=1 ;;
  both)
    run_terminate "$@" || STATUS=1
    run_unix "$@" || STATUS=1
    ;;
  *) echo "kill-test: terminate, unix or both, not $HOW"; exit 2 ;;
esac
exit $STATUS
