# Where the executables load DLLs from. Copies of the load marker
# (load_marker.dll, which leaves "<its path>.loaded" beside itself when it is
# loaded) are planted beside the executable and in the working directory,
# under the names of DLLs that are not KnownDLLs, and Wine is told to prefer
# such a native file to its own DLL wherever its search finds one. Neither
# executable may load any of them, and each must run exactly as it does
# without them. Uses the lab settings and expected lines of cases_run.sh and
# HC_CHECK_EXE of cases_checker.sh.

# The planted names: iphlpapi.dll, which hostconfig.exe uses; what Wine's
# iphlpapi and user32 import, directly or further down, that is not a
# KnownDLL; what user32 loads while running (imm32 for the first window,
# uxtheme, comctl32, setupapi); a few more of the network and theme DLLs.
HC_PLANTED_DLLS=(
  iphlpapi nsi winnsi dnsapi ws2_32 wsock32 mswsock netapi32 dhcpcsvc winhttp
  version sechost zlib1 ucrtbase win32u imm32 uxtheme dwmapi comctl32 setupapi
  secur32 sspicli userenv
)

# The WINEDLLOVERRIDES entry for them: a native file of that name where the
# search finds one, Wine's own DLL otherwise.
hc_planted_overrides() {
  local IFS=,
  echo "${HC_PLANTED_DLLS[*]}=n,b"
}

# hc_plant_markers DIR...: a copy of the marker under every planted name in
# each directory (Unix paths).
hc_plant_markers() {
  local dir name
  for dir in "$@"; do
    mkdir -p "$dir"
    for name in "${HC_PLANTED_DLLS[@]}"; do
      cp "$HC_MARKER_DLL" "$dir/$name.dll"
    done
  done
}

# hc_expect_no_markers WHO: no planted copy anywhere under C:\kits was loaded.
hc_expect_no_markers() {
  local found
  found=$(cd "$(hc_kits_path "")" && find . -name '*.loaded' | sort)
  [[ -z $found ]] || hc_fail "$1 loaded planted DLLs: $(paste -sd' ' <<<"$found")"
}

# The marker does leave its trace: loaded by rundll32 from outside C:\kits,
# it must create probe.dll.loaded. A marker that never wrote would make
# every hc_expect_no_markers pass.
hc_expect_marker_works() {
  local dir=$WINEPREFIX/drive_c/control
  mkdir -p "$dir"
  cp "$HC_MARKER_DLL" "$dir/probe.dll"
  hc_wine rundll32.exe 'C:\control\probe.dll,Probe' </dev/null >/dev/null 2>&1
  [[ -f $dir/probe.dll.loaded ]] ||
    hc_fail "the load marker left no trace when rundll32 loaded it"
}

# One machine per row: a label, the host name, the machine's entry line, and
# how the run ends: "complete" (the name already matches: the address and
# DNS commands, no rename, no restart) or "stopped" (no entry: the box).
HC_DLL_RUN_CASES=(
  "name already matches|lab-07|020A1BC3D45E=lab-07,192.0.2.10|complete"
  "no entry for this machine|old-pc|0A0B0C0D0E0F=other,192.0.2.10|stopped"
)

