# Bad input on the real executable: settings files that are empty, binary,
# huge, oddly encoded or locked, and values and adapter names that hold
# quotes, spaces and placeholder-like text. Every case checks the exit code
# and the console bytes, that the settings file is byte-identical after the
# run, and, where the run stops early, that nothing on the machine changed:
# no "NV Hostname" value, no network shell command, no restart.
#
# Run only these: bash tests/wine/run_all.sh bad_input

BI_MAC=02:0a:1b:c3:d4:5e
BI_KEY=020A1BC3D45E
BI_NAME_KEY='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters'
BI_NETSH='"C:\windows\system32\netsh.exe"'
BI_STOP_STDOUT=$(hc_hex 'HostConfig v1.0 (x86)')0d0a$(hc_hex 'Detecting ethernet adapter...')0d0a
BI_FULL_STDOUT=$BI_STOP_STDOUT$(hc_hex 'Modifying ComputerName...')0d0a$(hc_hex 'Modifying ethernet adapter config...')0d0a

# One adapter, the executable, and the settings file from standard input.
bi_machine() {
  hc_adapter "${1:-eth0}" "$BI_MAC" on
  hc_install
}

bi_ini_path() { hc_kits_path hostconfig.ini; }

# A fingerprint of whatever stands at the settings path: the bytes' hash, or
# the listing of a directory.
bi_fingerprint() {
  local ini
  ini=$(bi_ini_path)
  if [[ -d $ini ]]; then
    echo "directory: $(ls -A "$ini" | tr '\n' ' ')"
  elif [[ -e $ini ]]; then
    sha256sum <"$ini"
  else
    echo absent
  fi
}

# Runs the executable with the settings file's fingerprint taken around it.
bi_run() {
  BI_BEFORE=$(bi_fingerprint)
  hc_run "$@"
  hc_expect_eq "$(bi_fingerprint)" "$BI_BEFORE" "settings file after the run"
}

# The run stopped at the record phase: banner and message 0 only, exit 0,
# and nothing on the machine changed.
bi_expect_stopped() {
  hc_expect_rc 0
  hc_expect_stdout_hex "$BI_STOP_STDOUT"
  bi_expect_nothing_changed
}

bi_expect_nothing_changed() {
  hc_expect_eq "$(hc_recorded)" "" "commands or restart started"
  local name
  if name=$(hc_reg_value "$BI_NAME_KEY" 'NV Hostname'); then
    hc_fail "NV Hostname written: [$name]"
  fi
}

# A complete run that renamed to NAME and ran the given commands (the text
# after the program path, one argument per command), without a restart.
bi_expect_configured() {
  local name=$1 expected="" command
  shift
  hc_expect_rc 0
  hc_expect_stdout_hex "$BI_FULL_STDOUT"
  hc_expect_eq "$(hc_reg_value "$BI_NAME_KEY" 'NV Hostname')" "$name" "NV Hostname"
  for command in "$@"; do
    expected+="$BI_NETSH $command"$'\n'
  done
  hc_expect_eq "$(hc_recorded_commands)" "${expected%$'\n'}" "recorded commands"
}

BI_ENTRY="$BI_KEY=lab-07,192.0.2.10,255.255.255.0,192.0.2.1,192.0.2.53"
BI_COMMANDS=(
  'interface ipv4 set address "eth0" static 192.0.2.10 255.255.255.0 192.0.2.1'
  ' interface  ipv4  set  dns  "eth0"  static  192.0.2.53  primary'
)

# --- Files that give no entry: the run stops with message 2 ---

wine_case_bad_input_no_entry_files() {
  bi_machine
  local kind
  for kind in zero_bytes blank_lines random_binary utf16_without_mark zero_byte_before_entry; do
    HC_CASE="bad_input_no_entry_files $kind"
    rm -f "$(bi_ini_path)"
    case $kind in
      zero_bytes) : | hc_ini ;;
      blank_lines) printf '\r\n\r\n   \r\n; nothing here\r\n[Office]\r\n' | hc_ini ;;
      random_binary)
        # 256 KiB of fixed pseudo-random bytes (AES-CTR over zeros).
        head -c 262144 /dev/zero |
          openssl enc -aes-128-ctr -nosalt -K 000102030405060708090a0b0c0d0e0f \
            -iv 00000000000000000000000000000000 | hc_ini ;;
      utf16_without_mark)
        printf 'Mask=255.255.255.0\r\n%s\r\n' "$BI_ENTRY" | iconv -f ASCII -t UTF-16LE | hc_ini ;;
      zero_byte_before_entry)
        printf 'Mask=255.255.255.0\r\n\0\r\n%s\r\n' "$BI_ENTRY" | hc_ini ;;
    esac
    bi_run
    bi_expect_stopped
  done
}

# A directory named like the settings file counts as no file.
wine_case_bad_input_directory_named_like_file() {
  bi_machine
  mkdir "$(bi_ini_path)"
  touch "$(bi_ini_path)/$BI_KEY"
  bi_run
  bi_expect_stopped
}

