#!/usr/bin/env bash
# Builds hostconfig.exe and runs it under Wine on the bundled example: a demo
# machine, made in network namespaces of its own, whose adapter has the MAC
# address of an entry in examples/hostconfig.ini. Shows the console output,
# the network shell commands and restart request that the run made (recorded,
# not carried out) and the "NV Hostname" registry value it wrote. The host's
# own network and name are not touched. Run as root.
# Exits 0 after a complete run, and also, saying so, on a machine that
# cannot run 32-bit programs; any other failure exits non-zero.
# Usage: bash scripts/demo.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [[ $(id -u) != 0 ]]; then
  exec sudo -E bash "$0" "$@"
fi

bash scripts/install_deps.sh >&2
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j 2 >/dev/null

# 32-bit Wine needs a kernel that runs 32-bit programs; some machines boot
# with that turned off (ia32_emulation=off), and no package can change it.
if ! wine --version >/dev/null 2>&1; then
  echo "Built build/win32/hostconfig.exe, but this machine cannot run 32-bit"
  echo "programs (wine --version fails; the kernel's 32-bit emulation is off),"
  echo "so the demo cannot run it here. Nothing was run."
  exit 0
fi

# shellcheck source=../tests/wine/lib.sh
source tests/wine/lib.sh
trap hc_cleanup_all EXIT
hc_prepare
hc_case_begin demo 1

hc_hostname old-pc
hc_adapter eth0 02:0a:1b:c3:d4:5e on
hc_install hostconfig.exe
hc_ini examples/hostconfig.ini

cat <<INFO

Demo machine: host name "old-pc", one Ethernet adapter eth0 with MAC
02:0A:1B:C3:D4:5E (in a network namespace of its own).
Settings file: examples/hostconfig.ini, copied beside the executable as
C:\\kits\\hostconfig.ini.

--- C:\\kits\\hostconfig.exe (console output) ---
INFO
hc_run --lang C
tr -d '\r' <"$HC_STDOUT"
echo "--- exit code $HC_RC ---"

echo
echo "Programs the run started (netsh.exe and wineboot.exe are recorders here):"
recorded=$(hc_recorded_commands | sed "s/^/  /")
echo "${recorded:-  (none)}"

echo
echo "Registry: $HC_TCPIP_KEY"
name=$(hc_reg_value "$HC_TCPIP_KEY" "NV Hostname") || name="(not set)"
echo "  NV Hostname = $name"

hc_case_end
