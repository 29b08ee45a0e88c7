# The message box in a real window: the run stops with its box on an X
# display (Xvfb), stays there until the user closes the box, and ends with
# exit code 0 once Enter or Escape has closed it. Without a display Wine's
# message boxes return at once, which every other case relies on.
#
# Run only these: bash tests/wine/run_all.sh window

HW_BANNER_HEX=$(hc_hex 'HostConfig v1.0 (x86)')0d0a
HW_WAIT=30   # seconds for any one wait on the display or the process

# Each row: label | machine ("loopback" or an adapter name/mac) | LANG |
# key that closes the box | message 0 (hex) | box text (hex) | button label
# (hex), in the ANSI code page that LANG gives. The settings file has no
# entry for the adapter. The one button reads "OK" in every language (the
# system alone would label it in its own language).
HW_BOX_CASES=(
  "no adapter, English, Enter|loopback|C|Return|$(hc_hex 'Detecting ethernet adapter...')|$(hc_hex 'No ethernet adapter!')|$(hc_hex OK)"
  "no entry, GBK, Escape|eth0/02:0a:1b:c3:d4:5e|zh_CN.UTF-8|Escape|d5fdd4dabcecb2e2cdf8c2e7cacac5e4c6f72e2e2e|ceb4d5d2b5bdd3d0d0a7c9e8d6c3a3a1|$(hc_hex OK)"
)

# Starts Xvfb on a free display number and exports DISPLAY for this case
# only (the case runs in a subshell). Clients reach it through its socket in
# /tmp/.X11-unix, a file, so from inside the case's network namespace too.
hw_start_display() {
  local number_file=$HC_CASE_DIR/display _
  rm -f "$number_file"
  Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 \
    3>"$number_file" </dev/null >/dev/null 2>&1 &
  HW_XVFB_PID=$!
  trap 'kill "$HW_XVFB_PID" 2>/dev/null; wait "$HW_XVFB_PID" 2>/dev/null' EXIT
  for _ in $(seq $((HW_WAIT * 10))); do
    [[ -s $number_file ]] && break
    sleep 0.1
  done
  local number
  number=$(tr -dc 0-9 <"$number_file" 2>/dev/null)
  rm -f "$number_file"
  [[ -n $number && -S /tmp/.X11-unix/X$number ]] || {
    hc_fail "Xvfb did not start"; return 1
  }
  export DISPLAY=:$number
  # The display must answer from inside the machine's network namespace.
  ip netns exec "$HC_NS" timeout "$HW_WAIT" xdotool getmouselocation >/dev/null ||
    { hc_fail "display $DISPLAY not reachable from the network namespace"; return 1; }
}

# hw_expect_centred WINDOW: the window's middle lies at the middle of the
# 1024x768 screen, give or take the caption bar's height (X reports the
# window without Wine's own frame).
hw_expect_centred() {
  # shellcheck disable=SC2034  # set by the eval
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local dx=$((X + WIDTH / 2 - 512)) dy=$((Y + HEIGHT / 2 - 384))
  ((dx * dx <= 4 && dy * dy <= 256)) ||
    hc_fail "box not centred: ${WIDTH}x$HEIGHT at $X,$Y on 1024x768"
}

hw_build_reader() {
  HW_READER=$HC_WORK/box_reader.exe
  [[ -f $HW_READER ]] && return 0
  i686-w64-mingw32-gcc -Os -s -o "$HW_READER" \
    "$(dirname "${BASH_SOURCE[0]}")/box_reader.c" ||
    { hc_fail "cannot build box_reader.exe"; return 1; }
}

# hw_wait_exit PID: waits for the process at most HW_WAIT seconds; its exit
# code goes to HC_RC ("running" when it did not end).
hw_wait_exit() {
  local _
  for _ in $(seq $((HW_WAIT * 10))); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$1" 2>/dev/null; then
    HC_RC=running
    return 1
  fi
  HC_RC=0
  wait "$1" || HC_RC=$?
}

wine_case_message_box_window() {
  hw_start_display || return
  hw_build_reader || return
  local row label machine lang key detecting text button index=0
  for row in "${HW_BOX_CASES[@]}"; do
    IFS='|' read -r label machine lang key detecting text button <<<"$row"
    index=$((index + 1))
    if ((index > 1)); then hc_fresh_machine "$index"; fi
    HC_CASE="message_box_window: $label"
    [[ $machine == loopback ]] || hc_adapter "${machine%/*}" "${machine#*/}" on
    # The caption is the file name cut at its first "." with all but its
    # first character in lower case.
    hc_install HostConfig.exe
    printf 'Mask=255.255.255.0\r\n0A0B0C0D0E0F=other,192.0.2.10\r\n' | hc_ini
    cp "$HW_READER" "$(hc_kits_path box_reader.exe)"
    hc_start_session

    HC_STDOUT=$HC_CASE_DIR/stdout
    LANG=$lang LC_ALL=$lang HC_TIMEOUT=$((HW_WAIT * 3)) \
      hc_wine 'C:\kits\HostConfig.exe' </dev/null >"$HC_STDOUT" 2>"$HC_CASE_DIR/stderr" &
    local pid=$! window
    window=$(timeout "$HW_WAIT" xdotool search --sync --onlyvisible --name '^Hostconfig$' | head -n 1)
    if [[ -z $window ]]; then
      hc_fail "no window captioned Hostconfig appeared"
      hw_wait_exit "$pid"
      hc_fail "the run's exit code: $HC_RC; stderr: $(head -c 300 "$HC_CASE_DIR/stderr")"
      continue
    fi
    hc_expect_eq "$(xdotool getwindowname "$window")" "Hostconfig" "window name"
    hw_expect_centred "$window"

    # What the box shows: its caption, then (sorted) one button and the
    # text; no icon and nothing else.
    local shown
    shown=$(LANG=$lang LC_ALL=$lang HC_TIMEOUT=$HW_WAIT \
      hc_wine 'C:\kits\box_reader.exe' Hostconfig </dev/null 2>/dev/null | tr -d '\r' |
      { IFS= read -r first; printf '%s\n' "$first"; LC_ALL=C sort; } |
      od -An -v -tx1 | tr -d ' \n')
    hc_expect_eq "$shown" \
      "$(hc_hex $'caption: Hostconfig\nButton: ')${button}0a$(hc_hex 'Static: ')${text}0a" \
      "box contents (hex)"

    # The run waits on the box: still running, nothing written yet (a
    # redirected run writes its lines when the process ends).
    sleep 1
    kill -0 "$pid" 2>/dev/null || hc_fail "the run ended while its box was open"
    hc_expect_eq "$(stat -c %s "$HC_STDOUT")" 0 "bytes written while the box is open"

    # (Without a window manager xdotool warns about the input focus.)
    xdotool key --window "$window" "$key" 2>/dev/null
    hw_wait_exit "$pid" || {
      hc_fail "$key did not close the box"
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      continue
    }
    hc_expect_rc 0
    hc_expect_stdout_hex "$HW_BANNER_HEX${detecting}0d0a"
    [[ -z $(xdotool search --name '^Hostconfig$' 2>/dev/null) ]] ||
      hc_fail "a window captioned Hostconfig is still there"
  done
}
