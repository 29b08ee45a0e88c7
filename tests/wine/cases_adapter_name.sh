# An adapter whose name the ANSI code page cannot hold: under a Chinese
# locale (code page 936) the Thai letter of "lan-ก" has no GBK character,
# and the converted name "lan-?" names no adapter. The commands name the
# adapter by its interface index instead; the console is the same as with a
# name the code page holds. Uses the lab settings and expected lines of
# cases_run.sh.

wine_case_adapter_name_the_code_page_lacks_is_named_by_index() {
  local index out_thai
  # The name is already in force: no rename and no restart, only commands.
  hc_hostname lab-07
  hc_adapter 'lan-ก' 02:0a:1b:c3:d4:5e on
  index=$(ip -n "$HC_NS" -o link show 'lan-ก' | awk -F': ' '{print $1; exit}')
  [[ $index =~ ^[0-9]+$ ]] || hc_fail "no interface index for lan-ก: [$index]"
  hc_install
  printf '%s020A1BC3D45E=lab-07,192.0.2.10\r\n' "$HC_LAB_INI" | hc_ini
  hc_run --lang zh_CN.UTF-8
  hc_expect_rc 0
  hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands "$index")" "recorded starts"
  out_thai=$(hc_file_hex "$HC_STDOUT")

  # The same machine with an ASCII adapter name: the same console bytes.
  hc_fresh_machine 2
  HC_CASE="adapter_name_the_code_page_lacks_is_named_by_index: ASCII name"
  hc_hostname lab-07
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf '%s020A1BC3D45E=lab-07,192.0.2.10\r\n' "$HC_LAB_INI" | hc_ini
  hc_run --lang zh_CN.UTF-8
  hc_expect_rc 0
  hc_expect_eq "$(hc_recorded)" "$(hc_lab_commands eth0)" "recorded starts"
  hc_expect_stdout_hex "$out_thai"
  [[ -n $out_thai ]] || hc_fail "no console output"
}
