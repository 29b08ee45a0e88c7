#!/usr/bin/env bash
# Whole runs of the real hostconfig.exe under Wine, in one invocation: the
# example settings file against the same file with 10,000 and 100,000 other
# machines' entries before this machine's entry (targets: at most 1.10 and
# 2.0 times the example), and the example with and without "LogFile" (target:
# at most 10 ms more). Prints the median wall time of each, the peak
# resident memory of the run's process and the executable's size (target: at
# most 300 KiB).
#
# Two pairs are timed: the full run (which starts the network shell, here
# the recorder, once per command) and a run whose entry holds only the computer name
# (no network shell), which shows hostconfig's own cost.
#
# Run as root (network namespaces). Environment: HC_BUILD (default
# build/win32), PERF_RUNS (runs per file, default 7).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../tests/wine/lib.sh
source "$root/tests/wine/lib.sh"
runs=${PERF_RUNS:-7}

trap hc_cleanup_all EXIT
hc_prepare || exit 1
hc_case_begin perf 1 || exit 1

# The adapter and MAC of the example's first entry; the host name already
# equals the entry's name, so no run renames or restarts.
hc_adapter eth0 02:0a:1b:c3:d4:5e on
hc_hostname lab-07
hc_install

example=$HC_CASE_DIR/example.ini
large=$HC_CASE_DIR/large.ini
name_only=$HC_CASE_DIR/name_only.ini
name_only_large=$HC_CASE_DIR/name_only_large.ini
cp "$root/examples/hostconfig.ini" "$example"
other_entries() {
  awk -v n="${1:-100000}" 'BEGIN { for (i = 0; i < n; i++)
    printf "%012X=PC-%d,10.%d.%d.%d\r\n", i, i, int(i / 65536), int(i / 256) % 256, i % 256 }'
}
medium=$HC_CASE_DIR/medium.ini
logged=$HC_CASE_DIR/logged.ini
# This machine's entry moved to the end, after the other machines.
{ grep -v '^020A1BC3D45E=' "$example"; other_entries; grep '^020A1BC3D45E=' "$example"; } >"$large"
{ grep -v '^020A1BC3D45E=' "$example"; other_entries 10000; grep '^020A1BC3D45E=' "$example"; } >"$medium"
{ printf 'LogFile=runs.csv\r\n'; cat "$example"; } >"$logged"
printf 'Mask=255.255.255.0\r\n020A1BC3D45E=LAB-07\r\n' >"$name_only"
{ printf 'Mask=255.255.255.0\r\n'; other_entries; printf '020A1BC3D45E=LAB-07\r\n'; } >"$name_only_large"

# time_runs FILE: median wall time of $runs runs, in milliseconds.
time_runs() {
  local file=$1 i start end times=()
  hc_ini "$file"
  hc_run   # warm-up: file cache, Wine's DLLs
  for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    hc_run
    end=$EPOCHREALTIME
    [[ $HC_RC == 0 ]] || { echo "run failed with exit code $HC_RC" >&2; exit 1; }
    times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%d", (e - s) * 1000 }')")
  done
  printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}

# peak_kib FILE: the largest resident set of the run's process, in KiB.
peak_kib() {
  hc_ini "$1"
  hc_start_session
  hc_in_machine env WINEDLLOVERRIDES='netsh.exe,wineboot.exe=n' \
    /usr/bin/time -f '%M' -o "$HC_CASE_DIR/peak" wine 'C:\kits\hostconfig.exe' \
    </dev/null >/dev/null 2>&1
  cat "$HC_CASE_DIR/peak"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

report() {
  local label=$1 small_file=$2 large_file=$3 small large
  small=$(time_runs "$small_file")
  large=$(time_runs "$large_file")
  printf '%-26s %7d ms %7d ms   ratio %s   (file %d / %d bytes)\n' "$label" \
    "$small" "$large" "$(ratio "$large" "$small")" \
    "$(stat -c %s "$small_file")" "$(stat -c %s "$large_file")"
}

echo "Median of $runs runs under Wine (example file, more entries):"
report "full run, 10,000 entries" "$example" "$medium"
report "full run" "$example" "$large"
report "full run with LogFile" "$example" "$logged"
report "name only, no commands" "$name_only" "$name_only_large"
echo "Peak resident memory of the run: $(peak_kib "$example") KiB (example), $(peak_kib "$large") KiB (100,000 entries)"
size=$(stat -c %s "$HC_EXE")
echo "Executable: $size bytes ($((size / 1024)) KiB; target 300 KiB)"
hc_case_end
