#!/usr/bin/env bash
# Fails when a source file includes a header of a folder above its own.
# The folders, top to bottom; a file may include its own folder's headers
# and those of any folder below it. Folders on one line are beside each
# other and may not include one another.
#   app checker   the run and its messages; hostconfig-check
#   discovery     the adapters and the Windows version
#   system        the changes a run makes to the machine
#   settings      the settings file, its lookup and the machine's record
#   util          small text helpers every folder shares
#   os            the seam to the operating system
# Test code (tests/, fuzz/, bench/) may include anything.
# Usage: tests/check_layers.sh [ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

layers=("app checker" "discovery" "system" "settings" "util" "os")

declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

status=0
count=0
for folder in "${!rank[@]}"; do
  [[ -d $folder ]] || continue
  while IFS= read -r hit; do
    # hit: FILE:LINE:#include "TARGET"
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    target=${rest#*\"}
    target=${target%%\"*}
    count=$((count + 1))
    other=${target%%/*}
    [[ $other == "$folder" ]] && continue
    if [[ -z ${rank[$other]+set} ]] || ((rank[$other] <= rank[$folder])); then
      echo "$file:$line: includes \"$target\", which is not below $folder/"
      status=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' '^#include "' "$folder" || true)
done
((status == 0)) && echo "layers: $count includes checked, none runs upward"
exit $status
