#!/usr/bin/env bash
# Runs a Windows program under wine64 with the build tree's own prefix.
#   wine-run.sh --init     make the prefix (once; serial)
#   wine-run.sh --stop     stop the prefix's wineserver
#   wine-run.sh PROG ARGS  run a program
# The prefix lives in $RF_WINEPREFIX, else in build/wineprefix of the source
# tree: one prefix serves every build tree, since making one costs minutes
# (Wine sets up its 32-bit half under emulation).
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${RF_WINEPREFIX:-$(dirname "$here")/build/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The system's ANSI code page is 1252, as on a German or English Windows.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)

if [ -z "${DISPLAY:-}" ]; then
  # Tests need a display; the test scripts start Xvfb, this is the fallback.
  if [ -S /tmp/.X11-unix/X99 ]; then export DISPLAY=:99; fi
fi

init_prefix() {
  if [ -f "$WINEPREFIX/.rf-ready" ]; then return 0; fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Parallel first use of a fresh prefix fails: the first caller makes it.
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ -f "$WINEPREFIX/.rf-ready" ]; then flock -u 9; return 0; fi
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i </dev/null >"$WINEPREFIX.boot.log" 2>&1
  # A crash must fail a test, never wait on a dialog.
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >>"$WINEPREFIX.boot.log" 2>&1
  # Wine draws the windows' frames and captions itself: there is no window
  # manager under Xvfb, and screenshots should show what a user sees.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >>"$WINEPREFIX.boot.log" 2>&1
  # Stop the boot's lingering processes; the server saves the registry as it ends.
  "$WINESERVER" -k </dev/null >/dev/null 2>&1
  "$WINESERVER" -w </dev/null >/dev/null 2>&1
  touch "$WINEPREFIX/.rf-ready"
  flock -u 9
}

# Wine's system processes (services, device drivers, the desktop) outlive
# the program that started them and would hold its standard streams open,
# so ctest or a pipe would wait for them: start them here with streams of
# their own, once per server.
warm_up() {
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE" wineboot </dev/null >/dev/null 2>&1
}

server_running() {
  pgrep -f "wineserver" >/dev/null 2>&1
}

case "${1:-}" in
  --init) init_prefix && warm_up; exit $? ;;
  --stop) "$WINESERVER" -k </dev/null >/dev/null 2>&1; exit 0 ;;
esac

init_prefix
server_running || warm_up
exec "$WINE" "$@"
