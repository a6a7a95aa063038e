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
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 </dev/null &
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
