# Source this: sets up Wine for one run. Usage: . scripts/wine-env.sh [name]
# Each name gets its own prefix (created once, about 20 s; PENDRA_WINEPREFIX
# overrides the folder).
#
# The display: the one in DISPLAY, or an Xvfb of the run's own when there is
# none or when PENDRA_OWN_XVFB is set (the test run always sets it, unless
# PENDRA_TEST_DISPLAY names a display on purpose). PENDRA_XVFB_SCREEN sets the
# size of that Xvfb's screen (default 1280x1024x24). A display that cannot be
# opened is reported in one line, and the sourcing fails (status 1).
_pendra_name=${1:-run}
export WINEPREFIX=${PENDRA_WINEPREFIX:-/tmp/pendra-wine-$_pendra_name}
export WINEARCH=win32
export WINEDEBUG=-all
# Without this the first start of a prefix can stop on the Mono and Gecko
# installers and hang.
export WINEDLLOVERRIDES="mscoree,mshtml="

# True when an X display answers.
_pendra_display_opens() {
  if command -v xdpyinfo >/dev/null 2>&1; then
    timeout 10 xdpyinfo -display "$1" >/dev/null 2>&1
  else
    # Without the X utilities only a local display can be looked for.
    case $1 in
      :*) [ -S "/tmp/.X11-unix/X${1#:}" ] ;;
      *) true ;;
    esac
  fi
}

# Starts an Xvfb on the first free display number from 90 on.
_pendra_start_xvfb() {
  local n i
  for n in $(seq 90 150); do
    if [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; then continue; fi
    Xvfb :$n -screen 0 "${PENDRA_XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
    PENDRA_XVFB_PID=$!
    for i in $(seq 1 50); do
      [ -e /tmp/.X11-unix/X$n ] && break
      kill -0 "$PENDRA_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$PENDRA_XVFB_PID" 2>/dev/null && _pendra_display_opens :$n; then
      export PENDRA_XVFB_PID DISPLAY=:$n
      return 0
    fi
    # Another server took the number meanwhile, or this one failed: the next.
    kill "$PENDRA_XVFB_PID" 2>/dev/null || true
    unset PENDRA_XVFB_PID
  done
  return 1
}

_pendra_display_ok=1
if [ -z "${DISPLAY:-}" ] || [ -n "${PENDRA_OWN_XVFB:-}" ]; then
  # The display comes first: creating a prefix also wants one.
  if ! _pendra_start_xvfb; then
    echo "wine-env: cannot start an Xvfb display (is xvfb installed?)" >&2
    _pendra_display_ok=0
  fi
elif ! _pendra_display_opens "$DISPLAY"; then
  if [ -n "${PENDRA_TEST_DISPLAY:-}" ]; then
    echo "wine-env: cannot open the X display $DISPLAY named by PENDRA_TEST_DISPLAY; start it, or unset PENDRA_TEST_DISPLAY to test in an Xvfb of its own" >&2
  else
    echo "wine-env: cannot open the X display DISPLAY=$DISPLAY; start it, or unset DISPLAY to run in an Xvfb of its own" >&2
  fi
  _pendra_display_ok=0
fi

if [ "$_pendra_display_ok" = 1 ]; then
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating Wine prefix $WINEPREFIX ..." >&2
    wine wineboot --init </dev/null >/dev/null 2>&1 || true
    wineserver -w
    # A crash fails fast instead of opening a dialog nobody answers.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Wine's own Tahoma and Marlett (fonts-wine), which Debian's Wine does not
  # load from where the package puts them: in the prefix's Fonts folder the
  # dialogs have Windows' dialog font and the caption buttons are buttons, not
  # the letters that stand for them.
  for _pendra_font in tahoma tahomabd marlett; do
    if [ -f "/usr/share/wine/fonts/$_pendra_font.ttf" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/$_pendra_font.ttf" ]; then
      cp "/usr/share/wine/fonts/$_pendra_font.ttf" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
  done
  unset _pendra_font
  # A bare Xvfb has no window manager: Wine then waits 2 s for one each time a
  # shown window is hidden or destroyed. Let Wine manage the windows itself
  # (PENDRA_WINE_MANAGED=1 keeps the usual managed windows).
  if [ -n "${PENDRA_XVFB_PID:-}" ] && [ -z "${PENDRA_WINE_MANAGED:-}" ] && ! grep -qs '"Managed"="N"' "$WINEPREFIX/user.reg"; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  fi
fi
unset _pendra_name
unset -f _pendra_display_opens _pendra_start_xvfb
if [ "$_pendra_display_ok" = 1 ]; then
  unset _pendra_display_ok
  true
else
  unset _pendra_display_ok
  false
fi
