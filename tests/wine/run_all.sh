#!/usr/bin/env bash
# Runs the Wine cases on the built hostconfig.exe: every wine_case_* function
# of tests/wine/cases_*.sh, each on a fresh machine (see lib.sh). Run as root.
# Usage: tests/wine/run_all.sh [PATTERN]   (only cases whose name has PATTERN)
# Environment: HC_BUILD (default build/win32), HC_KEEP=1 keeps the work files.
# Prints "N passed, N failed"; exits nonzero when a case failed.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"
for file in "$here"/cases_*.sh; do
  # shellcheck disable=SC1090
  source "$file"
done

trap hc_cleanup_all EXIT
trap 'exit 130' INT TERM
hc_prepare || exit 1

pattern=${1:-}
passed=0
failed=0
index=0
for case_name in $(declare -F | awk '{print $3}' | grep '^wine_case_' | sort); do
  name=${case_name#wine_case_}
  [[ -z $pattern || $name == *"$pattern"* ]] || continue
  index=$((index + 1))
  start=$SECONDS
  (
    set +e
    hc_case_begin "$name" "$index" || exit 1
    "$case_name"
    status=$HC_FAILED
    hc_case_end
    exit "$status"
  )
  if (($? == 0)); then
    passed=$((passed + 1))
    echo "ok   $name ($((SECONDS - start)) s)"
  else
    failed=$((failed + 1))
    echo "FAIL $name ($((SECONDS - start)) s)"
  fi
done

echo "$passed passed, $failed failed"
((failed == 0))
