# Source this after wine-env.sh: stops the run's Wine server and its Xvfb.
wineserver -k >/dev/null 2>&1 || true
if [ -n "${PENDRA_XVFB_PID:-}" ]; then kill "$PENDRA_XVFB_PID" 2>/dev/null || true; unset PENDRA_XVFB_PID; fi
