# The restart guard: a forced restart is requested once for a name; a later
# run that finds the name still not in force sets it again but requests no
# restart, and a run that finds it in force removes the record. Wine never
# puts a new name in force (GetComputerNameA keeps giving the host name), so
# every run here after the first meets a name that the restart did not
# apply. Uses the lab settings and expected lines of cases_run.sh.

HC_GUARD_KEY='HKEY_LOCAL_MACHINE\SOFTWARE\hostconfig'

# Three runs in one prefix, as at three starts of the machine.
wine_case_restart_guard_restarts_once_for_a_name_never_applied() {
  local run log
  hc_hostname old-pc
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf '%s020A1BC3D45E=lab-07,192.0.2.10\r\n' "$HC_LAB_INI" | hc_ini

  # Run 1: the rename, the commands and the restart request, as always.
  hc_run
  hc_expect_rc 0
  hc_expect_stdout_hex "$HC_COMPLETE_HEX"
  log="$(hc_lab_commands eth0)"$'\n'"$HC_RESTART_RECORD"
  hc_expect_eq "$(hc_recorded)" "$log" "run 1: recorded starts"
  hc_expect_eq "$(hc_reg_value "$HC_GUARD_KEY" RestartedFor)" "LAB-07" \
    "run 1: restart record"

  # Runs 2 and 3: the name again and the commands, but no restart request.
  for run in 2 3; do
    hc_run
    hc_expect_rc 0
    hc_expect_stdout_hex "$HC_COMPLETE_HEX"
    log+=$'\n'"$(hc_lab_commands eth0)"
    hc_expect_eq "$(hc_recorded)" "$log" "run $run: recorded starts (no wineboot)"
    hc_expect_eq "$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')" "LAB-07" \
      "run $run: NV Hostname"
    hc_expect_eq "$(hc_reg_value "$HC_GUARD_KEY" RestartedFor)" "LAB-07" \
      "run $run: restart record"
  done
}

# A machine whose name is in force: the record left by the restart goes,
# and nothing else changes.
wine_case_restart_guard_record_goes_when_the_name_is_in_force() {
  hc_hostname lab-07
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf '%s020A1BC3D45E=lab-07,192.0.2.10\r\n' "$HC_LAB_INI" | hc_ini
  hc_wine reg add "$HC_GUARD_KEY" /v RestartedFor /t REG_SZ /d LAB-07 /f \
    </dev/null >/dev/null 2>&1
  hc_expect_eq "$(hc_reg_value "$HC_GUARD_KEY" RestartedFor)" "LAB-07" \
    "restart record before the run"
  hc_run
  hc_expect_rc 0
  hc_expect_stdout_hex "$HC_COMPLETE_HEX"
  hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands eth0)" "recorded starts"
  hc_expect_eq "$(hc_reg_value "$HC_GUARD_KEY" RestartedFor)" "" \
    "restart record after the run"
  hc_expect_eq "$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')" "" "NV Hostname"
}
