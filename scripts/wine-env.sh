# Sourced: a private Wine prefix, a virtual display and one lasting wineserver.
# The user's own ~/.wine and display settings are never touched.
: "${WINEPREFIX:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/win64/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
# No Mono or Gecko install prompts: Kelvara needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"

kelvara_display_alive() {
  [ -n "${1:-}" ] && [ -S "/tmp/.X11-unix/X${1#:}" ] && xdpyinfo -display "$1" >/dev/null 2>&1
}

if [ -z "${DISPLAY:-}" ]; then
  state="$WINEPREFIX/.xvfb-display"
  DISPLAY=$(cat "$state" 2>/dev/null || true)
  if ! kelvara_display_alive "$DISPLAY"; then
    for n in $(seq 90 190); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 < /dev/null &
      export KELVARA_XVFB_PID=$!
      for _ in $(seq 50); do kelvara_display_alive ":$n" && break; sleep 0.1; done
      if kelvara_display_alive ":$n"; then DISPLAY=":$n"; echo "$DISPLAY" > "$state"; break; fi
    done
  fi
  [ -n "$DISPLAY" ] || { echo "wine-env: could not start Xvfb" >&2; return 1 2>/dev/null || exit 1; }
fi
export DISPLAY

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot -i >/dev/null 2>&1
      # The virtual display has no window manager: Wine draws the title bars itself, and
      # hiding a window no longer waits seconds for a manager that never answers.
      if [ -z "${KELVARA_DESKTOP:-}" ]; then
        for setting in Decorated Managed; do
          wine reg add 'HKCU\Software\Wine\X11 Driver' /v "$setting" /d N /f >/dev/null 2>&1
        done
      fi
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# One wineserver for the whole run: each Wine process then starts in a fraction of the time.
wineserver -p >/dev/null 2>&1 || true
