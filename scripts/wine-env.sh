# Source this: sets up Wine for one run. Usage: . scripts/wine-env.sh [name]
# Each name gets its own prefix (created once, about 20 s; PENDRA_WINEPREFIX
# overrides the folder) and its own Xvfb display when there is no display
# (or when PENDRA_OWN_XVFB is set).
_pendra_name=${1:-run}
export WINEPREFIX=${PENDRA_WINEPREFIX:-/tmp/pendra-wine-$_pendra_name}
export WINEARCH=win32
export WINEDEBUG=-all
# Without this the first start of a prefix can stop on the Mono and Gecko
# installers and hang.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The display comes first: creating a prefix also wants one.
if [ -z "${DISPLAY:-}" ] || [ -n "${PENDRA_OWN_XVFB:-}" ]; then
  for _n in $(seq 90 150); do
    if [ ! -e /tmp/.X$_n-lock ] && [ ! -e /tmp/.X11-unix/X$_n ]; then
      Xvfb :$_n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      export PENDRA_XVFB_PID=$!
      export DISPLAY=:$_n
      for _i in $(seq 1 50); do [ -e /tmp/.X11-unix/X$_n ] && break; sleep 0.1; done
      break
    fi
  done
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating Wine prefix $WINEPREFIX ..." >&2
  wine wineboot --init </dev/null >/dev/null 2>&1 || true
  wineserver -w
  # A crash fails fast instead of opening a dialog nobody answers.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    </dev/null >/dev/null 2>&1 || true
  wineserver -w
fi
# A bare Xvfb has no window manager: Wine then waits 2 s for one each time a
# shown window is hidden or destroyed. Let Wine manage the windows itself
# (PENDRA_WINE_MANAGED=1 keeps the usual managed windows).
if [ -n "${PENDRA_XVFB_PID:-}" ] && [ -z "${PENDRA_WINE_MANAGED:-}" ] && ! grep -qs '"Managed"="N"' "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
fi
unset _pendra_name _n _i
