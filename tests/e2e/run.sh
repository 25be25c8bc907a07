#!/usr/bin/env bash
# End-to-end tests: the real Tessary3.exe under Wine in a private Xvfb, driven by
# tdriver.exe. Usage: tests/e2e/run.sh BUILD_DIR [all|smoke]
#   BUILD_DIR  a Windows build tree (build/win64 or build/win32)
#   smoke      only starting and ending the program
#   CASE       only the case of that name
# Pictures of the keyboard go to BUILD_DIR/screenshots.
# First the static checks of the deliverables (tests/e2e/static-check.sh: machine type,
# imports, the hook's export), of the build and of its release archive; then the cases
# under Wine, unless this machine cannot run programs of the build's bitness: then
# they are reported as skipped, with the reason, on a line of their own.
# Ends with "N passed, N failed[, N skipped]"; exit status 1 when anything failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR [all|smoke]}" && pwd)
suite=${2:-all}
# shellcheck source=../../tools/wine-env.sh
. "$here/../../tools/wine-env.sh"

work=$(mktemp -d /tmp/tessary-e2e.XXXXXX)
passed=0
failed=0
skipped=0
failures=()
arch=$(basename "$build")
bits=64
[ "$arch" = win32 ] && bits=32

# ------------------------------------------------------------------ static checks
static_check() {  # NAME DIR
  local out
  out=$(bash "$here/static-check.sh" "$2" "$bits")
  sed 's/^/  /' <<<"$out" | grep -v '^  static '
  passed=$((passed + $(sed -nE 's/^static .*: ([0-9]+) passed.*/\1/p' <<<"$out")))
  failed=$((failed + $(sed -nE 's/^static .*passed, ([0-9]+) failed.*/\1/p' <<<"$out")))
  grep -q ' 0 failed$' <<<"$out" || failures+=("$1")
}
echo "e2e: static checks of $arch"
mkdir -p "$work/static/build" "$work/static/release"
cp "$build/win32/Tessary3.exe" "$build/win32/tessary-cli.exe" "$build/hooklib/tyhook.dll" "$work/static/build/" 2>/dev/null
static_check "static checks of the build" "$work/static/build"
release_zip=$(ls "$here/../../build/release/"Tessary3-*-"$arch".zip 2>/dev/null | head -n 1)
if [ -n "$release_zip" ] && python3 -m zipfile -e "$release_zip" "$work/static/release/" 2>/dev/null; then
  static_check "static checks of the release archive" "$(ls -d "$work/static/release/"*/ | head -n 1)"
fi

