#!/usr/bin/env bash
# Runs the opening benchmark against two modules in turn, so that both meet
# the same load:
#   bench/dialog_open_win/compare.sh OTHER_RUNEFOLD_DLL [ROUNDS] [RUNS]
# The other module is measured as "before", the win64-bench tree's own as
# "after". Needs the win64-bench tree built.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
other=$(realpath "$1")
rounds=${2:-3}
runs=${3:-20}
bin=$root/build/win64-bench/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for side in before after; do
  mkdir -p "$work/$side"
  cp "$bin/dialog_open_win_bench.exe" "$root/data/Runefold.cfg" "$work/$side/"
done
cp "$other" "$work/before/Runefold.dll"
cp "$bin/Runefold.dll" "$work/after/Runefold.dll"
for round in $(seq "$rounds"); do
  for side in before after; do
    echo "== $side, round $round"
    (cd "$work/$side" && "$root/scripts/with-display.sh" "$root/cmake/wine-run.sh" \
      ./dialog_open_win_bench.exe "$runs") 2>&1 | grep -v '^wine-run:'
  done
done
