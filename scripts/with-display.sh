#!/usr/bin/env bash
# Runs a command with an X display: the one in $DISPLAY, or a private Xvfb
# started for the command and stopped after it.
set -u
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
# Xvfb picks a free display number itself and names it once it accepts
# connections: two of these started at once must never share a server, or
# the first to end takes the other's display away with it.
number=$(mktemp)
# A display of more DPI (RF_DPI, see cmake/wine-run.sh) has more pixels, as
# a real one does: 1280 x 1024 at 96 DPI, grown by the same factor.
dpi=${RF_DPI:-96}
case "$dpi" in '' | *[!0-9]*) dpi=96 ;; esac
[ "$dpi" -ge 96 ] || dpi=96
size="$((1280 * dpi / 96))x$((1024 * dpi / 96))"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$number" >/dev/null 2>&1 </dev/null &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$number" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
n=$(tr -dc '0-9' <"$number")
rm -f "$number"
if [ -z "$n" ]; then
  echo "with-display: Xvfb did not start" >&2
  kill "$xvfb" 2>/dev/null
  exit 1
fi
export DISPLAY=":$n"
"$@"
rc=$?
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit $rc