cleanup() {
  wineserver -k 2>/dev/null || true
  tessary_stop_display
  [ -n "${KEEP_E2E:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

# The number of cases under Wine, for the skipped count.
wine_cases=$(grep -cE '^  (all \| smoke\) )?run_case ' "$0")
if ! tessary_wine_for "$bits"; then
  echo "e2e $arch: skipped: the $wine_cases cases under Wine, because $TESSARY_WINE_WHY"
  [ ${#failures[@]} -eq 0 ] || echo "e2e failures: ${failures[*]}"
  echo "e2e $arch: $passed passed, $failed failed, $wine_cases skipped"
  [ "$failed" -eq 0 ]
  exit
fi

tessary_display private || exit 1
echo "e2e: $arch under $TESSARY_WINE on DISPLAY=$DISPLAY, prefix in $work/prefix"
tessary_wine_prefix "$work/prefix" || exit 1

# ------------------------------------------------------------------ helpers
fresh_dir() {  # a fresh current directory holding the deliverables and the driver
  local d="$work/run$((passed + failed))-$1"
  mkdir -p "$d"
  cp "$build/win32/Tessary3.exe" "$build/hooklib/tyhook.dll" "$build/tests/e2e/tdriver.exe" \
     "$build/tests/e2e/tstrokes.exe" "$build/win32/tessary-cli.exe" "$d/"
  # The system dictionary (tools/build-dictionary.sh); without it the keyboard says so.
  [ -f "$here/../../build/dictionary/hangul.lex" ] && cp "$here/../../build/dictionary/hangul.lex" "$d/"
  echo "$d"
}
drv() { wine tdriver.exe "$@" 2>/dev/null | tr -d '\r'; }
start_keyboard() {  # in the current directory; sets PID_FILE, STATUS_FILE, ERR_FILE
  STATUS_FILE=$PWD/status.$1; ERR_FILE=$PWD/stderr.$1
  (wine Tessary3.exe 2>"$ERR_FILE"; echo $? >"$STATUS_FILE") &
}
wait_status() {  # FILE [SECONDS]: waits for the program's exit status
  local i
  for i in $(seq $((${2:-15} * 10))); do
    [ -s "$1" ] && { cat "$1"; return 0; }
    sleep 0.1
  done
  echo timeout
}
field() { sed -n "s/^$1=//p"; }
fail() {  # MESSAGE: marks the running case as failed
  echo "    $1"
  echo "$1" >>"$work/case.failures"
  return 1
}
check() {  # DESCRIPTION EXPECTED ACTUAL
  [ "$2" == "$3" ] || fail "$1: expected [$2], got [$3]"
}
run_case() {
  local name=$1
  echo "  - $name"
  rm -f "$work/case.failures"
  if ("$name") && [ ! -s "$work/case.failures" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
expected_defaults() {  # the defaults as the Windows build writes them (CR LF)
  wine tessary-cli.exe config no-such-file.cfg 2>/dev/null
}
exit_command() { drv post "$1" 273 40002 0; }  # WM_COMMAND 40002 to the hidden window

# ------------------------------------------------------------------ cases
starts_with_three_windows_and_exits_cleanly() {
  cd "$(fresh_dir start)"
  start_keyboard 1
  local hidden frame kbd info
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  frame=$(drv wait Tessary_Main_Window "" 10000); [ -n "$frame" ] || fail "no frame window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  info=$(drv info "$frame")
  check "frame top-most" 1 "$(field topmost <<<"$info")"
  check "frame visible" 1 "$(field visible <<<"$info")"
  check "frame left" 30 "$(field left <<<"$info")"
  check "frame top" 30 "$(field top <<<"$info")"
  check "frame width" 522 "$(field width <<<"$info")"
  check "frame height" 200 "$(field height <<<"$info")"
  check "frame owner" "$hidden" "$(field owner <<<"$info")"
  check "frame style has WS_POPUP|WS_BORDER|WS_SYSMENU" 1 \
    "$(( ($(field style <<<"$info") & 0x80880000) == 0x80880000 ))"
  check "keyboard parent" "$frame" "$(drv info "$kbd" | field parent)"
  check "hidden window hidden" 0 "$(drv info "$hidden" | field visible)"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "lines" 47 "$(wc -l <Tessary.cfg)"
  check "CR LF lines" 47 "$(grep -c $'\r$' Tessary.cfg)"
  check "first line" "left             =  30" "$(head -n 1 Tessary.cfg | tr -d '\r')"
  expected_defaults >expected.cfg
  cmp -s expected.cfg Tessary.cfg || fail "Tessary.cfg differs from the defaults"
  check "no temporary file left" "" "$(ls Tessary.cfg.* 2>/dev/null)"
}

a_second_instance_is_refused() {
  cd "$(fresh_dir second)"
  start_keyboard 1
  local hidden box
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  start_keyboard 2
  box=$(drv msgbox 20000)
  check "message title" "title: 알림" "$(sed -n 1p <<<"$box")"
  check "message text" "text: 테사리가 이미 실행 중입니다. 실행 중인 테사리를 먼저 종료해주세요." "$(sed -n 2p <<<"$box")"
  check "second exit status" 0 "$(wait_status "$PWD/status.2")"
  check "hidden windows" 1 "$(drv count Tessary_Hidden_Window)"
  check "frame windows" 1 "$(drv count Tessary_Main_Window)"
  exit_command "$hidden"
  check "first exit status" 0 "$(wait_status "$PWD/status.1")"
}

a_value_of_the_wrong_type_is_reported_and_the_keyboard_starts() {
  cd "$(fresh_dir wrongtype)"
  { expected_defaults; printf 'useClickSound = 1\r\n'; } >Tessary.cfg
  cp Tessary.cfg before.cfg
  start_keyboard 1
  local box hidden
  box=$(drv msgbox 20000)
  check "message title" "title: 치명적 오류" "$(sed -n 1p <<<"$box")"
  check "message text" "text: 설정 파일에 문제가 있습니다. (useClickSound)" "$(sed -n 2p <<<"$box")"
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  [ -n "$(drv wait Tessary_Kbd_Window "" 10000)" ] || fail "no keyboard window"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  cmp -s before.cfg Tessary.cfg.bak || fail "the broken file was not kept as Tessary.cfg.bak"
  expected_defaults >expected.cfg
  cmp -s expected.cfg Tessary.cfg || fail "Tessary.cfg is not the defaults"
}

an_empty_configuration_is_reported_and_the_keyboard_starts() {
  cd "$(fresh_dir emptycfg)"
  : >Tessary.cfg
  start_keyboard 1
  local box hidden frame kbd
  box=$(drv msgbox 20000)
  check "message text" "text: 설정 파일에 문제가 있습니다. (left)" "$(sed -n 2p <<<"$box")"
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  frame=$(drv wait Tessary_Main_Window "" 10000); [ -n "$frame" ] || fail "no frame window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  check "frame visible" 1 "$(drv info "$frame" | field visible)"
  check "frame at the default place" 30 "$(drv info "$frame" | field left)"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "backup" 0 "$(wc -c <Tessary.cfg.bak)"
  check "lines" 47 "$(wc -l <Tessary.cfg)"
}

the_settings_survive_a_run() {
  cd "$(fresh_dir kept)"
  { expected_defaults | LC_ALL=C sed -e 's/^left .*/left = 100\r/' -e 's/^top .*/top = 80\r/' \
      -e 's/^opacity .*/opacity = 300\r/' -e 's/^bgndColor .*/bgndColor = RGB(1, 2, 3)\r/' \
      -e 's/^useTransparency .*/useTransparency = false\r/'; } >Tessary.cfg
  wine tessary-cli.exe config Tessary.cfg expected.cfg 2>/dev/null
  start_keyboard 1
  local hidden frame
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  frame=$(drv wait Tessary_Main_Window "" 10000)
  check "frame left" 100 "$(drv info "$frame" | field left)"
  check "frame top" 80 "$(drv info "$frame" | field top)"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  grep -q $'^bgndColor        = RGB(  1,   2,   3)\r$' Tessary.cfg || fail "colour not kept"
  cmp -s expected.cfg Tessary.cfg || fail "Tessary.cfg changed"
}

a_broken_configuration_is_reported_and_kept() {
  cd "$(fresh_dir broken)"
  printf 'left = (\r\n' >Tessary.cfg
  start_keyboard 1
  local box hidden
  box=$(drv msgbox 20000)
  check "message title" "title: 치명적 오류" "$(sed -n 1p <<<"$box")"
  check "message text" "text: 설정 파일에 문제가 있습니다." "$(sed -n 2p <<<"$box")"
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  check "frame at the default place" 30 "$(drv info "$(drv wait Tessary_Main_Window)" | field left)"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "backup" "left = (" "$(tr -d '\r' <Tessary.cfg.bak)"
  expected_defaults >expected.cfg
  cmp -s expected.cfg Tessary.cfg || fail "Tessary.cfg is not the defaults"
}

the_settings_are_saved_at_the_end_of_a_session() {
  cd "$(fresh_dir session)"
  start_keyboard 1
  local hidden frame info left top
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  frame=$(drv wait Tessary_Main_Window "" 10000); [ -n "$frame" ] || fail "no frame window"
  sleep 1
  info=$(drv info "$frame")
  left=$(field left <<<"$info"); top=$(field top <<<"$info")
  xdotool mousemove $((left + 150)) $((top + 8)); sleep 0.2
  xdotool mousedown 1; sleep 0.2; xdotool mousemove $((left + 190)) $((top + 38)); sleep 0.3
  xdotool mouseup 1; sleep 0.5
  check "the frame moved" "$((left + 40))" "$(drv info "$frame" | field left)"
  # Logging off: the session asks every window, then ends the processes.
  wine wineboot --end-session >/dev/null 2>&1
  check "exit status" 0 "$(wait_status "$STATUS_FILE" 30)"
  check "settings written" 47 "$(wc -l <Tessary.cfg 2>/dev/null)"
  check "left saved" "$(printf 'left             = %3d' $((left + 40)))" "$(grep '^left ' Tessary.cfg | tr -d '\r')"
  check "top saved" "$(printf 'top              = %3d' $((top + 30)))" "$(grep '^top ' Tessary.cfg | tr -d '\r')"
}

the_config_tool_matches_the_program() {
  cd "$(fresh_dir cli)"
  { expected_defaults; printf 'useClickSound = 1\r\n'; } >bad.cfg
  local status
  wine tessary-cli.exe config bad.cfg >/dev/null 2>err.txt; status=$?
  check "wrong type status" 2 "$status"
  check "wrong type message" "치명적 오류: 설정 파일에 문제가 있습니다. (useClickSound)" "$(head -n 1 err.txt | tr -d '\r')"
  check "wrong type reason" "useClickSound: should be 'true' or 'false'" "$(sed -n 2p err.txt | tr -d '\r')"
  printf 'x = (\r\n' >broken.cfg
  wine tessary-cli.exe config broken.cfg out.cfg 2>err.txt; status=$?
  check "message status" 2 "$status"
  check "message on stderr" "치명적 오류: 설정 파일에 문제가 있습니다." "$(head -n 1 err.txt | tr -d '\r')"
  expected_defaults >expected.cfg
  cmp -s expected.cfg out.cfg || fail "defaults not written"
}

strokes_reach_the_focused_window() {
  cd "$(fresh_dir strokes)"
  wine tdriver.exe target keys.log >target.txt 2>/dev/null &
  local target i report expected
  for i in $(seq 100); do [ -s target.txt ] && break; sleep 0.1; done
  target=$(head -n 1 target.txt | tr -d '\r')
  [ -n "$target" ] || { fail "no target window"; return; }
  report=$(wine tstrokes.exe "$target" '^c' '%{F2}' '{Left 3}' '+a' 2>/dev/null | tr -d '\r')
  echo "$report" | sed 's/^/    tstrokes: /'
  check "results" "0 0 0 0" "$(grep '^result' <<<"$report" | cut -d' ' -f2 | tr '\n' ' ' | sed 's/ $//')"
  check "finished" "finished yes" "$(grep '^finished' <<<"$report")"
  grep -q '^path ' <<<"$report" || fail "no path reported"
  sleep 0.5
  expected="keydown 17,keydown 67,keyup 67,keyup 17,syskeydown 18,syskeydown 113,syskeyup 113,keyup 18"
  expected+=",keydown 37,keyup 37,keydown 37,keyup 37,keydown 37,keyup 37"
  expected+=",keydown 16,keydown 65,keyup 65,keyup 16"
  check "key messages in order" "$expected" \
    "$(grep -E '^(sys)?key(down|up) ' keys.log | cut -d' ' -f1,2 | paste -sd, -)"
  check "characters" "char 3,char 65" "$(grep '^char ' keys.log | cut -d' ' -f1,2 | paste -sd, -)"
  drv post "$target" 16 0 0 >/dev/null  # WM_CLOSE
}

config_with_kbdname() {  # NAME (UTF-8): the defaults with kbdName = NAME, in CP949
  local name
  name=$(printf '%s' "$1" | iconv -f UTF-8 -t CP949)
  expected_defaults | LC_ALL=C sed -e "s/^kbdName .*/kbdName = \"$name\"\r/"
}

a_missing_layout_set_falls_back_to_the_built_ins() {
  cd "$(fresh_dir nolayout)"
  config_with_kbdname "없는 자판" >Tessary.cfg
  start_keyboard 1
  local box hidden
  box=$(drv msgbox 20000)
  check "message title" "title: 오류" "$(sed -n 1p <<<"$box")"
  check "message text" "text: 선택하신 키보드를 찾을 수 없어 '누리꽃(기본)' 자판을 사용합니다." "$(sed -n 2p <<<"$box")"
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  expected_defaults >expected.cfg
  cmp -s expected.cfg Tessary.cfg || fail "kbdName not back to the default"
}

a_layout_set_with_a_korean_name_loads() {
  cd "$(fresh_dir ownlayout)"
  mkdir -p "키보드/내 자판"
  sed -e 's/^Description = .*/Description = "내 자판"/' "$here/../../layout/builtin_korean.kdf" \
    | iconv -f UTF-8 -t CP949 >"키보드/내 자판/korean.kdf"
  config_with_kbdname "내 자판" >Tessary.cfg
  wine tessary-cli.exe config Tessary.cfg expected.cfg 2>/dev/null
  start_keyboard 1
  local hidden
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  drv no-msgbox 2000 || fail "a message box was shown"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  cmp -s expected.cfg Tessary.cfg || fail "kbdName not kept"
}

start_target() {  # LOGFILE [MODE]: the driver's logging window; prints its handle
  local out=target.$1.txt i
  wine tdriver.exe target "$@" >"$out" 2>/dev/null &
  for i in $(seq 100); do [ -s "$out" ] && break; sleep 0.1; done
  head -n 1 "$out" | tr -d '\r'
}
# After start_keyboard: waits for the keyboard's windows and starts the driver's logging
# target with the focus. Sets the caller's `hidden`, `kbd` and `target`; fails without a
# target. SETTLE: seconds to let the focus settle.
keyboard_and_target() {  # SETTLE
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  target=$(start_target keys.log); [ -n "$target" ] || { fail "no target window"; return 1; }
  drv focus "$target"
  sleep "$1"
}
# The middle of a key of the built-in layouts on the screen: KEY_X KEY_Y in design
# units (510 × 155) and the keyboard window's rectangle from `tdriver info`.
key_point() {  # INFO X Y [DESIGN_HEIGHT]
  local info=$1 left top width height
  left=$(field left <<<"$info"); top=$(field top <<<"$info")
  width=$(field width <<<"$info"); height=$(field height <<<"$info")
  echo $((left + $2 * width / 510)) $((top + $3 * height / ${4:-155}))
}
shoot() {  # NAME: a picture of the keyboard's frame into the build's screenshots
  command -v import >/dev/null || return 0
  local info
  info=$(drv info "$(drv find Tessary_Main_Window)")
  mkdir -p "$build/screenshots"
  import -display "$DISPLAY" -window root \
    -crop "$(field width <<<"$info")x$(field height <<<"$info")+$(field left <<<"$info")+$(field top <<<"$info")" \
    "$build/screenshots/$1.png" 2>/dev/null || true
}

dwell_types_into_the_focused_window() {
  cd "$(fresh_dir dwell)"
  expected_defaults | LC_ALL=C sed -e 's/^inputMode .*/inputMode = IM_DWELL\r/' >Tessary.cfg
  start_keyboard 1
  local hidden kbd target info point
  keyboard_and_target 0.5 || return
  shoot keyboard-korean
  info=$(drv info "$kbd")
  # q, w and e of the letter row: rest on each (a second small move arms the dwell,
  # 800 ms fire it) and stay well past the activation.
  for point in "58 69" "84 69" "110 69"; do
    read -r x y <<<"$(key_point "$info" $point)"
    xdotool mousemove "$x" "$y"; sleep 0.3
    xdotool mousemove "$((x + 1))" "$y"; sleep 0.25
    [ "$point" = "84 69" ] && shoot keyboard-dwell
    sleep 1.6
  done
  xdotool mousemove 900 700
  sleep 0.5
  check "typed" "char 113,char 119,char 101" "$(grep '^char ' keys.log | cut -d' ' -f1,2 | paste -sd, -)"
  check "the target kept the focus" "$target" "$(drv foreground)"
  # The English layout, for the record.
  drv send "$kbd" 516 0 0 >/dev/null  # WM_RBUTTONDOWN: the language switch
  sleep 0.5
  shoot keyboard-english
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

clicks_type_without_taking_the_focus() {
  cd "$(fresh_dir click)"
  expected_defaults >Tessary.cfg  # click mode is the default
  start_keyboard 1
  local hidden kbd frame target info point x y
  keyboard_and_target 0.5 || return
  info=$(drv info "$kbd")
  # h, i, the left Shift, a (design units of the built-in layout).
  for point in "196 93" "240 69" "33 117" "66 93"; do
    read -r x y <<<"$(key_point "$info" $point)"
    xdotool mousemove "$x" "$y"; sleep 0.2
    xdotool click 1; sleep 0.4
    check "the target keeps the focus" "$target" "$(drv foreground)"
  done
  sleep 0.3
  check "typed" "char 104,char 105,char 65" "$(grep '^char ' keys.log | cut -d' ' -f1,2 | paste -sd, -)"
  # The caption strip is the frame's: its clicks are not taken (a press there starts
  # the window move, which the release ends).
  frame=$(drv find Tessary_Main_Window)
  info=$(drv info "$frame")
  local left top
  left=$(field left <<<"$info"); top=$(field top <<<"$info")
  xdotool mousemove $((left + 150)) $((top + 8)); sleep 0.2
  xdotool mousedown 1; sleep 0.2; xdotool mousemove $((left + 170)) $((top + 28)); sleep 0.3
  xdotool mouseup 1; sleep 0.5
  check "the caption drag moved the frame" "$((left + 20))" "$(drv info "$frame" | field left)"
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

space_presses_scan_to_a_key() {
  cd "$(fresh_dir scan)"
  expected_defaults | LC_ALL=C sed -e 's/^inputMode .*/inputMode = IM_SCAN\r/' \
    -e 's/^scanDelay .*/scanDelay = 500\r/' >Tessary.cfg
  start_keyboard 1
  local hidden kbd target
  keyboard_and_target 1 || return
  # Line 1 shows at once and each next line 0.5 s later: press in the middle of line 3.
  # Times are from the first press, so the screenshot's time does not shift them.
  local t0
  t0=$(date +%s%N)
  at() {  # MS: sleeps until MS milliseconds after t0
    local left=$(( $1 * 1000000 - ($(date +%s%N) - t0) ))
    [ $left -gt 0 ] && sleep "$((left / 1000000000)).$(printf %09d $((left % 1000000000)))"
  }
  xdotool key space                # line 1
  at 1250; xdotool key space       # line 3 (1.0 s to 1.5 s): its block 1 shows at once
  at 1500; xdotool key space       # the keys of that block: Tab at once, q from 2.0 s
  at 2250; xdotool key space       # q
  shoot keyboard-scan
  sleep 0.8
  check "typed" "char 32,char 32,char 32,char 32,char 113" \
    "$(grep '^char ' keys.log | cut -d' ' -f1,2 | sort -t' ' -k2n | paste -sd, -)"
  check "the target kept the focus" "$target" "$(drv foreground)"
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

key_picture() {  # KBD_INFO KEY_X KEY_Y: a checksum of the pixels of the key there
  local x y
  read -r x y <<<"$(key_point "$1" "$2" "$3")"
  import -display "$DISPLAY" -window root -crop "16x14+$((x - 8))+$((y - 7))" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1
}

the_focused_windows_input_mode_switches_the_layout() {
  cd "$(fresh_dir imestate)"
  command -v import >/dev/null || { fail "ImageMagick's import is needed"; return; }
  start_keyboard 1
  local hidden kbd info korean english alpha native
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  xdotool mousemove 900 700
  sleep 1
  info=$(drv info "$kbd")
  korean=$(key_picture "$info" 58 69)  # the keyboard starts Korean: ㅂ on the q key
  # A window in English mode takes the focus.
  alpha=$(start_target alpha.log alpha); [ -n "$alpha" ] || { fail "no target window"; return; }
  sleep 1
  echo "    Wine's input context (English asked): $(head -n 1 alpha.log)"
  english=$(key_picture "$info" 58 69)
  [ "$english" != "$korean" ] || fail "the keyboard did not switch to English"
  # One in Hangul mode.
  native=$(start_target native.log native); [ -n "$native" ] || { fail "no second target"; return; }
  sleep 1
  echo "    Wine's input context (Hangul asked): $(head -n 1 native.log)"
  check "back to the Korean layout" "$korean" "$(key_picture "$info" 58 69)"
  # Back to the English window: English again.
  drv focus "$alpha"
  sleep 1
  check "English again" "$english" "$(key_picture "$info" 58 69)"
  drv post "$alpha" 16 0 0 >/dev/null
  drv post "$native" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

open_menu_by_the_caption_icon() {  # FRAME: a real click on the icon opens the tray menu
  local info
  info=$(drv info "$1")
  xdotool mousemove $(( $(field left <<<"$info") + 10 )) $(( $(field top <<<"$info") + 10 ))
  sleep 0.3
  xdotool click 1
  # Wine keeps a closed menu's window, hidden: wait for a visible one.
  local i menu
  for i in $(seq 50); do
    menu=$(drv find "#32768")
    [ -n "$menu" ] && [ "$(drv info "$menu" | field visible)" = 1 ] && { sleep 0.3; return 0; }
    sleep 0.1
  done
  fail "no menu opened"
}
keys() {  # KEY COUNT: presses KEY COUNT times
  local i
  for i in $(seq "$2"); do xdotool key "$1"; sleep 0.1; done
}

the_tray_menu_changes_layout_and_settings() {
  cd "$(fresh_dir menu)"
  local name folder
  for name in A B; do
    folder="키보드/$name"
    mkdir -p "$folder"
    sed -e "s/^Description = .*/Description = \"$name\"/" "$here/../../layout/builtin_korean.kdf" \
      | iconv -f UTF-8 -t CP949 >"$folder/korean.kdf"
  done
  start_keyboard 1
  local hidden frame dialog info
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  frame=$(drv wait Tessary_Main_Window "" 10000); [ -n "$frame" ] || fail "no frame window"
  sleep 1
  # The layout submenu is the eighth item that takes the selection; its third entry is
  # the second folder.
  open_menu_by_the_caption_icon "$frame"
  keys Down 8; keys Right 1; keys Down 2; keys Return 1
  sleep 1
  drv no-msgbox 1000 || fail "a message box was shown"
  # The settings dialog, seventh item; dwell mode by its mnemonic, then OK.
  open_menu_by_the_caption_icon "$frame"
  keys Down 7; keys Return 1
  dialog=$(drv wait "#32770" "테사리 설정 창" 5000); [ -n "$dialog" ] || { fail "no settings dialog"; return; }
  sleep 0.5
  xdotool key alt+h; sleep 0.3
  if command -v import >/dev/null; then
    info=$(drv info "$dialog")
    mkdir -p "$build/screenshots"
    import -display "$DISPLAY" -window root -crop \
      "$(field width <<<"$info")x$(field height <<<"$info")+$(field left <<<"$info")+$(field top <<<"$info")" \
      "$build/screenshots/settings-dialog.png" 2>/dev/null || true
  fi
  xdotool key Return; sleep 0.5
  check "dialog closed" 0 "$(drv count "#32770")"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  # Wine lists the folders sorted: the menu shows 누리꽃(기본), A, B.
  check "kbdName" 'kbdName          = "B"' "$(grep -a '^kbdName' Tessary.cfg | tr -d '\r')"
  check "inputMode" "inputMode        = IM_DWELL" "$(grep -a '^inputMode' Tessary.cfg | tr -d '\r')"
}

a_missing_dictionary_is_reported() {
  cd "$(fresh_dir nodict)"
  rm -f hangul.lex
  start_keyboard 1
  local box hidden
  box=$(drv msgbox 20000)
  check "message title" "title: 오류" "$(sed -n 1p <<<"$box")"
  check "message text" "text: 사전 파일(hangul.lex)을 찾지 못했습니다. 단어예측 기능이 정상적으로 작동하지 않습니다." \
    "$(sed -n 2p <<<"$box")"
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "the keyboard did not go on"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

the_word_keys_show_and_type_candidates() {
  cd "$(fresh_dir predict)"
  bash "$here/../../tools/install-layouts.sh" "$PWD"
  config_with_kbdname "단어예측" >Tessary.cfg
  start_keyboard 1
  local hidden kbd target info point x y typed
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  drv no-msgbox 1000 || fail "a message box was shown"
  target=$(start_target keys.log native); [ -n "$target" ] || { fail "no target window"; return; }
  drv focus "$target"
  sleep 1
  info=$(drv info "$kbd")
  # r and k (가) in the Korean layout, which is 182 units high with its word row.
  for point in "136 96" "248 120"; do
    read -r x y <<<"$(key_point "$info" $point 182)"
    xdotool mousemove "$x" "$y"; sleep 0.2; xdotool click 1; sleep 0.5
  done
  xdotool mousemove 900 700; sleep 0.5
  shoot keyboard-prediction
  # The first word key types the rest of its word.
  read -r x y <<<"$(key_point "$info" 38 16 182)"
  xdotool mousemove "$x" "$y"; sleep 0.2; xdotool click 1; sleep 1
  typed=$(grep '^char ' keys.log | cut -d' ' -f2 | while read -r c; do printf "\\$(printf %o "$c")"; done)
  echo "    typed: $typed"
  [[ "$typed" == rk?* ]] || fail "the word key typed nothing after rk (got [$typed])"
  check "the target kept the focus" "$target" "$(drv foreground)"
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

a_latched_ctrl_is_released_at_exit() {
  cd "$(fresh_dir stuck)"
  start_keyboard 1
  local hidden kbd target info x y
  keyboard_and_target 0.5 || return
  info=$(drv info "$kbd")
  read -r x y <<<"$(key_point "$info" 19 141)"  # the left Ctrl: latched, held down
  xdotool mousemove "$x" "$y"; sleep 0.2; xdotool click 1; sleep 0.5
  xdotool mousemove 900 700
  check "Ctrl went down" "keydown 17" "$(grep -E '^key(down|up) ' keys.log | cut -d' ' -f1,2 | paste -sd, -)"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  sleep 0.5
  # The keyboard window's end releases it, and the keyboard's own end once more (a
  # key-up of a key that is up changes nothing): one key-down, and the last word is up.
  local ctrl
  ctrl=$(grep -E '^key(down|up) 17' keys.log | cut -d' ' -f1,2 | paste -sd, -)
  check "Ctrl went down once" 1 "$(grep -o 'keydown 17' <<<"$ctrl" | wc -l)"
  check "and came up when the keyboard ended" "keyup 17" "${ctrl##*,}"
  drv post "$target" 16 0 0 >/dev/null
}

# The release archive of this build's architecture (tools/release.sh), unzipped into a
# Wine prefix of its own and started from its own folder: it runs on what it holds.
the_release_archive_runs_from_its_own_folder() {
  local arch zip tools folder hidden f
  arch=$(basename "$build")
  zip=$(ls "$here/../../build/release/"Tessary3-*-"$arch".zip 2>/dev/null | head -n 1)
  [ -n "$zip" ] || { fail "no release archive for $arch (tools/release.sh makes it)"; return; }
  tools="$work/release-tools"
  mkdir -p "$tools" && cp "$build/tests/e2e/tdriver.exe" "$tools/"
  rdrv() { wine "$tools/tdriver.exe" "$@" 2>/dev/null | tr -d '\r'; }
  tessary_wine_prefix "$work/release-prefix"
  python3 -m zipfile -e "$zip" "$WINEPREFIX/drive_c/" || { fail "the archive does not unzip"; return; }
  folder=$(ls -d "$WINEPREFIX/drive_c/"Tessary3-*-"$arch" | head -n 1)
  cd "$folder" || { fail "no top folder in the archive"; return; }
  for f in Tessary3.exe tyhook.dll tessary-cli.exe hangul.lex hangul.lex.NOTICE.md user.lex 읽어보기.txt \
           README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt docs/user-guide.md docs/layouts.md \
           키보드/단어예측/korean.kdf 키보드/단어예측/english.kdf; do
    [ -e "$f" ] || fail "the archive lacks $f"
  done
  python3 - Tessary3.exe <<'PY' || fail "Tessary3.exe lacks its version record or manifest"
import sys
data = open(sys.argv[1], "rb").read()
for needed in ["ProductName".encode("utf-16-le"), "Tessary3".encode("utf-16-le"), "3.1".encode("utf-16-le"),
               b"Microsoft.Windows.Common-Controls", b"supportedOS"]:
    if needed not in data:
        sys.exit(1)
PY

  start_keyboard 1
  hidden=$(rdrv wait Tessary_Hidden_Window "" 30000); [ -n "$hidden" ] || fail "no hidden window"
  [ -n "$(rdrv wait Tessary_Kbd_Window "" 10000)" ] || fail "no keyboard window"
  rdrv no-msgbox 2000 || fail "a message box was shown"
  rdrv post "$hidden" 273 40002 0 >/dev/null
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "settings written" 47 "$(wc -l <Tessary.cfg 2>/dev/null)"

  # Again with the shipped prediction set: its layouts and the dictionary are found.
  LC_ALL=C sed -i "s/^kbdName .*/kbdName = \"$(printf '단어예측' | iconv -f UTF-8 -t CP949)\"\r/" Tessary.cfg
  start_keyboard 2
  hidden=$(rdrv wait Tessary_Hidden_Window "" 30000); [ -n "$hidden" ] || fail "no hidden window (2)"
  rdrv no-msgbox 3000 || fail "a message box was shown with the prediction set"
  rdrv post "$hidden" 273 40002 0 >/dev/null
  check "exit status (2)" 0 "$(wait_status "$STATUS_FILE")"
  grep -q "^kbdName .*$(printf '단어예측' | iconv -f UTF-8 -t CP949)" Tessary.cfg || fail "the set was not kept"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# ------------------------------------------------------------------ run
case $suite in
  all | smoke) run_case starts_with_three_windows_and_exits_cleanly ;;
  *) run_case "$suite" ;;  # one case by name, while working on it
esac
if [ "$suite" = all ]; then
  run_case a_second_instance_is_refused
  run_case a_value_of_the_wrong_type_is_reported_and_the_keyboard_starts
  run_case an_empty_configuration_is_reported_and_the_keyboard_starts
  run_case the_settings_survive_a_run
  run_case a_broken_configuration_is_reported_and_kept
  run_case the_config_tool_matches_the_program
  run_case the_settings_are_saved_at_the_end_of_a_session
  run_case strokes_reach_the_focused_window
  run_case a_missing_layout_set_falls_back_to_the_built_ins
  run_case a_layout_set_with_a_korean_name_loads
  run_case dwell_types_into_the_focused_window
  run_case clicks_type_without_taking_the_focus
  run_case space_presses_scan_to_a_key
  run_case the_focused_windows_input_mode_switches_the_layout
  run_case the_tray_menu_changes_layout_and_settings
  run_case a_missing_dictionary_is_reported
  run_case the_word_keys_show_and_type_candidates
  run_case a_latched_ctrl_is_released_at_exit
  run_case the_release_archive_runs_from_its_own_folder
fi

[ ${#failures[@]} -eq 0 ] || echo "e2e failures: ${failures[*]}"
echo "e2e $(basename "$build"): $passed passed, $failed failed"
[ "$failed" -eq 0 ]
