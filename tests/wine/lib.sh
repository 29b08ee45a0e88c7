# The Wine test harness: runs the real hostconfig.exe on a made-up machine.
#
# Source this file (bash, as root). Each case gets
#   - its own network namespace HC_NS holding only the adapters the case adds
#     (veth devices whose other ends sit in a second namespace HC_PEER_NS, so
#     that they are not listed as adapters too), plus loopback;
#   - its own host name, in a UTS namespace of its own;
#   - its own Wine prefix, copied from a template prefix made once, with a
#     wineserver started inside those namespaces on first use (the server
#     keeps the namespace and host name it started in) and killed at the end;
#   - the recording program in place of netsh.exe and wineboot.exe, so that
#     the network shell commands and a restart request are written to a log
#     instead of being carried out; it exits with the code a case exports in
#     HOSTCONFIG_RECORD_EXIT (default 0), which reaches it through the Wine
#     programs' inherited environment.
# The host's own interfaces are never touched.
#
# Writing a case (see cases_*.sh; run_all.sh runs every wine_case_* function
# in a subshell, between hc_case_begin and hc_case_end):
#   wine_case_example() {
#     hc_adapter eth0 02:0a:1b:c3:d4:5e on   # name, MAC, IPv6 on|off
#     hc_install                              # C:\kits\hostconfig.exe
#     hc_ini <<'EOF'                          # C:\kits\hostconfig.ini
#   020A1BC3D45E=LAB-07,192.0.2.10
#   EOF
#     hc_run --lang zh_CN.UTF-8 -- extra args # stdout in $HC_STDOUT, code in $HC_RC
#     hc_expect_rc 0
#     hc_expect_stdout_hex "$(hc_hex 'line one')0d0a"
#     hc_recorded                             # the recorded command lines
#     hc_reg_value 'HKLM\...' 'NV Hostname'   # a value's data, via wine reg query
#   }
# A failed hc_expect_* prints the case name and what differed, and makes the
# case fail; the case goes on so that every difference is shown.

