#!/usr/bin/env bash
# Static checks of a built Runefold.dll: the export table holds exactly the
# three functions by name with ordinals 1 to 3; in the 32-bit module the
# names are undecorated and pluginStart removes its 12 bytes of arguments.
#   check_exports.sh DLL OBJDUMP [i686]
set -u
dll=$1 objdump=$2 arch=${3:-}
fail() { echo "FAIL: $*"; exit 1; }
[ -f "$dll" ] || fail "no module at $dll"

table=$("$objdump" -p "$dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep '\[')
echo "$table"
names=$(echo "$table" | awk '{print $NF}' | sort | tr '\n' ' ')
[ "$names" = "pluginInterfaceVersion pluginRueckgabetyp pluginStart " ] || fail "exported names: $names"
base=$("$objdump" -p "$dll" | grep -o 'Ordinal Base [0-9]*' | awk '{print $3}')
[ "$base" = "1" ] || fail "ordinal base $base"
for pair in "0 pluginInterfaceVersion" "1 pluginStart" "2 pluginRueckgabetyp"; do
  set -- $pair
  echo "$table" | grep -q "\[ *$1\] $2\$" || fail "$2 is not at ordinal $(( $1 + 1 ))"
done
dll_name=$("$objdump" -p "$dll" | grep -o 'Name [0-9a-f]* Runefold.dll' | head -1)
[ -n "$dll_name" ] || fail "export table does not name the module Runefold.dll"

if [ "$arch" = "i686" ]; then
  # Disassemble pluginStart up to the next function: every return pops 12 bytes.
  rets=$("$objdump" -d "$dll" | awk '/<pluginStart>:$/{on=1; next} on && /^$/{exit} on' | grep -E '\sret' )
  echo "$rets"
  [ -n "$rets" ] || fail "no return found in pluginStart"
  echo "$rets" | grep -vq 'ret *\$0xc' && fail "pluginStart has a return that is not ret \$0xc"
  for f in pluginInterfaceVersion pluginRueckgabetyp; do
    r=$("$objdump" -d "$dll" | awk -v f="<$f>:" '$2==f{on=1; next} on && /^$/{exit} on' | grep -E '\sret' )
    echo "$r" | grep -q 'ret *$' || fail "$f must return without popping arguments"
  done
fi
echo "exports ok: $dll"
