#!/usr/bin/env bash
# Runs every test: installs what is missing, builds natively and runs the
# unit tests, cross-builds hostconfig.exe, checks the import tables and
# headers of both executables, runs the Wine tests on them and the demo.
# Run as root (packages, network namespaces).
# Usage: bash scripts/test.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [[ $(id -u) != 0 ]]; then
  exec sudo -E bash "$0" "$@"
fi

step() { echo; echo "=== $* ==="; }

step "Installing missing packages"
bash scripts/install_deps.sh

step "Include layers"
bash tests/check_layers.sh

step "Native build and unit tests"
cmake --preset native
cmake --build --preset native -j 2
ctest --preset native -j 2 --timeout 300

step "Sanitized native build and unit tests (ASan, UBSan)"
cmake --preset sanitize
cmake --build --preset sanitize -j 2
ctest --preset sanitize -j 2 --timeout 300

step "Settings lookup benchmark (allocation check)"
bash scripts/bench.sh --benchmark_min_time=0.1

step "Windows build (mingw-w64, i686)"
cmake --preset win32
cmake --build --preset win32 -j 2

step "Import tables and headers of hostconfig.exe and hostconfig-check.exe"
bash tests/check_imports.sh build/win32/hostconfig.exe
# The checker's runtime imports more functions, and it has no size limit;
# its DLLs must be KnownDLLs all the same.
bash tests/check_imports.sh --dlls-only build/win32/hostconfig-check.exe

step "Wine tests on hostconfig.exe"
# 32-bit Wine needs a kernel that runs 32-bit programs; some machines boot
# with that turned off (ia32_emulation=off), and no package can change it.
if wine --version >/dev/null 2>&1; then
  bash tests/wine/run_all.sh
else
  echo "SKIPPED: this machine cannot run 32-bit programs (wine --version fails;"
  echo "the kernel's 32-bit emulation is off), so hostconfig.exe cannot run here."
fi

step "The demo (the README's main command)"
# It skips itself, saying so, where 32-bit programs cannot run.
bash scripts/demo.sh

step "Release package: resources of both executables, the zip, the examples"
bash tests/package_test.sh build/win32 build/native

step "Fuzzing (FUZZ_SECONDS=${FUZZ_SECONDS:-60} per target)"
bash scripts/fuzz.sh

echo
echo "All tests passed."
