#!/usr/bin/env bash
# clang-tidy's checks of .clang-tidy over the portable product sources of a
# native build tree; any finding fails.
#   check_tidy.sh SOURCE_DIR BUILD_DIR
set -u
src=$(cd "${1:-.}" && pwd) build=$(cd "${2:-build/native}" && pwd)
command -v clang-tidy >/dev/null || { echo "clang-tidy not found"; exit 2; }
[ -f "$build/compile_commands.json" ] || { echo "no compile_commands.json in $build"; exit 2; }
files=$(python3 - "$src" "$build/compile_commands.json" <<'PY'
import json, os, sys
src, db = sys.argv[1], sys.argv[2]
product = ("chardata", "picker", "info", "gif", "checker", "framework", "resources")
for entry in json.load(open(db)):
    rel = os.path.relpath(entry["file"], src)
    if rel.split(os.sep)[0] in product:
        print(rel)
PY
)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
cd "$src" || exit 2
echo "$files" | sort -u | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet >"$log" 2>/dev/null
found=$(grep -cE ': (warning|error): ' "$log")
grep -E ': (warning|error): ' "$log" | sort -u
echo "check_tidy: $(echo "$files" | sort -u | wc -l) files, $found findings"
[ "$found" -eq 0 ]