# hostconfig.exe in C:\kits, run from the working directory C:\kits\work,
# first as it is and then with the markers planted in both folders: the same
# exit code, console bytes and started commands, and no marker loaded. The
# run without them must also be the expected one, so that the IP helper
# library really was loaded from the system directory.
wine_case_dll_hostconfig_loads_nothing_from_its_folders() {
  [[ -f $HC_MARKER_DLL ]] || { hc_fail "no $HC_MARKER_DLL: build the win32 preset"; return; }
  local HC_DLL_OVERRIDES
  # shellcheck disable=SC2034  # read by hc_wine
  HC_DLL_OVERRIDES=$(hc_planted_overrides)
  local row label hostname entry outcome expect_hex expect_recorded work
  local plain_rc plain_hex plain_recorded index=0
  for row in "${HC_DLL_RUN_CASES[@]}"; do
    IFS='|' read -r label hostname entry outcome <<<"$row"
    index=$((index + 1))
    if ((index > 1)); then hc_fresh_machine "$index"; fi
    HC_CASE="dll_hostconfig_loads_nothing_from_its_folders: $label"
    hc_hostname "$hostname"
    hc_adapter eth0 02:0a:1b:c3:d4:5e on
    hc_install
    printf '%s%s\r\n' "$HC_LAB_INI" "$entry" | hc_ini
    if [[ $outcome == complete ]]; then
      expect_hex=$HC_COMPLETE_HEX
      expect_recorded=$(hc_lab_commands eth0)
    else
      expect_hex=$HC_STOPPED_HEX
      expect_recorded=
    fi
    work=$(hc_kits_path work)
    mkdir -p "$work"
    # The session's own processes start outside the planted folders.
    hc_start_session

    pushd "$work" >/dev/null || { hc_fail "cannot enter $work"; continue; }
    hc_run
    popd >/dev/null || return
    hc_expect_rc 0
    hc_expect_stdout_hex "$expect_hex"
    plain_rc=$HC_RC
    plain_hex=$(hc_file_hex "$HC_STDOUT")
    plain_recorded=$(hc_recorded)
    hc_expect_eq "$plain_recorded" "$expect_recorded" "recorded starts without planted DLLs"

    rm -f "$WINEPREFIX/drive_c/recorder.log"
    hc_plant_markers "$(hc_kits_path "")" "$work"
    pushd "$work" >/dev/null || { hc_fail "cannot enter $work"; continue; }
    hc_run
    popd >/dev/null || return
    hc_expect_eq "$HC_RC" "$plain_rc" "exit code with planted DLLs"
    hc_expect_eq "$(hc_file_hex "$HC_STDOUT")" "$plain_hex" "standard output with planted DLLs"
    hc_expect_eq "$(hc_recorded)" "$plain_recorded" "recorded starts with planted DLLs"
    hc_expect_no_markers hostconfig.exe
  done
  # shellcheck disable=SC2034  # read by hc_fail
  HC_CASE="dll_hostconfig_loads_nothing_from_its_folders: control"
  hc_expect_marker_works
}

# hostconfig-check.exe in C:\kits, run there on the example settings file,
# first as it is and then with the markers planted beside it: the same exit
# code and output, and no marker loaded.
wine_case_dll_checker_loads_nothing_from_its_folder() {
  [[ -f $HC_MARKER_DLL ]] || { hc_fail "no $HC_MARKER_DLL: build the win32 preset"; return; }
  [[ -f $HC_CHECK_EXE ]] || { hc_fail "no $HC_CHECK_EXE: build the win32 preset"; return; }
  local HC_DLL_OVERRIDES
  # shellcheck disable=SC2034  # read by hc_wine
  HC_DLL_OVERRIDES=$(hc_planted_overrides)
  local kits out=$HC_CASE_DIR/check.out plain_rc=0 planted_rc=0 plain_hex
  kits=$(hc_kits_path "")
  cp "$HC_CHECK_EXE" "$kits/hostconfig-check.exe"
  cp "$HC_ROOT/package/hostconfig.ini" "$kits/hostconfig.ini"
  hc_start_session

  (cd "$kits" && hc_wine 'C:\kits\hostconfig-check.exe' hostconfig.ini) \
    </dev/null >"$out" 2>/dev/null || plain_rc=$?
  hc_expect_eq "$plain_rc" 0 "exit code without planted DLLs"
  # The first line names the ANSI code page of Wine's locale.
  [[ $(head -n 1 "$out" | tr -d '\r') == "read as code page "[0-9]* ]] ||
    hc_fail "first line without planted DLLs: $(head -n 1 "$out")"
  hc_expect_eq "$(sed 1d "$out" | tr -d '\r')" "0 errors, 0 warnings" "output without planted DLLs"
  plain_hex=$(hc_file_hex "$out")

  hc_plant_markers "$kits"
  (cd "$kits" && hc_wine 'C:\kits\hostconfig-check.exe' hostconfig.ini) \
    </dev/null >"$out" 2>/dev/null || planted_rc=$?
  hc_expect_eq "$planted_rc" "$plain_rc" "exit code with planted DLLs"
  hc_expect_eq "$(hc_file_hex "$out")" "$plain_hex" "output with planted DLLs"
  hc_expect_no_markers hostconfig-check.exe
  hc_expect_marker_works
}