# --- Odd but valid files: the entry is found and applied ---

wine_case_bad_input_cr_only_line_ends() {
  bi_machine
  printf 'Mask=255.255.255.0\r[Office]\r%s\r' "$BI_ENTRY" | hc_ini
  bi_run
  bi_expect_configured LAB-07 "${BI_COMMANDS[@]}"
}

# A 1 MiB line, then 50 MiB of other machines' entries, then this one.
wine_case_bad_input_huge_file() {
  bi_machine
  {
    printf 'Comment='
    head -c 1048576 /dev/zero | tr '\0' 'x'
    printf '\r\n'
    yes '001122334455=PC-00,10.0.0.1,255.255.255.0,10.0.0.254' | head -c 52428800
    printf '\r\n%s\r\n' "$BI_ENTRY"
  } | hc_ini
  bi_run
  bi_expect_configured LAB-07 "${BI_COMMANDS[@]}"
}

wine_case_bad_input_100000_entries() {
  bi_machine
  {
    printf 'Mask=255.255.255.0\r\n'
    awk 'BEGIN { for (i = 0; i < 100000; i++)
      printf "%012X=PC-%d,10.%d.%d.%d\r\n", i, i, int(i / 65536), int(i / 256) % 256, i % 256 }'
    printf '%s\r\n' "$BI_ENTRY"
  } | hc_ini
  bi_run
  bi_expect_configured LAB-07 "${BI_COMMANDS[@]}"
}

# Values pass into the commands verbatim: a 10,000-character address, and
# an address with spaces and double quotes.
wine_case_bad_input_long_and_quoted_values() {
  bi_machine
  local long
  long=$(head -c 10000 /dev/zero | tr '\0' '7')
  printf '%s=lab-07,%s,255.255.255.0,192.0.2.1\r\n' "$BI_KEY" "$long" | hc_ini
  bi_run
  bi_expect_configured LAB-07 \
    "interface ipv4 set address \"eth0\" static $long 255.255.255.0 192.0.2.1"

  HC_CASE="bad_input_long_and_quoted_values quotes"
  rm -f "$WINEPREFIX/drive_c/recorder.log"
  printf '%s=lab-08,192.0.2.10 "x" y,255.255.255.0,"192.0.2.1"\r\n' "$BI_KEY" | hc_ini
  bi_run
  bi_expect_configured LAB-08 \
    'interface ipv4 set address "eth0" static 192.0.2.10 "x" y 255.255.255.0 "192.0.2.1"'
}

# Adapter names (Linux allows 15 characters and no "%") holding a double
# quote and placeholder text go into the commands as they are.
wine_case_bad_input_adapter_name_quote() {
  bi_machine 'a"LOCAL_LINK'
  printf '%s\r\n' "$BI_ENTRY" | hc_ini
  bi_run
  bi_expect_configured LAB-07 \
    'interface ipv4 set address "a"LOCAL_LINK" static 192.0.2.10 255.255.255.0 192.0.2.1' \
    ' interface  ipv4  set  dns  "a"LOCAL_LINK"  static  192.0.2.53  primary'
}

# --- A file that another process holds open for writing ---

# The locker, a Windows program in the same wineserver, opens the file with
# no sharing, creates its marker file and waits until it is deleted.
wine_case_bad_input_locked_file() {
  bi_machine
  printf '%s\r\n' "$BI_ENTRY" | hc_ini
  local locker=$HC_CASE_DIR/locker.exe marker
  i686-w64-mingw32-gcc -Os -s -o "$locker" "$(dirname "${BASH_SOURCE[0]}")/bad_input_locker.c" ||
    { hc_fail "cannot build the locker"; return; }
  cp "$locker" "$WINEPREFIX/drive_c/kits/locker.exe"
  marker=$(hc_kits_path locked.marker)
  hc_start_session
  hc_wine 'C:\kits\locker.exe' 'C:\kits\hostconfig.ini' 'C:\kits\locked.marker' \
    </dev/null >/dev/null 2>&1 &
  local i
  for i in $(seq 100); do
    [[ -e $marker ]] && break
    sleep 0.1
  done
  [[ -e $marker ]] || { hc_fail "the locker did not take the file"; return; }
  bi_run
  rm -f "$marker"
  wait
  hc_expect_rc 1
  local expect
  expect="${BI_STOP_STDOUT}$(hc_hex 'Exception EFOpenError in module hostconfig.exe at ')"
  local got
  got=$(hc_file_hex "$HC_STDOUT")
  # The code location (eight hexadecimal digits) varies by build.
  [[ $got =~ ^${expect}(3[0-9]|4[1-6]){8}2e0a$(hc_hex 'Cannot open file C:\kits\hostconfig.ini.')0d0a$ ]] ||
    hc_fail "failure report: $(xxd -r -p <<<"$got" | tr '\r\n' '|~')"
  bi_expect_nothing_changed
}
