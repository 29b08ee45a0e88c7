# hostconfig-check.exe under Wine: the same findings, preview and exit codes
# as the native hostconfig-check, and a preview whose command lines are those
# that the real run records for the same file and adapter.
# Needs the native build too (build/native, or HC_NATIVE_CHECK).

HC_NATIVE_CHECK=${HC_NATIVE_CHECK:-$HC_ROOT/build/native/hostconfig-check}
HC_CHECK_EXE=${HC_CHECK_EXE:-$HC_BUILD/hostconfig-check.exe}

# Writes into directory $1 the example files and two files that between them
# give every kind of finding, in ASCII and in GBK.
hc_checker_files() {
  cp "$HC_ROOT/package/hostconfig.ini" "$HC_ROOT/package/hostconfig.gbk.ini" "$1/"
  printf '%s' \
    $'Mask=255.255.0.255\r\nGatway=192.0.2.1\r\nMask=255.255.255.0\r\n' \
    $'REBOOT=yes\r\nhello\r\n[x]\r\n; comment\r\nDNS1=192.0.2.53\r\n' \
    $'0A1B2C3D4E5F=lab-01,192.0.2.10\r\n0a-1b-2c-3d-4e-5f=LAB-09\r\n' \
    $'0A:1B:2C:3D:4E:60=X\r\n0A1B2C3D4E6 =X\r\n0A1B2C3D4E5=X\r\n' \
    $'0A1B2C3D4E5G=X\r\n0A1B2C3D4E70=,192.0.2.11\r\n' \
    $'0A1B2C3D4E71=lab-01,192.0.2.10,255.255.255.0,10.0.0.1\r\n' \
    $'0A1B2C3D4E72=very-long-name-1,192.0.2.0,255.255.255.0,192.0.2.1\r\n' \
    $'0A1B2C3D4E73=a_b,192.0.2.300,255.0.255.0\r\nMask =1\r\nDNS3=1.2.3.4\r\n' \
    >"$1/bad.ini"
  # GBK: fullwidth commas and semicolon, a 16-byte name, a trail byte A3.
  printf '%s' \
    $'Mask=255.255.255.0\r\nGateway=192.0.2.1\r\n' \
    $'0A1B2C3D4E5F=\xCA\xB5\xD1\xE9\xCA\xD2\xA3\xAC192.0.2.11\xA3\xBB\xB1\xB8\r\n' \
    $'0A1B2C3D4E60=\xCA\xB5\xD1\xE9\xCA\xD2\xB5\xDA\xD2\xBB\xBB\xFA\xB7\xBF\xBC\xE4\r\n' \
    $'0A1B2C3D4E61=AB\xB0\xA3\xBBCD,192.0.2.11\r\n' \
    >"$1/gbk-bad.ini"
}

# hc_check_both DIR ARGS...: runs both checkers in DIR with ARGS and expects
# the same standard output (Wine's CR LF read as LF) and exit code.
hc_check_both() {
  local dir=$1
  shift
  local native_rc=0 wine_rc=0
  (cd "$dir" && "$HC_NATIVE_CHECK" "$@") >"$HC_CASE_DIR/native.out" 2>/dev/null || native_rc=$?
  (cd "$dir" && LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 hc_wine hostconfig-check.exe "$@") \
    </dev/null >"$HC_CASE_DIR/wine.out" 2>/dev/null || wine_rc=$?
  hc_expect_eq "$wine_rc" "$native_rc" "exit code of [$*]"
  hc_expect_eq "$(tr -d '\r' <"$HC_CASE_DIR/wine.out")" "$(cat "$HC_CASE_DIR/native.out")" \
    "standard output of [$*]"
  [[ -s $HC_CASE_DIR/native.out || $native_rc == 2 ]] ||
    hc_fail "no output from the native checker for [$*]"
}

wine_case_checker_same_findings_as_native() {
  [[ -x $HC_NATIVE_CHECK ]] || { hc_fail "no $HC_NATIVE_CHECK: build the native preset"; return; }
  local dir
  dir=$(hc_kits_path "")
  cp "$HC_CHECK_EXE" "$dir/hostconfig-check.exe"
  hc_checker_files "$dir"
  local file
  for file in hostconfig.ini hostconfig.gbk.ini bad.ini gbk-bad.ini; do
    hc_check_both "$dir" --code-page 936 "$file"
  done
  # Under a Chinese locale the Windows default is the ANSI code page 936,
  # the native default.
  hc_check_both "$dir" gbk-bad.ini
  hc_check_both "$dir" --code-page 1252 gbk-bad.ini
  hc_check_both "$dir" --code-page 936 hostconfig.ini --mac 0a-1b-2c-3d-4e-60 --name LAB-02
  hc_check_both "$dir" --code-page 936 hostconfig.gbk.ini --mac 0A1B2C3D4E61 \
    --adapter 'LAN 2' --version 5.1
  hc_check_both "$dir" --code-page 936 bad.ini --mac 0A1B2C3D4E70
  hc_check_both "$dir" --code-page 936 missing.ini
  hc_check_both "$dir" --code-page 936 bad.ini --mac 12
  # The exit codes themselves: clean, errors, unreadable.
  (cd "$dir" && hc_wine hostconfig-check.exe --code-page 936 hostconfig.ini) \
    </dev/null >/dev/null 2>&1
  hc_expect_eq "$?" 0 "exit code on the example"
  (cd "$dir" && hc_wine hostconfig-check.exe --code-page 936 bad.ini) \
    </dev/null >/dev/null 2>&1
  hc_expect_eq "$?" 1 "exit code on a file with errors"
  (cd "$dir" && hc_wine hostconfig-check.exe missing.ini) </dev/null >/dev/null 2>&1
  hc_expect_eq "$?" 2 "exit code on a missing file"
}

