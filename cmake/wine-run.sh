#!/usr/bin/env bash
# Runs a Windows program under wine64 with the build tree's own prefix.
#   wine-run.sh --make     make the prefix (once; serial) and leave no Wine
#                          process behind: safe in the background, on any display
#   wine-run.sh --init     make the prefix if needed, then start its server
#                          and system processes on this display
#   wine-run.sh --stop     stop the prefix's server and wait for it to end
#   wine-run.sh PROG ARGS  run a program
# The prefix lives in $RF_WINEPREFIX, else in build/wineprefix of the source
# tree: one prefix serves every build tree, since making one costs minutes
# (Wine sets up its 32-bit half under emulation).
# RF_DPI=144 (any LogPixels but 96) runs in a prefix of that DPI beside it:
# its own registry and server, the main prefix's drive_c, so the main
# prefix and the tests running in it never see another DPI.
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEPREFIX=${RF_WINEPREFIX:-$(dirname "$here")/build/wineprefix}
base_prefix=$WINEPREFIX
dpi=${RF_DPI:-96}
case "$dpi" in
  '' | *[!0-9]*) echo "wine-run: RF_DPI must be a number of dots per inch, not '$dpi'" >&2; exit 2 ;;
esac
if [ "$dpi" != 96 ]; then export WINEPREFIX="$base_prefix-dpi$dpi"; fi
export WINEARCH=win64
# Wine's error class stays on so that a program Wine could not start can say
# why; those lines are shown only when the program printed nothing.
export WINEDEBUG=${WINEDEBUG:--all},err+all
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

say() { echo "wine-run: $*" >&2; }

stop_server() {
  "$WINESERVER" -k </dev/null >/dev/null 2>&1
  "$WINESERVER" -w </dev/null >/dev/null 2>&1
}

make_prefix() {
  if [ -f "$WINEPREFIX/.rf-ready" ]; then return 0; fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Parallel first use of a fresh prefix fails: the first caller makes it.
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ -f "$WINEPREFIX/.rf-ready" ]; then exec 9>&-; return 0; fi
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i </dev/null >"$WINEPREFIX.boot.log" 2>&1
  # A crash must fail a test, never wait on a dialog.
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >>"$WINEPREFIX.boot.log" 2>&1
  # Wine draws the windows' frames and captions itself: there is no window
  # manager under Xvfb, and screenshots should show what a user sees.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >>"$WINEPREFIX.boot.log" 2>&1
  # The making's processes live on the making's display, which may end with
  # it: all of them end here, and the server saves the registry as it ends.
  stop_server
  touch "$WINEPREFIX/.rf-ready"
  exec 9>&-
}

# A prefix of another DPI from the main one: copies of its registry with
# LogPixels (the system's DPI, and the DPI Wine's fonts are made for) set,
# the same drive_c. Made under the main prefix's lock once it is ready.
make_dpi_prefix() {
  [ "$WINEPREFIX" != "$base_prefix" ] || return 0
  if [ -f "$WINEPREFIX/.rf-ready" ]; then return 0; fi
  (WINEPREFIX=$base_prefix; make_prefix) || return 1
  exec 9>"$base_prefix.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.rf-ready" ]; then
    local hex f
    hex=$(printf '%08x' "$dpi")
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    ln -s "$base_prefix/drive_c" "$WINEPREFIX/drive_c"
    cp -a "$base_prefix/dosdevices" "$base_prefix/.update-timestamp" "$WINEPREFIX/"
    for f in system.reg user.reg userdef.reg; do
      sed "s/^\"LogPixels\"=dword:[0-9a-f]*/\"LogPixels\"=dword:$hex/" "$base_prefix/$f" >"$WINEPREFIX/$f"
    done
    touch "$WINEPREFIX/.rf-ready"
  fi
  exec 9>&-
}

