# Settings files saved as UTF-8 without a mark (Notepad's default since
# Windows 10 version 1903) on a Chinese system: the name is converted to
# GBK; a name that GBK cannot hold is never set and asks for no restart.
# Needs cases_run.sh (HC_LAB_INI, hc_lab_commands, HC_COMPLETE_HEX) and
# cases_checker.sh (hc_check_both).

# 机房-01 in UTF-8, and in GBK as the run must set it.
HC_JIFANG_UTF8=$'\xE6\x9C\xBA\xE6\x88\xBF-01'
HC_JIFANG_GBK_HEX=bbfab7bf2d3031
HC_JIFANG_UTF8_HEX=e69cbae688bf2d3031
# กข-01 (Thai): not in code page 936.
HC_THAI_UTF8=$'\xE0\xB8\x81\xE0\xB8\x82-01'

# The data of "NV Hostname" in hex, read back by reg under the Chinese locale;
# empty when the value is not there. reg prints it in the console's code
# page (GBK) or, on some Wine versions, in the Unix locale's UTF-8.
hc_nv_hostname_hex_zh() {
  local value
  value=$(LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname') ||
    return 0
  hc_hex "$value"
}

wine_case_utf8_without_mark_sets_the_gbk_name() {
  hc_hostname old-pc
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf '%s020A1BC3D45E=%s,192.0.2.10\r\n' "$HC_LAB_INI" "$HC_JIFANG_UTF8" | hc_ini
  hc_run --lang zh_CN.UTF-8
  hc_expect_rc 0
  # The console lines in GBK; the commands and the restart as for any rename.
  hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands eth0)"$'\n'"$HC_RESTART_RECORD" "recorded starts"
  local got
  got=$(hc_nv_hostname_hex_zh)
  [[ $got == "$HC_JIFANG_GBK_HEX" || $got == "$HC_JIFANG_UTF8_HEX" ]] ||
    hc_fail "NV Hostname: got hex '$got', want 机房-01 ($HC_JIFANG_GBK_HEX in GBK)"
}

wine_case_utf8_name_outside_the_code_page_is_not_set() {
  hc_hostname old-pc
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf '%s020A1BC3D45E=%s,192.0.2.10\r\n' "$HC_LAB_INI" "$HC_THAI_UTF8" | hc_ini
  hc_run --lang zh_CN.UTF-8
  hc_expect_rc 0
  # The address commands run; no restart record follows them.
  hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands eth0)" "recorded starts"
  hc_expect_eq "$(hc_reg_value "$HC_TCPIP_KEY" 'NV Hostname')" "" "NV Hostname"
  hc_expect_eq "$(hc_nv_hostname_hex_zh)" "" "NV Hostname under the Chinese locale"
}

# hostconfig-check.exe says how it read each file and reports the Thai name,
# exactly as the native checker does.
wine_case_checker_encoding_line_and_lost_name() {
  [[ -x $HC_NATIVE_CHECK ]] || { hc_fail "no $HC_NATIVE_CHECK: build the native preset"; return; }
  local dir
  dir=$(hc_kits_path "")
  cp "$HC_CHECK_EXE" "$dir/hostconfig-check.exe"
  printf '%s020A1BC3D45E=%s,192.0.2.10\r\n' "$HC_LAB_INI" "$HC_JIFANG_UTF8" >"$dir/utf8.ini"
  printf '%s020A1BC3D45E=%s,192.0.2.10\r\n' "$HC_LAB_INI" "$HC_THAI_UTF8" >"$dir/thai.ini"
  printf '\xEF\xBB\xBF%s020A1BC3D45E=%s\r\n' "$HC_LAB_INI" "$HC_JIFANG_UTF8" >"$dir/mark.ini"
  printf '\xFF\xFEA\x00=\x001\x00' >"$dir/utf16.ini"
  local file
  for file in utf8.ini thai.ini mark.ini utf16.ini; do
    hc_check_both "$dir" --code-page 936 "$file"
  done
  hc_check_both "$dir" --code-page 936 thai.ini --mac 020A1BC3D45E --name OLD-PC
  (cd "$dir" && LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 hc_wine hostconfig-check.exe thai.ini) \
    </dev/null >"$HC_CASE_DIR/thai.out" 2>/dev/null
  hc_expect_eq "$?" 1 "exit code on the Thai name"
  hc_expect_eq "$(head -n 1 "$HC_CASE_DIR/thai.out" | tr -d '\r')" "read as UTF-8 (no mark)" "first line"
  grep -q 'lacks (U+0E01 U+0E02)' "$HC_CASE_DIR/thai.out" ||
    hc_fail "no error naming U+0E01 U+0E02: $(tr -d '\r' <"$HC_CASE_DIR/thai.out")"
}