# The preview's command lines, with %WinDir% as the run expands it, are the
# ones the run records; its rename and restart lines say what the run did.
wine_case_checker_preview_matches_the_run() {
  [[ -x $HC_NATIVE_CHECK ]] || { hc_fail "no $HC_NATIVE_CHECK: build the native preset"; return; }
  hc_hostname old-pc
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf '%s' $'Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nDNS1=192.0.2.53\r\n' \
    $'DNS2=192.0.2.54\r\nREBOOT=0\r\n020a1bc3d45e=lab-07,192.0.2.10,,,,192.0.2.99\r\n' | hc_ini
  hc_run
  hc_expect_rc 0
  local recorded windir preview line
  recorded=$(hc_recorded_commands)
  windir=${recorded%%\\system32\\netsh.exe*}
  windir=${windir#\"}
  preview=$("$HC_NATIVE_CHECK" "$(hc_kits_path hostconfig.ini)" --mac 020A1BC3D45E \
    --adapter eth0 --version 10.0 --name OLD-PC)
  local expected=""
  while IFS= read -r line; do
    [[ $line == '  "%WinDir%'* ]] && expected+="\"$windir${line#  \"%WinDir%}"$'\n'
  done <<<"$preview"
  hc_expect_eq "$recorded" "${expected%$'\n'}" "recorded commands against the preview"
  [[ -n $recorded ]] || hc_fail "the run recorded no command"
  [[ $preview == *$'\nRename: yes, from OLD-PC to LAB-07\n'* ]] || hc_fail "preview rename: $preview"
  [[ $preview == *$'\nRestart: no ("REBOOT" is "0", line 5)\n'* ]] || hc_fail "preview restart: $preview"
  hc_expect_eq "$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')" LAB-07 "NV Hostname written"
}

# hostconfig-check.exe --here on the machine itself: the MAC, adapter and
# name in force that the run finds there, then the preview of its entry;
# without an entry, the line that gives it one. Nothing is changed.
wine_case_checker_here_shows_this_pc() {
  hc_hostname old-pc
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  cp "$HC_CHECK_EXE" "$(hc_kits_path hostconfig-check.exe)"
  printf '%s' $'Mask=255.255.255.0\r\nGateway=192.0.2.1\r\n' \
    $'020a1bc3d45e=lab-07,192.0.2.10\r\n' | hc_ini
  local out rc=0
  out=$(hc_wine 'C:\kits\hostconfig-check.exe' --here </dev/null 2>"$HC_CASE_DIR/stderr" |
    tr -d '\r') || rc=$?
  hc_expect_eq "$rc" 0 "exit code of --here with an entry"
  [[ $out == 'This PC: MAC 020A1BC3D45E, adapter "eth0", computer name OLD-PC, Windows '* ]] ||
    hc_fail "--here first line: $out"
  [[ $out == *$'\nSettings file: C:\\kits\\hostconfig.ini\n'* ]] || hc_fail "--here settings file: $out"
  [[ $out == *$'\nPreview for MAC 020A1BC3D45E, adapter "eth0", '* ]] || hc_fail "--here preview: $out"
  [[ $out == *$'\nRename: yes, from OLD-PC to LAB-07\n'* ]] || hc_fail "--here rename: $out"
  [[ -z $(hc_recorded) ]] || hc_fail "--here started a command: $(hc_recorded)"
  [[ $(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname') != LAB-07 ]] || hc_fail "--here wrote NV Hostname"

  # Without an entry: the line to add, in the --new-entries form.
  printf '%s' $'Mask=255.255.255.0\r\n' | hc_ini
  rc=0
  out=$(hc_wine 'C:\kits\hostconfig-check.exe' --here 'C:\kits\hostconfig.ini' \
    </dev/null 2>>"$HC_CASE_DIR/stderr" | tr -d '\r') || rc=$?
  hc_expect_eq "$rc" 1 "exit code of --here without an entry"
  [[ $out == *$'\n020A1BC3D45E=OLD-PC ; seen '*' on adapter "eth0"' ]] ||
    hc_fail "--here line to add: $out"
}
