# The run log ("LogFile") on the real executable: the line a run appends,
# a failing network shell, many PCs appending at once, and a log that cannot
# be written.

HC_LOG_HEADER='time,mac,adapter,old_name,new_name,address,mask,gateway,dns1,dns2,netsh_exit,restart,outcome,detail'

# hc_csv_record FILE N: the fields of line N of FILE (CR LF line ends, RFC
# 4180 quoting, no line break inside a field), one per line.
hc_csv_record() {
  awk -v want="$2" '
    NR == want {
      sub(/\r$/, "")
      field = ""; quoted = 0
      for (i = 1; i <= length($0); i++) {
        c = substr($0, i, 1)
        if (quoted) {
          if (c == "\"" && substr($0, i + 1, 1) == "\"") { field = field c; i++ }
          else if (c == "\"") quoted = 0
          else field = field c
        } else if (c == "\"") quoted = 1
        else if (c == ",") { print field; field = "" }
        else field = field c
      }
      print field
      exit
    }' "$1"
}

# hc_expect_log_record FILE N EXPECTED...: line N of FILE has exactly the
# 14 fields given; a time field given as "TIME" only has to be a local time.
hc_expect_log_record() {
  local file=$1 line=$2 i
  shift 2
  local -a got
  mapfile -t got < <(hc_csv_record "$file" "$line")
  hc_expect_eq "${#got[@]}" 14 "fields of log line $line"
  for ((i = 0; i < 14; i++)); do
    if [[ ${1:-} == TIME ]]; then
      [[ ${got[i]:-} =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}\ [0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] ||
        hc_fail "log line $line: time [${got[i]:-}]"
    else
      hc_expect_eq "${got[i]:-}" "${1:-}" "log line $line, field $((i + 1))"
    fi
    shift
  done
}

# hc_expect_crlf_lines FILE N: FILE is N lines, each ending in CR LF.
hc_expect_crlf_lines() {
  hc_expect_eq "$(wc -l <"$1" | tr -d ' ')" "$2" "lines of $1"
  hc_expect_eq "$(grep -c $'\r$' "$1")" "$2" "lines of $1 ending in CR LF"
  hc_expect_eq "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' \n')" "0d0a" "end of $1"
}

# A renaming run with a restart: the header, then one line with the MAC,
# the adapter, both names, the five fields after the defaults, the three
# exit codes, the restart and the outcome. The path takes a variable from
# the environment and is relative to the executable's folder.
wine_case_runlog_appends_the_expected_line() {
  hc_hostname old-pc
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  mkdir -p "$(hc_kits_path logs)"
  export HCLOGDIR=logs
  printf 'LogFile=%%HCLOGDIR%%\\run.csv ; per lab\r\n%s020A1BC3D45E=lab-07,192.0.2.10\r\n' \
    "$HC_LAB_INI" | hc_ini
  hc_run
  hc_expect_rc 0
  hc_expect_stdout_hex "$HC_COMPLETE_HEX"
  hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands eth0)"$'\n'"$HC_RESTART_RECORD" "recorded starts"
  local log
  log=$(hc_kits_path logs/run.csv)
  [[ -f $log ]] || { hc_fail "no log at C:\\kits\\logs\\run.csv"; return; }
  hc_expect_crlf_lines "$log" 2
  hc_expect_eq "$(head -n 1 "$log" | tr -d '\r')" "$HC_LOG_HEADER" "header"
  hc_expect_log_record "$log" 2 TIME 020A1BC3D45E eth0 OLD-PC LAB-07 \
    192.0.2.10 255.255.255.0 192.0.2.1 192.0.2.53 192.0.2.54 '0 0 0' yes renamed ''
}

