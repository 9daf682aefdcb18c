#!/usr/bin/env bash
# CPU budget of the reminder checks: Pendra.exe under Wine with 4 x 1,000
# reminders (none due during the run) against Pendra.exe with empty lists,
# each over the same stretch of running; prints both CPU times and the ratio.
# The times are read from /proc for the Pendra process and for the prefix's
# Wine server (which carries the timer messages), in clock ticks.
# Each round runs both once, in turn; the times of the rounds are added up.
# The budget is judged on the process together with the Wine server, since an
# idle process's own time is only a few 10 ms ticks a minute.
# Usage: bash bench/reminder_cpu.sh [seconds] [reminders per list] [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${PENDRA_BUILD:-$PWD/build}
SECONDS_RUN=${1:-60}
COUNT=${2:-1000}
ROUNDS=${3:-3}
BUDGET=1.2

cmake -S . -B "$BUILD/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$BUILD/win" -j "${PENDRA_JOBS:-2}" --target Pendra cpu_probe_win >/dev/null

. scripts/wine-env.sh bench-cpu
RESULTS=$(mktemp)
trap '. scripts/wine-stop.sh; rm -f "$RESULTS"' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

ticks() { if [ -n "$1" ] && [ -r "/proc/$1/stat" ]; then awk '{print $14 + $15}' "/proc/$1/stat"; else echo 0; fi; }
server_pid() {
  local p
  for p in $(pgrep wineserver || true); do
    if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$p"
      return
    fi
  done
}

# Lines are read as they come (no buffering filter in between), so the
# markers arrive while the measured Pendra still runs.
wine "$BUILD/win/cpu_probe_win.exe" "$BUILD/win/Pendra.exe" "$SECONDS_RUN" "$COUNT" "$ROUNDS" </dev/null 2>&1 |
  while IFS= read -r line; do
    line=${line%$'\r'}
    case "$line" in
      "MARK begin "*)
        tag=${line#MARK begin }
        pid=$(pgrep -f -- "$tag" | head -1 || true)
        server=$(server_pid)
        before_p=$(ticks "$pid")
        before_s=$(ticks "$server")
        ;;
      "MARK end "*)
        echo "${tag##*-} $(($(ticks "$pid") - before_p)) $(($(ticks "$server") - before_s))" >>"$RESULTS"
        ;;
      *) echo "$line" ;;
    esac
  done

awk -v hz="$(getconf CLK_TCK)" -v s="$SECONDS_RUN" -v n="$COUNT" -v r="$ROUNDS" -v budget="$BUDGET" '
  { k = ($1 == "loaded") ? 2 : 1; p[k] += $2 / hz; w[k] += $3 / hz; seen[k] = 1 }
  END {
    if (!(1 in seen) || !(2 in seen)) { print "could not measure"; exit 1 }
    tick = 1 / hz
    printf "Pendra process CPU over %d x %d s: empty lists %.2f s, 4 x %d reminders %.2f s\n", r, s, p[1], n, p[2]
    printf "with the Wine server:            empty lists %.2f s, 4 x %d reminders %.2f s\n", p[1] + w[1], n, p[2] + w[2]
    empty = p[1] + w[1]; loaded = p[2] + w[2]
    ratio = loaded / (empty > tick ? empty : tick)
    printf "ratio %.2f (budget %.2f; times counted in %.0f ms ticks): %s\n", ratio, budget, tick * 1000,
           (ratio <= budget) ? "within budget" : "over budget"
  }' "$RESULTS"
