#!/usr/bin/env bash
# Static checks of a built Runefold.dll: the export table holds exactly the
# three functions by name with ordinals 1 to 3; in the 32-bit module the
# names are undecorated and pluginStart removes its 12 bytes of arguments.
#   check_exports.sh DLL OBJDUMP [i686]
set -u
dll=$1 objdump=$2 arch=${3:-}
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$dll" ] || fail "no module at $dll"

table=$("$objdump" -p "$dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -E '^[[:space:]]+\[ *[0-9]+\]')
echo "$table"
names=$(echo "$table" | awk '{print $NF}' | sort | tr '\n' ' ')
[ "$names" = "pluginInterfaceVersion pluginRueckgabetyp pluginStart " ] || fail "exported names: $names"
base=$("$objdump" -p "$dll" | awk '/^Ordinal Base/{print $3; exit}')
[ "$base" = "1" ] || fail "ordinal base $base"
for pair in "0 pluginInterfaceVersion" "1 pluginStart" "2 pluginRueckgabetyp"; do
  set -- $pair
  echo "$table" | grep -q "\[ *$1\] $2\$" || fail "$2 is not at ordinal $(( $1 + 1 ))"
done
dll_name=$("$objdump" -p "$dll" | awk '/^Name[[:space:]]/{print $3; exit}')
[ "$dll_name" = "Runefold.dll" ] || fail "export table does not name the module Runefold.dll"

if [ "$arch" = "i686" ]; then
  # Disassemble a function (and its split-off cold part) up to the next one.
  body() {
    "$objdump" -d "$dll" | awk -v f="$1" '
      $2 ~ ("^<_?" f "(@[0-9]+)?(\\.cold)?>:$") {on=1; next}
      on && /^$/ {on=0}
      on'
  }
  rets=$(body pluginStart | grep -E '[[:space:]]ret')
  echo "$rets"
  [ -n "$rets" ] || fail "no return found in pluginStart"
  if echo "$rets" | grep -vq 'ret *\$0xc'; then fail "pluginStart has a return that is not ret \$0xc"; fi
  for f in pluginInterfaceVersion pluginRueckgabetyp; do
    r=$(body $f | grep -E '[[:space:]]ret')
    [ -n "$r" ] || fail "no return found in $f"
    if echo "$r" | grep -q 'ret *\$'; then fail "$f must not pop arguments it does not have"; fi
  done
fi
echo "exports ok: $dll"