HC_ROOT=${HC_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
HC_BUILD=${HC_BUILD:-$HC_ROOT/build/win32}
HC_EXE=${HC_EXE:-$HC_BUILD/hostconfig.exe}
HC_RECORDER=${HC_RECORDER:-$HC_BUILD/recorder.exe}
HC_HOLD_OPEN=${HC_HOLD_OPEN:-$HC_BUILD/hold_open.exe}
HC_MARKER_DLL=${HC_MARKER_DLL:-$HC_BUILD/load_marker.dll}
HC_TIMEOUT=${HC_TIMEOUT:-120}   # seconds for any one Wine command
HC_WORK=${HC_WORK:-}

export WINEDEBUG=-all WINEARCH=win32
unset DISPLAY WAYLAND_DISPLAY   # without a display, message boxes return at once

# The registry key that the rename writes.
HC_TCPIP_KEY='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters'

hc_log() { echo "wine-tests: $*" >&2; }

# Creates HC_WORK (unless given) and the template prefix, booted once.
hc_prepare() {
  [[ $(id -u) == 0 ]] || { hc_log "must run as root (network namespaces)"; return 1; }
  [[ -f $HC_EXE ]] || { hc_log "no $HC_EXE: build the win32 preset first"; return 1; }
  [[ -f $HC_RECORDER ]] || { hc_log "no $HC_RECORDER"; return 1; }
  if [[ -z $HC_WORK ]]; then
    HC_WORK=$(mktemp -d /tmp/hostconfig-wine.XXXXXX)
  fi
  mkdir -p "$HC_WORK/cases"
  : >>"$HC_WORK/namespaces"
  if [[ ! -d $HC_WORK/template ]]; then
    hc_log "preparing the template Wine prefix"
    WINEPREFIX=$HC_WORK/template timeout "$HC_TIMEOUT" wineboot --init >/dev/null 2>&1 || true
    WINEPREFIX=$HC_WORK/template wineserver -w
    [[ -f $HC_WORK/template/system.reg ]] || { hc_log "wineboot made no prefix"; return 1; }
  fi
}

# Stops the wineservers and deletes every namespace this run created, and the
# work directory unless HC_KEEP=1. Servers and namespaces that a case has
# already ended are skipped quietly: the clean-up runs as an EXIT trap, also
# under `set -e`, and must leave the exit status of the script alone.
hc_cleanup_all() {
  [[ -n $HC_WORK && -d $HC_WORK ]] || return 0
  local ns prefix
  # A case that ended early may have left its (persistent) wineserver.
  for prefix in "$HC_WORK"/cases/*/prefix; do
    if [[ -d $prefix ]]; then
      WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    fi
  done
  while read -r ns; do
    if [[ -n $ns ]]; then
      ip netns del "$ns" 2>/dev/null || true
    fi
  done <"$HC_WORK/namespaces"
  : >"$HC_WORK/namespaces"
  if [[ ${HC_KEEP:-0} != 1 ]]; then rm -rf "$HC_WORK"; fi
}

# hc_case_begin NAME INDEX: the case's directory, namespaces and prefix.
# A case that needs several fresh machines calls hc_case_end and then
# hc_case_begin again with a new INDEX (keeping HC_FAILED).
hc_case_begin() {
  HC_CASE=$1
  HC_CASE_INDEX=$2
  HC_CASE_DIR=$HC_WORK/cases/$1
  HC_NS=hc$$c$2
  HC_PEER_NS=${HC_NS}p
  HC_HOSTNAME=labpc
  HC_EXE_NAME=hostconfig.exe
  HC_FAILED=0
  HC_RC=
  HC_SERVER=0
  export WINEPREFIX=$HC_CASE_DIR/prefix
  export HOSTCONFIG_RECORD_LOG='C:\recorder.log'
  rm -rf "$HC_CASE_DIR"
  mkdir -p "$HC_CASE_DIR"
  printf '%s\n%s\n' "$HC_NS" "$HC_PEER_NS" >>"$HC_WORK/namespaces"
  ip netns add "$HC_NS"
  ip netns add "$HC_PEER_NS"
  ip -n "$HC_NS" link set lo up
  cp -a "$HC_WORK/template" "$WINEPREFIX"
  mkdir -p "$WINEPREFIX/drive_c/kits"
  # The recording program stands in for the network shell and for wineboot
  # (which Wine's ExitWindowsEx starts). hc_wine boots the session with the
  # builtin wineboot first, then uses the native files.
  cp "$HC_RECORDER" "$WINEPREFIX/drive_c/windows/system32/netsh.exe"
  cp "$HC_RECORDER" "$WINEPREFIX/drive_c/windows/system32/wineboot.exe"
}

# Stops the case's wineserver and deletes its namespaces and (unless
# HC_KEEP=1) its directory.
hc_case_end() {
  if [[ -d $WINEPREFIX ]]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  ip netns del "$HC_NS" 2>/dev/null || true
  ip netns del "$HC_PEER_NS" 2>/dev/null || true
  if [[ ${HC_KEEP:-0} != 1 ]]; then rm -rf "$HC_CASE_DIR"; fi
}

# hc_fresh_machine ROW: replaces the case's machine (namespaces, prefix,
# wineserver) by a new one for row ROW of a table case; failures so far stay.
hc_fresh_machine() {
  local case=${HC_CASE%%:*} failed=$HC_FAILED
  hc_case_end
  hc_case_begin "$case" "${HC_CASE_INDEX%r*}r$1"
  HC_FAILED=$failed
}

# hc_hostname NAME: the machine's host name; call before the first Wine
# command of the case (the wineserver keeps the name it started with).
hc_hostname() { HC_HOSTNAME=$1; }

# hc_adapter IFNAME MAC on|off: adds an Ethernet adapter. With "on" the
# adapter holds an IPv6 link-local address (which Wine reports with DHCP
# origins, so it qualifies); with "off" IPv6 is disabled on it. Adapters are
# listed in the order they are added.
hc_adapter() {
  local name=$1 mac=$2 ipv6=$3 peer=p${1}
  ip -n "$HC_NS" link add "$name" address "$mac" type veth peer name "$peer" netns "$HC_PEER_NS"
  ip netns exec "$HC_PEER_NS" sysctl -qw "net.ipv6.conf.$peer.disable_ipv6=1"
  if [[ $ipv6 == on ]]; then
    ip netns exec "$HC_NS" sysctl -qw "net.ipv6.conf.$name.accept_dad=0"
  else
    ip netns exec "$HC_NS" sysctl -qw "net.ipv6.conf.$name.disable_ipv6=1"
  fi
  ip -n "$HC_PEER_NS" link set "$peer" up
  ip -n "$HC_NS" link set "$name" up
  if [[ $ipv6 == on ]]; then
    local i
    for i in $(seq 50); do
      ip -n "$HC_NS" -6 addr show dev "$name" scope link | grep -q 'inet6' && return 0
      sleep 0.1
    done
    hc_log "$HC_CASE: $name got no IPv6 link-local address"
    return 1
  fi
}

# hc_ipv4 IFNAME ADDR/PREFIX: adds an IPv4 address to an adapter.
hc_ipv4() { ip -n "$HC_NS" addr add "$2" dev "$1"; }

# hc_install [NAME]: copies the executable to C:\kits\NAME (default
# hostconfig.exe); later hc_run and hc_ini use that name.
hc_install() {
  HC_EXE_NAME=${1:-hostconfig.exe}
  cp "$HC_EXE" "$WINEPREFIX/drive_c/kits/$HC_EXE_NAME"
}

# hc_ini [FILE]: writes the settings file beside the executable, byte for
# byte, from FILE or standard input.
hc_ini() {
  local ini=$WINEPREFIX/drive_c/kits/${HC_EXE_NAME%.*}.ini
  if (($#)); then cp "$1" "$ini"; else cat >"$ini"; fi
}

# The Unix path of C:\kits\<file>.
hc_kits_path() { echo "$WINEPREFIX/drive_c/kits/$1"; }

# hc_in_machine CMD...: runs CMD in the case's namespaces under its host name.
hc_in_machine() {
  ip netns exec "$HC_NS" unshare --uts sh -c 'hostname "$0" && exec "$@"' \
    "$HC_HOSTNAME" "$@"
}

# Starts the case's wineserver inside the machine and boots the session with
# the builtin wineboot. Called by the first hc_wine or hc_run.
hc_start_session() {
  ((HC_SERVER)) && return 0
  HC_SERVER=1
  hc_in_machine wineserver -p
  hc_in_machine env WINEDLLOVERRIDES='wineboot.exe=b' \
    timeout "$HC_TIMEOUT" wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1
}

# hc_wine ARGS...: runs a Wine program inside the machine (after the boot),
# with the recorders in place of netsh.exe and wineboot.exe. A case may set
# HC_DLL_OVERRIDES to more WINEDLLOVERRIDES entries (e.g. 'nsi,dnsapi=n,b'),
# which are appended after a ';'.
hc_wine() {
  hc_start_session
  hc_in_machine env \
    WINEDLLOVERRIDES="netsh.exe,wineboot.exe=n${HC_DLL_OVERRIDES:+;$HC_DLL_OVERRIDES}" \
    timeout "$HC_TIMEOUT" wine "$@"
}

# hc_run [--lang LANG] [--stdout PATH] [-- ARGS...]: runs C:\kits\<exe> with
# standard output to PATH (default $HC_CASE_DIR/stdout, kept in HC_STDOUT)
# and standard input empty; the exit code goes to HC_RC.
hc_run() {
  local lang=C
  HC_STDOUT=$HC_CASE_DIR/stdout
  while (($#)); do
    case $1 in
      --lang) lang=$2; shift 2 ;;
      --stdout) HC_STDOUT=$2; shift 2 ;;
      --) shift; break ;;
      *) hc_log "hc_run: unknown option $1"; return 2 ;;
    esac
  done
  hc_start_session
  HC_RC=0
  LANG=$lang LC_ALL=$lang hc_wine "C:\\kits\\$HC_EXE_NAME" "$@" \
    </dev/null >"$HC_STDOUT" 2>"$HC_CASE_DIR/stderr" || HC_RC=$?
}

# hc_hold_open FILE: a Windows process of the machine holds C:\kits\FILE
# open for writing, sharing nothing, until hc_release_held FILE (at most 60 s).
hc_hold_open() {
  local unix=$WINEPREFIX/drive_c/kits/$1 i
  cp "$HC_HOLD_OPEN" "$WINEPREFIX/drive_c/kits/hold_open.exe"
  rm -f "$unix.held" "$unix.release"
  hc_wine 'C:\kits\hold_open.exe' "C:\\kits\\$1" 60 </dev/null >/dev/null 2>&1 &
  for i in $(seq 100); do
    [[ -f $unix.held ]] && return 0
    sleep 0.1
  done
  hc_log "$HC_CASE: hold_open did not open $1"
  return 1
}

hc_release_held() {
  : >"$WINEPREFIX/drive_c/kits/$1.release"
  wait
}

# hc_recorded: the recording log, one "begin <command line>" and one "end"
# line per start of netsh.exe or wineboot.exe; empty when nothing was started.
# Wine's ExitWindowsEx starts wineboot.exe without waiting for it, so this
# first waits until every recorded start has ended and the log has stayed
# unchanged for a second (at most 15 seconds).
hc_recorded() {
  local log=$WINEPREFIX/drive_c/recorder.log last=x now i stable=0
  for i in $(seq 30); do
    now=$(cat "$log" 2>/dev/null)
    if [[ $now == "$last" ]] &&
       (($(grep -c '^begin ' <<<"$now") == $(grep -c '^end$' <<<"$now"))); then
      stable=$((stable + 1))
      ((stable >= 2)) && break
    else
      stable=0
    fi
    last=$now
    sleep 0.5
  done
  [[ -f $log ]] && cat "$log"
  return 0
}

# hc_recorded_commands: only the recorded command lines, one per line.
hc_recorded_commands() { hc_recorded | sed -n 's/^begin //p'; }

# hc_reg_value KEY NAME: the data of a registry value as `wine reg query`
# shows it (REG_SZ data as text); nothing and status 1 when it is missing.
hc_reg_value() {
  local out
  out=$(hc_wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r') || return 1
  awk -v name="$2" '
    index($0, "    " name "    ") == 1 {
      rest = substr($0, length(name) + 9)
      sub(/^REG_[A-Z_]+    /, "", rest)
      print rest; found = 1
    }
    END { exit !found }' <<<"$out"
}

# --- Assertions ---

hc_fail() {
  echo "FAIL [$HC_CASE]: $*" >&2
  HC_FAILED=1
}

# hc_hex TEXT: the bytes of TEXT as lower-case hexadecimal, no separators.
hc_hex() { printf '%s' "$1" | od -An -v -tx1 | tr -d ' \n'; }

hc_file_hex() { od -An -v -tx1 "$1" | tr -d ' \n'; }

hc_expect_rc() {
  [[ $HC_RC == "$1" ]] || hc_fail "exit code $HC_RC, expected $1 (stderr: $(head -c 300 "$HC_CASE_DIR/stderr" 2>/dev/null))"
}

# hc_expect_stdout_hex HEX: standard output is exactly these bytes.
hc_expect_stdout_hex() {
  local got
  got=$(hc_file_hex "$HC_STDOUT")
  [[ $got == "$1" ]] || hc_fail "standard output bytes
     got: $got
  expect: $1"
}

# hc_expect_eq ACTUAL EXPECTED WHAT
hc_expect_eq() {
  [[ $1 == "$2" ]] || hc_fail "$3: got [$1], expected [$2]"
}