# The server of this prefix, not any wineserver on the machine: Wine names
# its server directory after the prefix's device and inode, and the server
# works inside it.
server_pids() {
  local id pid
  id=$(stat -c '%d %i' "$WINEPREFIX" 2>/dev/null) || return 0
  # shellcheck disable=SC2086
  id=$(printf 'server-%x-%x' $id)
  for pid in $(pgrep -x 'wineserver(64)?' 2>/dev/null); do
    [ "$(basename "$(readlink "/proc/$pid/cwd" 2>/dev/null)")" = "$id" ] && echo "$pid"
  done
}

# The displays of this prefix's running Windows processes (the desktop
# among them), from their environments.
prefix_displays() {
  local dir exe
  for dir in /proc/[0-9]*; do
    exe=$(basename "$(readlink "$dir/exe" 2>/dev/null)")
    case "$exe" in
      wine64-preloader | wine-preloader | wine64 | wine | qemu-i386-static) ;;
      *) continue ;;
    esac
    tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
    tr '\0' '\n' 2>/dev/null <"$dir/environ" | sed -n 's/^DISPLAY=//p'
  done | sort -u
}

# Wine's system processes (services, device drivers, the desktop) outlive
# the program that started them and would hold its standard streams open:
# start them here with streams of their own. They take the display of the
# caller, so processes left on another display are stopped first.
warm_up() {
  local shown
  if [ -n "$(server_pids)" ]; then
    shown=$(prefix_displays)
    if [ -n "$shown" ] && [ "$shown" = "${DISPLAY:-}" ]; then return 0; fi
    if [ -n "$shown" ]; then
      say "this prefix's Wine processes use display ${shown//$'\n'/ }, not ${DISPLAY:-none}: restarting them"
      stop_server
    fi
  fi
  [ -n "$(server_pids)" ] || "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE" wineboot </dev/null >/dev/null 2>&1
}

# Messages of Wine's own that mean it never started the program (the loader
# or the server connection failed), as opposed to a program that ran.
refused_start() {
  grep -qE '^wine: (could not|failed to|chdir to|created the configuration|cannot find)|^wine client error|^wine: .*(server|wineserver)' "$1"
}

# Runs the program once. Its standard output goes through as it comes and
# is kept; Wine's error lines on standard error are shown when the program
# printed nothing, since they then say why.
run_once() {
  local out=$1 err=$2 rc tee_pid wine_pid
  shift 2
  : >"$out"
  : >"$err"
  exec 3> >(exec tee "$out")
  tee_pid=$!
  "$WINE" "$@" 0<&0 >&3 2>"$err" &
  wine_pid=$!
  trap 'kill -TERM "$wine_pid" 2>/dev/null' TERM INT HUP
  while :; do
    wait "$wine_pid"
    rc=$?
    kill -0 "$wine_pid" 2>/dev/null || break
  done
  trap - TERM INT HUP
  exec 3>&-
  # A Windows process the program started may still hold the pipe: the
  # program's output is all there by now.
  for _ in $(seq 20); do kill -0 "$tee_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$tee_pid" 2>/dev/null
  if [ -s "$out" ]; then
    grep -vE '^[0-9a-f]{4}:err:' "$err" >&2
  else
    cat "$err" >&2
    say "$(basename "$1") printed nothing; Wine exited with status $rc"
  fi
  return "$rc"
}

make_any_prefix() {
  if [ "$WINEPREFIX" = "$base_prefix" ]; then make_prefix; else make_dpi_prefix; fi
}

case "${1:-}" in
  --make) make_any_prefix; exit $? ;;
  --init) make_any_prefix && warm_up; exit $? ;;
  --stop) stop_server; exit 0 ;;
esac

make_any_prefix
warm_up
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
run_once "$out" "$err" "$@"
rc=$?
if [ ! -s "$out" ] && refused_start "$err"; then
  # Only a start that Wine itself refused is tried again, once.
  say "RETRY: Wine refused to start $(basename "$1") (status $rc); starting it once more"
  # ctest shows a passing test's output to no one: the count is kept beside
  # the prefix for the test command's summary.
  echo "$(date +%T) $1 status $rc" >>"$WINEPREFIX.retries"
  run_once "$out" "$err" "$@"
  rc=$?
fi
exit "$rc"
