#!/usr/bin/env bash
# Checks the built hostconfig.exe against what Windows XP SP3 can load:
#   - a PE32 console executable for Intel 80386, subsystem version <= 5.01;
#   - every imported DLL and function on tests/imports_allowed.txt (a list
#     reviewed against the exports of XP's system DLLs), nothing by ordinal;
#   - at most 300 KiB.
# Usage: tests/check_imports.sh EXE [ALLOW_LIST]
set -euo pipefail

exe=${1:?usage: check_imports.sh EXE [ALLOW_LIST]}
allow=${2:-$(dirname "$0")/imports_allowed.txt}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
max_bytes=$((300 * 1024))
failures=0

fail() {
  echo "check_imports: $*" >&2
  failures=$((failures + 1))
}

description=$(file -b "$exe")
case "$description" in
  "PE32 executable (console) Intel 80386"*) ;;
  *) fail "not a PE32 console i386 executable: $description" ;;
esac

headers=$("$objdump" -p "$exe")
field() { awk -v name="$1" '$1 == name { print $2; exit }' <<<"$headers"; }

subsystem=$(field Subsystem)
[[ $subsystem == 00000003 ]] || fail "subsystem is $subsystem, not 3 (Windows CUI)"
major=$(field MajorSubsystemVersion)
minor=$(field MinorSubsystemVersion)
if ((major > 5 || (major == 5 && minor > 1))); then
  fail "subsystem version $major.$minor is above 5.01"
fi

size=$(stat -c %s "$exe")
((size <= max_bytes)) || fail "$size bytes, more than $max_bytes"

# The import table as DLL!Function lines, DLL names in lower case. An import
# by ordinal has no name and shows as DLL!<ordinal>.
imports=$(awk '
  /^The Import Tables/ { inside = 1; next }
  inside && /^[^\t ]/ && !/^$/ { inside = 0 }
  !inside { next }
  /^\tDLL Name: / { dll = tolower($3); next }
  dll != "" && /^\t[0-9a-f]+\t/ {
    name = (NF >= 3 && $3 != "<none>") ? $3 : "<ordinal " $2 ">"
    print dll "!" name
  }
' <<<"$headers" | sort -u)
[[ -n $imports ]] || fail "no imports found (objdump output not understood)"

allowed=$(grep -v '^[[:space:]]*\(#\|$\)' "$allow" |
          awk -F'!' '{ print tolower($1) "!" $2 }' | sort -u)
unlisted=$(comm -23 <(echo "$imports") <(echo "$allowed"))
if [[ -n $unlisted ]]; then
  while read -r entry; do fail "import not on the allow-list: $entry"; done <<<"$unlisted"
fi

if ((failures > 0)); then
  echo "check_imports: $exe: $failures problem(s)" >&2
  exit 1
fi
echo "check_imports: $exe: PE32 console i386, subsystem $major.$minor, $size bytes, $(wc -l <<<"$imports") imports, all allowed"