# Every network shell command exits 1: the run goes on as before (all three
# commands, exit code 0), and the log says command-failed with the codes.
wine_case_runlog_failing_network_shell() {
  hc_hostname lab-07
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  export HOSTCONFIG_RECORD_EXIT=1
  printf 'LogFile=run.csv\r\n%s020A1BC3D45E=lab-07,192.0.2.10\r\n' "$HC_LAB_INI" | hc_ini
  hc_run
  hc_expect_rc 0
  hc_expect_stdout_hex "$HC_COMPLETE_HEX"
  hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands eth0)" "recorded starts"
  local log
  log=$(hc_kits_path run.csv)
  [[ -f $log ]] || { hc_fail "no log at C:\\kits\\run.csv"; return; }
  hc_expect_crlf_lines "$log" 2
  hc_expect_log_record "$log" 2 TIME 020A1BC3D45E eth0 LAB-07 LAB-07 \
    192.0.2.10 255.255.255.0 192.0.2.1 192.0.2.53 192.0.2.54 '1 1 1' no \
    command-failed 'command 1 of 3 exited with 1'
}

# Twenty runs started at once in one Wine session, as a lab powering on
# together: one header and twenty whole lines, none cut, doubled or mixed.
wine_case_runlog_twenty_runs_at_once() {
  hc_hostname lab-07
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf 'LogFile=run.csv\r\n020A1BC3D45E=lab-07\r\n' | hc_ini
  hc_start_session
  local i failed=0
  local -a pids
  for i in $(seq 20); do
    hc_wine 'C:\kits\hostconfig.exe' </dev/null >"$HC_CASE_DIR/stdout$i" 2>&1 &
    pids+=($!)
  done
  for i in "${!pids[@]}"; do
    wait "${pids[i]}" || failed=$((failed + 1))
  done
  hc_expect_eq "$failed" 0 "runs with a non-zero exit code"
  local log
  log=$(hc_kits_path run.csv)
  [[ -f $log ]] || { hc_fail "no log at C:\\kits\\run.csv"; return; }
  hc_expect_crlf_lines "$log" 21
  hc_expect_eq "$(grep -c "^$HC_LOG_HEADER"$'\r$' "$log")" 1 "header lines"
  hc_expect_eq "$(head -n 1 "$log" | tr -d '\r')" "$HC_LOG_HEADER" "first line"
  for i in $(seq 2 21); do
    hc_expect_log_record "$log" "$i" TIME 020A1BC3D45E eth0 LAB-07 LAB-07 \
      '' '' '' '' '' '' no unchanged ''
  done
}

# A LogFile in a folder that does not exist: the run is exactly the one
# without LogFile (standard output, exit code, commands, restart, registry),
# and nothing is created.
wine_case_runlog_missing_folder_changes_nothing() {
  local entry='020A1BC3D45E=lab-07,192.0.2.10\r\n' row log_line
  local -a stdout_hex recorded rc name
  for row in 1 2; do
    ((row > 1)) && hc_fresh_machine "$row"
    hc_hostname old-pc
    hc_adapter eth0 02:0a:1b:c3:d4:5e on
    hc_install
    log_line=''
    ((row == 2)) && log_line='LogFile=missing\\run.csv\r\n'
    printf "$log_line%s$entry" "$HC_LAB_INI" | hc_ini
    hc_run
    stdout_hex[row]=$(hc_file_hex "$HC_STDOUT")
    recorded[row]=$(hc_recorded)
    rc[row]=$HC_RC
    name[row]=$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')
  done
  hc_expect_eq "${rc[2]}" "${rc[1]}" "exit code"
  hc_expect_eq "${stdout_hex[2]}" "${stdout_hex[1]}" "standard output"
  hc_expect_eq "${recorded[2]}" "${recorded[1]}" "recorded starts"
  hc_expect_eq "${name[2]}" "${name[1]}" "NV Hostname"
  hc_expect_eq "${rc[1]}" 0 "exit code without LogFile"
  [[ -e $(hc_kits_path missing) ]] && hc_fail "the missing folder was created"
  return 0
}
