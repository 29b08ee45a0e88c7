#!/bin/sh
# Builds and runs the settings lookup benchmark (optimised, Google
# Benchmark): one lookup of the machine entry, last in files of 1,000, 10,000
# and 100,000 entries, in bytes per second, with the fitted complexity and
# the allocations of one lookup. Fails when a lookup allocates per line.
# Extra arguments go to the benchmark (e.g. --benchmark_min_time=1).
#   BENCH_BUILD_DIR build directory (default build/bench)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BENCH_BUILD_DIR:-$root/build/bench}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DHOSTCONFIG_BENCH=ON >/dev/null
cmake --build "$build" -j2
"$build/bench/settings_lookup_bench" "$@"
