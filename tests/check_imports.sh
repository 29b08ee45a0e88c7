#!/usr/bin/env bash
# Checks a built executable against what Windows XP SP3 can load, and
# against loading a DLL from the executable's folder:
#   - a PE32 console executable for Intel 80386, subsystem version <= 5.01;
#   - every imported DLL one that tests/imports_allowed.txt names: those are
#     all on the KnownDLLs list of every Windows from XP on, which Windows
#     maps from the system directory whatever the search order (any other
#     DLL would be looked for beside the executable first); no delay-loaded
#     DLLs, which are looked for the same way at their first call;
#   - every imported function on tests/imports_allowed.txt (a list reviewed
#     against the exports of XP's system DLLs), nothing by ordinal;
#   - at most 300 KiB.
# With --dlls-only the functions and the size are not checked: for
# hostconfig-check.exe, whose runtime imports a longer list of functions and
# which has no size limit.
# Usage: tests/check_imports.sh [--dlls-only] EXE [ALLOW_LIST]
set -euo pipefail

dlls_only=0
if [[ ${1:-} == --dlls-only ]]; then
  dlls_only=1
  shift
fi
exe=${1:?usage: check_imports.sh [--dlls-only] EXE [ALLOW_LIST]}
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
if ((!dlls_only)); then
  ((size <= max_bytes)) || fail "$size bytes, more than $max_bytes"
fi

# The delay import directory (entry d of the data directory): its size is
# the third field, zero when there is none.
delay=$(awk '$1 == "Entry" && $2 == "d" { print $4; exit }' <<<"$headers")
[[ -n $delay ]] || fail "no delay import directory entry (objdump output not understood)"
[[ -z $delay || $delay =~ ^0+$ ]] || fail "has delay-loaded DLLs (delay import directory of 0x$delay bytes)"

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
dlls=$(awk '/^\tDLL Name: / { print tolower($3) }' <<<"$headers" | sort -u)

allowed=$(grep -v '^[[:space:]]*\(#\|$\)' "$allow" |
          awk -F'!' '{ print tolower($1) "!" $2 }' | sort -u)
known_dlls=$(awk -F'!' '{ print $1 }' <<<"$allowed" | sort -u)

unknown=$(comm -23 <(echo "$dlls") <(echo "$known_dlls"))
if [[ -n $unknown ]]; then
  while read -r dll; do
    fail "imports $dll, which is not a KnownDLL on the allow-list: Windows would look for it in the executable's folder first"
  done <<<"$unknown"
fi

if ((!dlls_only)); then
  unlisted=$(comm -23 <(echo "$imports") <(echo "$allowed"))
  if [[ -n $unlisted ]]; then
    while read -r entry; do fail "import not on the allow-list: $entry"; done <<<"$unlisted"
  fi
fi

if ((failures > 0)); then
  echo "check_imports: $exe: $failures problem(s)" >&2
  exit 1
fi
summary="PE32 console i386, subsystem $major.$minor, $size bytes, DLLs $(paste -sd' ' <<<"$dlls") (all KnownDLLs)"
if ((dlls_only)); then
  echo "check_imports: $exe: $summary; functions and size not checked"
else
  echo "check_imports: $exe: $summary, $(wc -l <<<"$imports") imports, all allowed"
fi
