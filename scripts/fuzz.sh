#!/bin/sh
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs each for a
# bounded time over a copy of its seed corpus. Fails on any finding; the
# input that caused it is kept in the artifact directory.
#
#   FUZZ_SECONDS   seconds per target (default 60)
#   FUZZ_TARGETS   targets to run (default: all four)
#   FUZZ_BUILD_DIR build directory (default build/fuzz)
#   FUZZ_OUT       where corpora and findings go (default $FUZZ_BUILD_DIR/run)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}
out=${FUZZ_OUT:-$build/run}
targets=${FUZZ_TARGETS:-"settings_lookup expand_variables registry_integer address_commands"}

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOSTCONFIG_FUZZ=ON >/dev/null
cmake --build "$build" -j2

status=0
summary=""
for target in $targets; do
  exe="$build/fuzz/${target}_fuzzer"
  corpus="$out/corpus/$target"
  findings="$out/findings/$target"
  mkdir -p "$corpus" "$findings"
  log="$out/$target.log"
  echo "== $target: ${seconds}s"
  # New inputs go to the first directory; the seed corpus stays untouched.
  if "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/" \
      "$corpus" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    result=ok
  else
    result="FINDING (see $log and $findings)"
    status=1
    tail -n 40 "$log"
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  line=$(printf '%-18s %10s executions %8s/s  %s' "$target" "${execs:-?}" "${rate:-?}" "$result")
  echo "$line"
  summary="$summary$line
"
done
echo
echo "Fuzzing, ${seconds}s per target:"
printf '%s' "$summary"
exit $status
