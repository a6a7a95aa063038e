#!/usr/bin/env bash
# Fails on any C++ source that clang-format would change.
#   check_format.sh SOURCE_DIR
set -u
cd "${1:-.}" || exit 2
command -v clang-format >/dev/null || { echo "clang-format not found"; exit 2; }
files=$(find plugin chardata picker info gif framework resources host tools tests bench fuzz \
  -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
changed=0
for f in $files; do
  if ! clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then
    echo "$f: clang-format would change it (clang-format -i $f)"
    changed=$((changed + 1))
  fi
done
echo "check_format: $(echo "$files" | wc -l) files, $changed to format"
[ "$changed" -eq 0 ]
