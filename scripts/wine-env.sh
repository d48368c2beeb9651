# Sourced by the scripts that run the Windows build under Wine: a private
# Wine prefix inside build/, quiet, with no Mono/Gecko prompts, and a
# virtual display when there is no real one.
# After sourcing, call `vantorel_wine_prefix` once and `vantorel_display`.

VANTOREL_ROOT=${VANTOREL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$VANTOREL_ROOT/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Creates the prefix once (about 10 s); later calls return at once.
vantorel_wine_prefix() {
  [ -f "$WINEPREFIX/.vantorel-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 || true
  # Without a window manager Wine otherwise freezes the program for 2 s each
  # time a dialog or message box hides.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # A crash ends the process at once instead of waiting in a debugger.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d 'C:\no-debugger\none.exe %ld %ld' /f >/dev/null 2>&1
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.vantorel-ready"
}

# Starts Xvfb on a free display number when DISPLAY is unset; the caller
# stops it with vantorel_stop_display (only the Xvfb this shell started).
VANTOREL_XVFB_PID=
vantorel_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n=91
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  VANTOREL_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "Xvfb did not start on :$n" >&2
  return 1
}

vantorel_stop_display() {
  if [ -n "$VANTOREL_XVFB_PID" ]; then
    # Wine's processes go first, so none is left talking to a vanished display.
    wineserver -k 2>/dev/null || true
    kill "$VANTOREL_XVFB_PID" 2>/dev/null || true
    wait "$VANTOREL_XVFB_PID" 2>/dev/null || true
    VANTOREL_XVFB_PID=
  fi
}
