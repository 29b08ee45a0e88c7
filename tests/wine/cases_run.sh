# Whole runs of the real executable on made-up machines: the adapter it
# picks, the entry it finds, the commands, registry value and restart request
# it leaves, and its two early stops.

HC_LAB_INI=$'Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nDNS1=192.0.2.53\r\nDNS2=192.0.2.54\r\nREBOOT=1\r\n'

# Console lines (hex) of the English table.
hc_lines_hex() {
  local text out=""
  for text in "$@"; do out+=$(hc_hex "$text")0d0a; done
  echo "$out"
}
HC_STOPPED_HEX=$(hc_lines_hex 'HostConfig v1.0 (x86)' 'Detecting ethernet adapter...')
HC_COMPLETE_HEX=$(hc_lines_hex 'HostConfig v1.0 (x86)' 'Detecting ethernet adapter...' \
  'Modifying ComputerName...' 'Modifying ethernet adapter config...')

# The three network shell commands for adapter $1, address 192.0.2.10 and the
# lab defaults, each recorded as begin/end (one ended before the next began).
hc_lab_commands() {
  cat <<EOF
begin "C:\\windows\\system32\\netsh.exe" interface ipv4 set address "$1" static 192.0.2.10 255.255.255.0 192.0.2.1
end
begin "C:\\windows\\system32\\netsh.exe"  interface  ipv4  set  dns  "$1"  static  192.0.2.53  primary
end
begin "C:\\windows\\system32\\netsh.exe"  interface  ipv4  add  dns  "$1"  192.0.2.54
end
EOF
}

HC_RESTART_RECORD=$'begin C:\\windows\\system32\\wineboot.exe --kill\nend'

wine_case_complete_run_renames_configures_and_restarts() {
  hc_hostname old-pc
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf '%s020A1BC3D45E=lab-07,192.0.2.10\r\n' "$HC_LAB_INI" | hc_ini
  hc_run
  hc_expect_rc 0
  hc_expect_stdout_hex "$HC_COMPLETE_HEX"
  hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands eth0)"$'\n'"$HC_RESTART_RECORD" "recorded starts"
  hc_expect_eq "$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')" "LAB-07" "NV Hostname"
}

# GetComputerNameA already gives the entry's name: message 3 all the same,
# no rename, no restart even with REBOOT=1; the address commands still run.
wine_case_machine_already_named_gets_no_rename_or_restart() {
  hc_hostname lab-07
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf '%s020A1BC3D45E=lab-07,192.0.2.10\r\n' "$HC_LAB_INI" | hc_ini
  hc_run
  hc_expect_rc 0
  hc_expect_stdout_hex "$HC_COMPLETE_HEX"
  hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands eth0)" "recorded starts"
  hc_expect_eq "$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')" "" "NV Hostname"
}

# Which adapter and which entry: each row is a machine (adapters as
# name/mac/ipv6, separated by spaces), an entry line, and the adapter whose
# name the commands must carry ("" for the stop with message 2).
HC_ENTRY_CASES=(
  "second adapter holds IPv6|eth0/02:0a:1b:c3:d4:5e/off eth1/02:0a:1b:c3:d4:5f/on|020A1BC3D45E=wrong-pc,192.0.2.10\r\n020A1BC3D45F=lab-08,192.0.2.10|eth1|LAB-08"
  "no IPv6 anywhere: first adapter|eth0/02:0a:1b:c3:d4:5e/off eth1/02:0a:1b:c3:d4:5f/off|020A1BC3D45F=wrong-pc,192.0.2.10\r\n020A1BC3D45E=lab-07,192.0.2.10|eth0|LAB-07"
  "dashed lower-case key|eth0/02:0a:1b:c3:d4:5e/on|02-0a-1b-c3-d4-5e=lab-09,192.0.2.10|eth0|LAB-09"
  "no entry for this machine|eth0/02:0a:1b:c3:d4:5e/on|0A0B0C0D0E0F=other,192.0.2.10||"
)

wine_case_adapter_and_entry_choice() {
  local row label adapters entry expect_adapter expect_name adapter_text index=0
  for row in "${HC_ENTRY_CASES[@]}"; do
    IFS='|' read -r label adapters entry expect_adapter expect_name <<<"$row"
    index=$((index + 1))
    # A fresh machine per row: the namespaces and prefix of the case are
    # replaced by new ones.
    if ((index > 1)); then hc_fresh_machine "$index"; fi
    HC_CASE="adapter_and_entry_choice: $label"
    hc_hostname old-pc
    for adapter_text in $adapters; do
      IFS=/ read -r name mac ipv6 <<<"$adapter_text"
      hc_adapter "$name" "$mac" "$ipv6"
    done
    hc_install
    printf "%s$entry\r\n" "$HC_LAB_INI" | hc_ini
    hc_run
    hc_expect_rc 0
    if [[ -n $expect_adapter ]]; then
      hc_expect_stdout_hex "$HC_COMPLETE_HEX"
      hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands "$expect_adapter")"$'\n'"$HC_RESTART_RECORD" "recorded starts"
      hc_expect_eq "$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')" "$expect_name" "NV Hostname"
    else
      # The stop with message 2: nothing after message 0, nothing changed.
      hc_expect_stdout_hex "$HC_STOPPED_HEX"
      hc_expect_eq "$(hc_recorded)" "" "recorded starts"
      hc_expect_eq "$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')" "" "NV Hostname"
    fi
  done
}

# Loopback only: the stop with message 1 comes before the settings file is
# read. The file is held open for writing, which would end a run that read it
# with exit code 1.
wine_case_no_adapter_stops_before_reading_settings() {
  hc_install
  printf '%s' "$HC_LAB_INI" | hc_ini
  hc_hold_open hostconfig.ini
  hc_run
  hc_release_held hostconfig.ini
  hc_expect_rc 0
  hc_expect_stdout_hex "$HC_STOPPED_HEX"
  hc_expect_eq "$(hc_recorded)" "" "recorded starts"
}

# A settings file that another process holds open for writing: the failure
# report on standard output and exit code 1, nothing changed.
wine_case_settings_file_held_open_fails() {
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf '%s020A1BC3D45E=lab-07,192.0.2.10\r\n' "$HC_LAB_INI" | hc_ini
  hc_hold_open hostconfig.ini
  hc_run
  hc_release_held hostconfig.ini
  hc_expect_rc 1
  local out
  out=$(tr -d '\r' <"$HC_STDOUT")
  [[ $out == *$'\nException '*' in module hostconfig.exe at '*$'.\nCannot open file C:\\kits\\hostconfig.ini.' ]] ||
    hc_fail "failure report: [$out]"
  hc_expect_eq "$(hc_recorded)" "" "recorded starts"
  hc_expect_eq "$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')" "" "NV Hostname"
}
