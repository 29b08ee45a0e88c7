# Console output of the real executable: the bytes, the language chosen by
# the OEM code page, a failing standard output, and ignored arguments.

HC_BANNER_HEX=$(hc_hex 'HostConfig v1.0 (x86)')
HC_CRLF=0d0a

# Message 0 in each table, as the OEM code page of LANG selects it.
HC_DETECTING_CASES=(
  "C|$(hc_hex 'Detecting ethernet adapter...')"
  "zh_CN.UTF-8|d5fdd4dabcecb2e2cdf8c2e7cacac5e4c6f72e2e2e"   # GBK, code page 936
  "zh_TW.UTF-8|a5bfa662c0cbb4fabaf4b5b8be41b074beb92e2e2e"   # Big5, code page 950
)

# A machine with loopback only stops after message 0 (its box returns at once
# without a display), so standard output is exactly the banner line and the
# line of message 0, written to the file when the process ends.
wine_case_stdout_bytes_per_language() {
  hc_install
  local entry lang message
  for entry in "${HC_DETECTING_CASES[@]}"; do
    lang=${entry%%|*}
    message=${entry#*|}
    hc_run --lang "$lang"
    HC_CASE="stdout_bytes_per_language LANG=$lang"
    hc_expect_rc 0
    hc_expect_stdout_hex "$HC_BANNER_HEX$HC_CRLF$message$HC_CRLF"
  done
}

# /dev/full is a character device to Wine: the banner line is written at once
# and fails, which ends the run with the failure report and exit code 1.
wine_case_stdout_on_full_device_fails() {
  hc_install
  hc_run --stdout /dev/full
  hc_expect_rc 1
  hc_expect_eq "$(hc_recorded)" "" "commands started"
}

# Arguments change nothing: the same machine and settings file give the same
# exit code, console bytes and started commands with and without arguments.
# (A second run before a restart sees the same computer name as the first.)
wine_case_arguments_change_nothing() {
  hc_adapter eth0 02:0a:1b:c3:d4:5e on
  hc_install
  printf 'Mask=255.255.255.0\r\nGateway=192.0.2.1\r\nDNS1=192.0.2.53\r\n020A1BC3D45E=lab-07,192.0.2.10\r\n' | hc_ini
  hc_run
  local rc_plain=$HC_RC stdout_plain commands_plain
  stdout_plain=$(hc_file_hex "$HC_STDOUT")
  commands_plain=$(hc_recorded)
  local args
  for args in "/?" "--help" "-x C:\\other.ini" "a b c d e f g h i j k"; do
    HC_CASE="arguments_change_nothing args=[$args]"
    rm -f "$WINEPREFIX/drive_c/recorder.log"
    # shellcheck disable=SC2086  # the words are the arguments
    hc_run -- $args
    hc_expect_eq "$HC_RC" "$rc_plain" "exit code"
    hc_expect_eq "$(hc_file_hex "$HC_STDOUT")" "$stdout_plain" "standard output"
    hc_expect_eq "$(hc_recorded)" "$commands_plain" "recorded commands"
  done
}
