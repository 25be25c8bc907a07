#!/usr/bin/env bash
# End-to-end tests: the real Tessary3.exe under Wine in a private Xvfb, driven by
# tdriver.exe. Usage: tests/e2e/run.sh BUILD_DIR [all|smoke]
#   BUILD_DIR  a Windows build tree (build/win64 or build/win32)
#   smoke      only starting and ending the program
#   CASE       only the case of that name
# Pictures of the keyboard go to BUILD_DIR/screenshots.
# First the static checks of the deliverables (tests/e2e/static-check.sh: machine type,
# imports, the hook's export), of the build, its release archive and its installer; then the cases
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
# The long typing sessions (three minutes together) drive the same code in both builds:
# they run on the 64-bit one, which every machine can run.
long_cases=(a_sentence_by_clicks_keeps_the_focus a_sentence_by_dwelling_keeps_the_focus
            a_sentence_by_scanning_keeps_the_focus scanning_with_the_scan_set_types_a_phrase)
# The cases whose outcome can depend on the build's bitness: the hook library loaded into
# other programs, the low-level hooks, key events and Unicode text from SendInput (whose
# records differ in size), journal playback, the release archive and the installer. On
# the 32-bit build only these run (the rest drive the same portable code, and the 64-bit
# stage runs them all), which keeps the whole run well within CI's time;
# TESSARY_E2E_ALL=1 runs every case there too.
bitness_cases=(starts_with_three_windows_and_exits_cleanly strokes_reach_the_focused_window
               clicks_type_without_taking_the_focus space_presses_scan_to_a_key
               the_focused_windows_input_mode_switches_the_layout a_latched_ctrl_is_released_at_exit
               hangul_by_clicks_is_composed_where_no_input_method_is
               the_release_archive_runs_from_its_own_folder the_installer_installs_upgrades_and_uninstalls)
portable_skipped=()
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
release_setup=$(ls "$here/../../build/release/"Tessary3-*-"$arch"-setup.exe 2>/dev/null | head -n 1)
[ -z "$release_setup" ] || static_check "static checks of the installer" "$release_setup"

cleanup() {
  wineserver -k 2>/dev/null || true
  tessary_stop_display
  [ -n "${KEEP_E2E:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

# The number of cases under Wine, for the skipped count.
wine_cases=$(( $(grep -cE '^  (all \| smoke\) )?run_case ' "$0") + ${#long_cases[@]} ))
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
  cp "$here/../../data/hangul.lex" "$here/../../data/hangul.next" "$d/"   # the stored system dictionary
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
  local started=$SECONDS
  if [ "$bits" = 32 ] && [ -z "${TESSARY_E2E_ALL:-}" ] && [ "$suite" = all ] &&
     [[ " ${bitness_cases[*]} " != *" $name "* ]]; then
    portable_skipped+=("$name")
    skipped=$((skipped + 1))
    return
  fi
  echo "  - $name"
  rm -f "$work/case.failures"
  if ("$name") && [ ! -s "$work/case.failures" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
  echo "    ($((SECONDS - started)) s)"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
expected_defaults() {  # the defaults as the Windows build writes them (CR LF)
  wine tessary-cli.exe config no-such-file.cfg 2>/dev/null
}
exit_command() { drv post "$1" 273 40002 0; }  # WM_COMMAND 40002 to the hidden window

# ------------------------------------------------------------------ cases
# The caption buttons are squares one pixel inside the caption strip, whose height the
# keyboard window's top gives: from the right, the grip, _ and ✔.
button_side() {  # FRAME_INFO: the side of a caption button
  local kbd
  kbd=$(drv info "$(drv find Tessary_Kbd_Window)")
  echo $(( $(field top <<<"$kbd") - $(field top <<<"$1") - 4 ))
}
# The caption buttons' glyphs come from Wine's symbol font; without it the letters
# "a" and "0" stand in. In the two buttons left of the grip the ✔ must be a stroke
# over several rows and the _ a bar of at most a sixth of the button (a "0" spans many).
caption_glyphs() {  # FRAME_INFO
  command -v import >/dev/null || return 0
  local b w
  b=$(button_side "$1"); w=$((2 * b))
  # The frame's border is one pixel; the grip ends one pixel before the client's right.
  import -display "$DISPLAY" -window root \
    -crop "${w}x${b}+$(( $(field left <<<"$1") + $(field width <<<"$1") - 2 - 3 * b ))+$(( $(field top <<<"$1") + 2 ))" \
    -colorspace gray -depth 8 gray:- 2>/dev/null | python3 -c '
import sys
w, h = int(sys.argv[1]), int(sys.argv[2])
d = sys.stdin.buffer.read()
if len(d) != w * h: sys.exit(1)
cols = [[y for y in range(1, h - 1) if d[y * w + x] < 80] for x in range(w)]
groups, cur = [], []
for x, c in enumerate(cols):
    if c: cur.append(x)
    elif cur: groups.append(cur); cur = []
if cur: groups.append(cur)
if len(groups) != 2: sys.exit(1)
rows = [sorted({y for x in g for y in cols[x]}) for g in groups]
check, bar = rows
ok = len(check) >= 5 and len(bar) <= max(3, h // 6) and len(groups[1]) >= 5
sys.exit(0 if ok else 1)' "$w" "$b"
}

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
  # No settings file: along the bottom of the 1280 × 800 screen, half its width.
  check "frame left" 320 "$(field left <<<"$info")"
  check "frame top" 555 "$(field top <<<"$info")"
  check "frame width" 640 "$(field width <<<"$info")"
  check "frame height" 245 "$(field height <<<"$info")"
  check "frame owner" "$hidden" "$(field owner <<<"$info")"
  check "frame style has WS_POPUP|WS_BORDER|WS_SYSMENU" 1 \
    "$(( ($(field style <<<"$info") & 0x80880000) == 0x80880000 ))"
  check "keyboard parent" "$frame" "$(drv info "$kbd" | field parent)"
  check "hidden window hidden" 0 "$(drv info "$hidden" | field visible)"
  sleep 0.5
  caption_glyphs "$info" || fail "the caption buttons are not drawn with their glyphs (is fonts-wine installed?)"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "lines" 54 "$(wc -l <Tessary.cfg)"
  check "CR LF lines" 54 "$(grep -c $'\r$' Tessary.cfg)"
  check "first line" "left             = 320" "$(head -n 1 Tessary.cfg | tr -d '\r')"
  expected_defaults | tail -n +5 >expected.cfg  # the defaults but the frame's place and size
  tail -n +5 Tessary.cfg | cmp -s expected.cfg - || fail "Tessary.cfg differs from the defaults"
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
  expected_defaults | tail -n +5 >expected.cfg  # the defaults but the frame's place and size
  tail -n +5 Tessary.cfg | cmp -s expected.cfg - || fail "Tessary.cfg is not the defaults"
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
  check "frame at the first-start place" 320 "$(drv info "$frame" | field left)"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "backup" 0 "$(wc -c <Tessary.cfg.bak)"
  check "lines" 54 "$(wc -l <Tessary.cfg)"
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
  check "frame at the first-start place" 320 "$(drv info "$(drv wait Tessary_Main_Window)" | field left)"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "backup" "left = (" "$(tr -d '\r' <Tessary.cfg.bak)"
  expected_defaults | tail -n +5 >expected.cfg  # the defaults but the frame's place and size
  tail -n +5 Tessary.cfg | cmp -s expected.cfg - || fail "Tessary.cfg is not the defaults"
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
  check "settings written" 54 "$(wc -l <Tessary.cfg 2>/dev/null)"
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
# target. SETTLE: seconds to let the focus settle; MODE: the target's input mode.
keyboard_and_target() {  # SETTLE [MODE]
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  target=$(start_target keys.log ${2:-}); [ -n "$target" ] || { fail "no target window"; return 1; }
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
shoot() {  # NAME [WINDOW]: a picture of the keyboard's frame (or of WINDOW) into the build's screenshots
  command -v import >/dev/null || return 0
  local info
  info=$(drv info "${2:-$(drv find Tessary_Main_Window)}")
  mkdir -p "$build/screenshots"
  import -display "$DISPLAY" -window root \
    -crop "$(field width <<<"$info")x$(field height <<<"$info")+$(field left <<<"$info")+$(field top <<<"$info")" \
    "$build/screenshots/$1.png" 2>/dev/null || true
}

dwell_types_into_the_focused_window() {
  cd "$(fresh_dir dwell)"
  expected_defaults | LC_ALL=C sed -e 's/^inputMode .*/inputMode = IM_DWELL\r/' | ime_mode >Tessary.cfg
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
  expected_defaults | ime_mode >Tessary.cfg  # click mode is the default; the 2-set keys as keys
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
    -e 's/^scanDelay .*/scanDelay = 500\r/' | ime_mode >Tessary.cfg
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
  # The switch's Space is the keyboard's: only the chosen q reaches the target.
  check "typed" "char 113" "$(grep '^char ' keys.log | cut -d' ' -f1,2 | paste -sd, -)"
  check "no Space key message" "" "$(grep -E '^key(down|up) 32 ' keys.log)"
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
  shoot settings-dialog "$dialog"
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
  config_with_kbdname "단어예측" | ime_mode >Tessary.cfg
  start_keyboard 1
  local hidden kbd target info point x y typed
  keyboard_and_target 1 native || return
  drv no-msgbox 100 || fail "a message box was shown"
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

learnt_words_come_first_and_are_kept() {
  cd "$(fresh_dir learn)"
  bash "$here/../../tools/install-layouts.sh" "$PWD"
  config_with_kbdname "단어예측" | LC_ALL=C sed -e 's/^useWordLearning .*/useWordLearning  = true\r/' | ime_mode >Tessary.cfg
  printf '%s\t50\r\n' "$(printf '가나다라' | iconv -f UTF-8 -t CP949)" >learned.lex
  start_keyboard 1
  local hidden kbd target info point x y typed
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  target=$(start_target keys.log native); [ -n "$target" ] || { fail "no target window"; return; }
  drv focus "$target"
  sleep 1
  info=$(drv info "$kbd")
  # r (ㄱ), the first word key (가나다라, learnt 50 times: before every dictionary word), then
  # Space, which completes the word.
  for point in "136 96" "38 16" "177 168"; do
    read -r x y <<<"$(key_point "$info" $point 182)"
    xdotool mousemove "$x" "$y"; sleep 0.2; xdotool click 1; sleep 0.5
  done
  sleep 0.5
  typed=$(grep '^char ' keys.log | cut -d' ' -f2 | while read -r c; do printf "\\$(printf %o "$c")"; done)
  echo "    typed: [$typed]"
  check "the learnt word typed" "rkskekfk " "$typed"
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "learned.lex counts it again" "$(printf '%s\t51\r' "$(printf '가나다라' | iconv -f UTF-8 -t CP949)")" \
    "$(cat learned.lex)"
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

set_screen_dpi() {  # DPI: Wine's screen density for the programs started after it
  local hex
  hex=$(printf '0x%x' "$1")
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$hex" /f >/dev/null 2>&1
  wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$hex" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
}

# Pictures of the four layouts (the built-in Korean and English, word prediction,
# scanning) at the first start's frame on the 1280 × 800 screen and at a small and a
# large frame, at 96 and 144 DPI, put together in BUILD_DIR/screenshots/layouts-*.png
# (docs/images/ holds copies). About two minutes, so not part of the full run:
#   bash tests/e2e/run.sh build/win64 pictures_of_every_layout
pictures_of_every_layout() {
  command -v montage >/dev/null || { fail "ImageMagick is missing"; return; }
  local dpi frame size left top width height set n hidden kbd points x y shots=$build/screenshots/layouts
  rm -rf "$shots"; mkdir -p "$shots"
  for dpi in 96 144; do
    set_screen_dpi "$dpi"
    local sizes="small:420:630:440:170 default:320:555:640:245 large:5:310:1270:490"
    [ "$dpi" = 144 ] && sizes="small:310:545:660:255 default:248:500:783:300 large:5:310:1270:490"
    for frame in $sizes; do
      IFS=: read -r size left top width height <<<"$frame"
      n=0
      for set in "" 단어예측 "한글 스캔"; do
        cd "$(fresh_dir pictures)" || return
        bash "$here/../../tools/install-layouts.sh" "$PWD"
        { if [ -n "$set" ]; then config_with_kbdname "$set"; else expected_defaults; fi; } | ime_mode |
          LC_ALL=C sed -e "s/^left .*/left = $left\r/" -e "s/^top .*/top = $top\r/" \
            -e "s/^width .*/width = $width\r/" -e "s/^height .*/height = $height\r/" >Tessary.cfg
        start_keyboard 1
        hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
        kbd=$(drv wait Tessary_Kbd_Window "" 10000)
        sleep 1
        # 가 clicked (ㄱ, ㅏ): the word keys show words.
        case $set in
          단어예측) points="136 96 182 248 120 182" ;;
          "한글 스캔") points="181 16 155 276 16 155" ;;
          *) points="" ;;
        esac
        set -- $points
        while [ $# -ge 3 ]; do
          read -r x y <<<"$(key_point "$(drv info "$kbd")" "$1" "$2" "$3")"
          xdotool mousemove "$x" "$y"; sleep 0.2; xdotool click 1; sleep 0.4
          shift 3
        done
        xdotool mousemove 0 0; sleep 1
        shoot "layouts/$dpi-$size-$n"; n=$((n + 1))
        if [ -z "$set" ]; then
          drv post "$kbd" 516 0 0 >/dev/null; sleep 1  # WM_RBUTTONDOWN: English
          shoot "layouts/$dpi-$size-$n"; n=$((n + 1))
        fi
        exit_command "$hidden"
        check "exit status" 0 "$(wait_status "$STATUS_FILE")"
      done
    done
    make_layout_sheets "$dpi" || fail "the sheets of $dpi DPI were not made"
  done
  set_screen_dpi 96
}
make_layout_sheets() {  # DPI: the sheets of the pictures of pictures_of_every_layout
  # Each frame's four layouts two by two (Korean, English / prediction, scanning), a grey
  # gap between; the small frame above the first start's, the large on a sheet of its own.
  local shots=$build/screenshots/layouts
  four() { echo "( $1-0.png $1-1.png +smush 8 ) ( $1-2.png $1-3.png +smush 8 ) -smush 8"; }
  # shellcheck disable=SC2046
  (cd "$shots" &&
    convert -background '#808080' -gravity west \( $(four "$1-small") \) \( $(four "$1-default") \) -smush 12 \
      -colors 128 "PNG8:$build/screenshots/layouts-${1}dpi.png" &&
    convert -background '#808080' $(four "$1-large") -colors 128 "PNG8:$build/screenshots/layouts-${1}dpi-large.png")
}

# At 144 DPI a keyboard without settings starts 1.5 times the default size, its labels
# and caption drawn at that scale; the corner drags it wider (and lower: it sits on the screen's bottom) from 6 pixels inside
# it, and the grip at the caption's right end wider and higher. Pictures at 96 and 144 DPI go to the screenshots.
the_keyboard_scales_with_the_screens_density() {
  cd "$(fresh_dir dpi)"
  local hidden frame info width height x y
  start_keyboard 1
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  frame=$(drv wait Tessary_Main_Window "" 10000)
  sleep 1; shoot keyboard-96dpi
  exit_command "$hidden"
  check "exit status at 96 DPI" 0 "$(wait_status "$STATUS_FILE")"
  rm -f Tessary.cfg

  set_screen_dpi 144
  start_keyboard 2
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window at 144 DPI"
  frame=$(drv wait Tessary_Main_Window "" 10000)
  sleep 1; shoot keyboard-144dpi
  info=$(drv info "$frame")
  check "frame left" 248 "$(field left <<<"$info")"
  check "frame width" 783 "$(field width <<<"$info")"
  check "frame height" 300 "$(field height <<<"$info")"
  width=$(field width <<<"$info"); height=$(field height <<<"$info")
  x=$(( $(field left <<<"$info") + width - 6 )); y=$(( $(field top <<<"$info") + height - 6 ))
  xdotool mousemove "$x" "$y"; sleep 0.3
  xdotool mousedown 1; sleep 0.3
  xdotool mousemove $((x + 60)) $((y - 40)); sleep 0.5  # up: the frame sits on the screen's bottom
  xdotool mouseup 1; sleep 0.8
  info=$(drv info "$frame")
  check "the corner widened the frame" $((width + 60)) "$(field width <<<"$info")"
  check "the corner lowered the frame" $((height - 40)) "$(field height <<<"$info")"
  # The grip at the caption strip's right end sizes it by its top-right corner.
  read -r x y <<<"$(frame_point grip)"
  xdotool mousemove "$x" "$y"; sleep 0.3
  xdotool mousedown 1; sleep 0.3
  xdotool mousemove $((x + 30)) $((y - 30)); sleep 0.5
  xdotool mouseup 1; sleep 0.8
  info=$(drv info "$frame")
  check "the grip widened the frame" $((width + 90)) "$(field width <<<"$info")"
  check "the grip raised the frame's top" $((height - 10)) "$(field height <<<"$info")"
  shoot keyboard-144dpi-grown
  exit_command "$hidden"
  check "exit status at 144 DPI" 0 "$(wait_status "$STATUS_FILE")"
  check "the physical size is stored" "width            = $((width + 90))" "$(grep -a '^width' Tessary.cfg | tr -d '\r')"
  set_screen_dpi 96
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
  for f in Tessary3.exe tyhook.dll tessary-cli.exe hangul.lex hangul.next hangul.lex.NOTICE.md user.lex 읽어보기.txt \
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
  check "settings written" 54 "$(wc -l <Tessary.cfg 2>/dev/null)"

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

# The installer of this build (tools/release.sh) in a Wine prefix of its own: a silent
# per-user installation that starts with Windows, the keyboard started by its Start-menu
# shortcut, a second installation over the running keyboard that keeps the user's files,
# then the silent uninstallation, which keeps them too and removes everything else.
the_installer_installs_upgrades_and_uninstalls() {
  local setup tools key lnk name folder info unix hidden f status kept
  setup=$(ls "$here/../../build/release/"Tessary3-*-"$arch"-setup.exe 2>/dev/null | head -n 1)
  [ -n "$setup" ] || { fail "no installer for $arch (tools/release.sh makes it)"; return; }
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"  # no menu entries on this machine
  tools="$work/installer-tools"
  mkdir -p "$tools" && cp "$build/tests/e2e/tdriver.exe" "$build/win32/tessary-cli.exe" "$tools/"
  idrv() { wine "$tools/tdriver.exe" "$@" 2>/dev/null | tr -d '\r'; }
  key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessary3'
  entry() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }
  shortcut() {  # Programs|Startup: the shortcut's path in the prefix
    local where='*/Start Menu/Programs'
    [ "$1" = Startup ] && where+='/Startup'
    find "$WINEPREFIX/drive_c/users" -ipath "$where/테사리 (Tessary3).lnk" | head -n 1
  }
  tessary_wine_prefix "$work/installer-prefix" || { fail "no Wine prefix"; return; }
  trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null' EXIT  # this prefix's, at the case's end
  # One Wine server for the whole case: a server that ends between two commands (three
  # seconds after its last program) saves the registry while the next command may start
  # a new one that reads it, and a value just written was once missing that way.
  wineserver -p

  wine "$setup" /S /STARTUP 2>/dev/null; status=$?
  check "installer exit status" 0 "$status"
  folder=$(entry InstallLocation)
  [[ $folder == *'\AppData\Local\Programs\Tessary3' ]] || fail "installed into [$folder], not the user's programs folder"
  check "uninstall command" "\"$folder\\uninstall.exe\" /S" "$(entry QuietUninstallString)"
  for name in Programs Startup; do
    lnk=$(shortcut "$name"); [ -n "$lnk" ] || { fail "no shortcut in $name"; return; }
    info=$(python3 "$here/lnk.py" "$lnk")
    check "$name shortcut target" "$folder\\Tessary3.exe" "$(field target <<<"$info")"
    check "$name shortcut working folder" "$folder" "$(field workdir <<<"$info")"
  done
  unix=$(wine winepath -u "$folder" 2>/dev/null | tr -d '\r')
  cd "$unix" 2>/dev/null || { fail "the installation folder is not there"; return; }
  for f in Tessary3.exe tyhook.dll tessary-cli.exe hangul.lex user.lex uninstall.exe 키보드/단어예측/korean.kdf; do
    [ -e "$f" ] || fail "not installed: $f"
  done

  # Started as Windows starts it: by the shortcut, in the folder the shortcut names (the
  # shell returns at once; the settings file, written at the end, tells the end).
  wine start "$(wine winepath -w "$(shortcut Programs)" 2>/dev/null | tr -d '\r')" 2>/dev/null
  hidden=$(idrv wait Tessary_Hidden_Window "" 30000); [ -n "$hidden" ] || fail "no hidden window"
  [ -n "$(idrv wait Tessary_Main_Window "" 10000)" ] || fail "no frame window"
  [ -n "$(idrv wait Tessary_Kbd_Window "" 10000)" ] || fail "no keyboard window"
  idrv no-msgbox 2000 || fail "a message box was shown"
  idrv post "$hidden" 273 40002 0 >/dev/null
  for _ in $(seq 150); do [ -s Tessary.cfg ] && break; sleep 0.1; done
  check "settings written in the program's folder" 54 "$(wc -l <Tessary.cfg 2>/dev/null)"
  sleep 1
  check "keyboards running" 0 "$(idrv count Tessary_Hidden_Window)"

  # The user's own files, and the keyboard running again with the changed settings.
  LC_ALL=C sed -i -e 's/^left .*/left = 100\r/' -e 's/^top .*/top = 80\r/' Tessary.cfg
  wine "$tools/tessary-cli.exe" config Tessary.cfg "$work/installer-expected.cfg" 2>/dev/null
  kept=$(python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import make_release; print(*make_release.USER_FILES)' \
         "$here/../../tools" | sed 's/Tessary.cfg//')  # the word files: user.lex, the learned words
  for name in $kept; do printf 'kept\r\n' >"$name"; done
  mkdir -p "키보드/내 자판" && cp 키보드/단어예측/korean.kdf "키보드/내 자판/"
  STATUS_FILE=$work/installer-status.2
  (wine Tessary3.exe 2>/dev/null; echo $? >"$STATUS_FILE") &
  hidden=$(idrv wait Tessary_Hidden_Window "" 30000); [ -n "$hidden" ] || fail "no hidden window (2)"
  check "frame at the changed place" 100 "$(idrv info "$(idrv wait Tessary_Main_Window "" 10000)" | field left)"

  # Installing over it ends the running keyboard (its settings are written) and keeps
  # the user's files and the start with Windows.
  wine "$setup" /S 2>/dev/null; status=$?
  check "second installer exit status" 0 "$status"
  check "the keyboard's exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "keyboards running after the installation" 0 "$(idrv count Tessary_Hidden_Window)"
  [ -e Tessary3.exe ] && [ -e tyhook.dll ] || fail "the second installation did not install the program"
  cmp -s "$work/installer-expected.cfg" Tessary.cfg || fail "Tessary.cfg was not kept"
  for name in $kept; do check "$name kept" kept "$(tr -d '\r' <"$name" 2>/dev/null)"; done
  [ -e "키보드/내 자판/korean.kdf" ] || fail "the user's layout set was not kept"
  [ -n "$(shortcut Startup)" ] || fail "the start with Windows was dropped"
  check "still in the list of programs" "$folder" "$(entry InstallLocation)"

  # The quiet uninstallation (it runs from a copy of itself: wait for its end).
  wine "$(wine winepath -u "$folder\\uninstall.exe" 2>/dev/null | tr -d '\r')" /S 2>/dev/null
  for _ in $(seq 300); do [ -e uninstall.exe ] || [ -e Tessary3.exe ] || break; sleep 0.1; done
  for f in Tessary3.exe tyhook.dll tessary-cli.exe hangul.lex hangul.lex.NOTICE.md uninstall.exe README.txt \
           읽어보기.txt LICENSE.txt THIRD-PARTY-NOTICES.txt docs 키보드/단어예측; do
    [ ! -e "$f" ] || fail "left after uninstalling: $f"
  done
  wine reg query "$key" >/dev/null 2>&1 && fail "the uninstall entry is still there"
  [ -z "$(shortcut Programs)$(shortcut Startup)" ] || fail "a shortcut is still there"
  cmp -s "$work/installer-expected.cfg" Tessary.cfg || fail "Tessary.cfg was not kept by the uninstaller"
  [ -e "키보드/내 자판/korean.kdf" ] || fail "the user's layout set was not kept by the uninstaller"
}

# ------------------------------------------------------------------ the sentence in every mode
# One short English sentence typed by each input mode into an edit control, with a
# capital, a digit and a Backspace correction, the ✔ button used to switch the layout
# and back, and the caption menu opened and closed once; the target is never clicked.
# The keys in design units of the built-in layouts (both have the same keys in the
# same places) and their scan line, block and place in the block.
declare -A sentence_point=([Shift]="33 117" [g]="170 93" [o]="266 69" [space]="177 141" [a]="66 93"
  [t]="162 69" [3]="92 45" [Back]="365 45" [2]="66 45" [period]="287 117")
declare -A sentence_scan=([Shift]="5 1 1" [g]="4 2 1" [o]="3 2 5" [space]="6 1 4" [a]="4 1 2"
  [t]="3 2 1" [3]="2 1 4" [Back]="2 3 4" [2]="2 1 3" [period]="5 3 2" [hangul]="6 2 1")
sentence_steps="Shift g o LANG space a t MENU LANG space 3 Back 2 period"
sentence_text="Go at 2."
frame_point() {  # WHAT: the screen point of the ✔ button ("lang"), of _ ("hide"), of the grip or of the icon
  local info left top width b
  info=$(drv info "$(drv find Tessary_Main_Window)")
  left=$(field left <<<"$info"); top=$(field top <<<"$info"); width=$(field width <<<"$info")
  b=$(button_side "$info")
  case $1 in  # the middles of the squares, from the right: the grip, _, ✔ (a one-pixel border)
    lang) echo $((left + width - 2 - 5 * b / 2)) $((top + 2 + b / 2)) ;;
    hide) echo $((left + width - 2 - 3 * b / 2)) $((top + 2 + b / 2)) ;;
    grip) echo $((left + width - 2 - b / 2)) $((top + 2 + b / 2)) ;;
    icon) echo $((left + 10)) $((top + 10)) ;;
  esac
}
focus_kept() {  # WHERE: the target holds the foreground and its edit control the focus
  check "the target has the focus $1" "$target" "$(drv foreground)"
  check "its edit control has the keyboard focus $1" "$target" "$(drv info "$(drv focused)" | field parent)"
}
# Steps that are the same in every mode: ✔ clicked (dwelt on in dwell
# mode), the menu opened by a click on the caption icon and closed with Escape.
caption_step() {  # STEP [dwell]
  local x y
  case $1 in
    LANG)
      local before
      read -r x y <<<"$(frame_point lang)"
      before=$(key_picture "$(drv info "$kbd")" 58 69)
      if [ "${2:-}" = dwell ]; then
        xdotool mousemove "$x" "$y"; sleep 1.6  # the fill, 800 ms, and the press
      else
        xdotool mousemove "$x" "$y"; sleep 0.3; xdotool click 1; sleep 0.6
      fi
      [ "$(key_picture "$(drv info "$kbd")" 58 69)" != "$before" ] || fail "the ✔ button did not switch the layout"
      focus_kept "after the ✔ button" ;;
    MENU)
      open_menu_by_the_caption_icon "$(drv find Tessary_Main_Window)"
      xdotool key Escape; sleep 0.6
      [ "$(drv info "$(drv find "#32768")" | field visible)" = 1 ] && fail "the menu did not close"
      focus_kept "after the caption menu" ;;
  esac
}
sentence_case() {  # MODE [SCAN_DELAY]: starts the keyboard in MODE and a target with an edit control
  cd "$(fresh_dir "sentence-$1")"
  expected_defaults | LC_ALL=C sed -e "s/^inputMode .*/inputMode = IM_${1^^}\r/" \
    -e "s/^scanDelay .*/scanDelay = ${2:-3000}\r/" | ime_mode >Tessary.cfg
  start_keyboard 1
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  target=$(start_target keys.log edit); [ -n "$target" ] || { fail "no target window"; return 1; }
  drv focus "$target"
  sleep 1
  focus_kept "at the start"
}
sentence_end() {  # SHOT
  local x y
  read -r x y <<<"$(frame_point icon)"
  xdotool mousemove $((x + 100)) "$y"; sleep 0.8  # on the title: the frame is opaque
  check "the target's text" "$sentence_text" "$(drv text "$target")"
  focus_kept "at the end"
  check "the frame is still top-most" 1 "$(drv info "$(drv find Tessary_Main_Window)" | field topmost)"
  # The whole screen: the keyboard and the target with its text.
  mkdir -p "$build/screenshots"
  command -v import >/dev/null && import -display "$DISPLAY" -window root "$build/screenshots/$1.png" 2>/dev/null
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

# The scanning set "한글 스캔" types 아 같이 with one switch: 아 letter by letter, a Space,
# ㄱ, then the word key that shows 같이, which types the space after it too (a dictionary
# of two words, so the candidates do not depend on the shipped one). Each press is timed
# from the one before: after a press the next level shows its first item at once, and the
# item after STEPS steps is pressed in the middle of its scan delay. The set's scan
# follows the syllable: the line scan starts on the consonants at a word end, on the
# vowels after an initial, on the consonants (then the word keys and Space) after a vowel.
scanning_with_the_scan_set_types_a_phrase() {
  cd "$(fresh_dir scanset)"
  bash "$here/../../tools/install-layouts.sh" "$PWD"
  printf '\xB3\xAA\x8D\xCC\x96\x82 100\n\xC8\x96\x89\xB3\x96\x82 50\n' >hangul.lex  # 같이, 가방
  config_with_kbdname "한글 스캔" | LC_ALL=C sed -e 's/^inputMode .*/inputMode = IM_SCAN\r/' \
    -e 's/^scanDelay .*/scanDelay = 1000\r/' | ime_mode >Tessary.cfg
  start_keyboard 1
  local hidden kbd target delay=1000 last presses=0 letters spaces
  keyboard_and_target 1.5 native || return
  drv no-msgbox 100 || fail "a message box was shown"
  press() {  # STEPS
    local due=$((last + ($1 * delay + delay / 2) * 1000000)) now
    now=$(date +%s%N)
    if [ "$due" -gt "$now" ]; then sleep "$(printf '%d.%03d' $(((due - now) / 1000000000)) $(((due - now) / 1000000 % 1000)))"; fi
    xdotool key space
    last=$due
    presses=$((presses + 1))
  }
  key() { press "$1"; press "$2"; press "$3"; }  # LINE_STEPS BLOCK_STEPS KEY_STEPS
  xdotool key space; last=$(date +%s%N); presses=1  # from idle: the consonants show at once
  key 0 0 0   # ㅇ: the consonants' first block and key
  key 0 0 0   # ㅏ: the vowels first, their first key
  key 1 3 1   # Space: the consonants first, then the word keys' line, its fourth block's second key
  key 0 0 1   # ㄱ: the consonants first, their second key; the word keys now show 같이 and 가방
  shoot keyboard-scan-set
  key 1 0 0   # the first word key: the vowels first, then the word keys' line, its first key
  sleep 1
  letters=$(grep '^char ' keys.log | cut -d' ' -f2 | grep -v '^32$' | while read -r c; do printf "\\$(printf %o "$c")"; done)
  check "the letters of 아 같이" "dkrkxdl" "$letters"
  # Two Spaces, the Space key's and the word key's: the switch presses never reach the target.
  spaces=$(grep -c '^char 32 ' keys.log)
  check "Spaces (the Space key's and the word key's, none of the $presses switch presses)" 2 "$spaces"
  check "the target kept the focus" "$target" "$(drv foreground)"
  drv send "$kbd" 516 0 0 >/dev/null  # WM_RBUTTONDOWN: the English layout, for the record
  sleep 0.5
  shoot keyboard-scan-set-english
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

a_sentence_by_clicks_keeps_the_focus() {
  local hidden kbd target info step x y
  sentence_case click || return
  info=$(drv info "$kbd")
  for step in $sentence_steps; do
    case $step in
      LANG | MENU) caption_step "$step" ;;
      *)
        read -r x y <<<"$(key_point "$info" ${sentence_point[$step]})"
        xdotool mousemove "$x" "$y"; sleep 0.2; xdotool click 1; sleep 0.3 ;;
    esac
  done
  # Moving and resizing the frame by its caption and its edge give the focus back too.
  local frame left top width
  frame=$(drv find Tessary_Main_Window); info=$(drv info "$frame")
  left=$(field left <<<"$info"); top=$(field top <<<"$info"); width=$(field width <<<"$info")
  xdotool mousemove $((left + 150)) $((top + 8)); sleep 0.2
  xdotool mousedown 1; sleep 0.2; xdotool mousemove $((left + 160)) $((top + 18)); sleep 0.3
  xdotool mouseup 1; sleep 0.5
  focus_kept "after a move"
  info=$(drv info "$frame")
  left=$(field left <<<"$info"); top=$(field top <<<"$info")
  xdotool mousemove $((left + width - 1)) $((top + 100)); sleep 0.2
  xdotool mousedown 1; sleep 0.2; xdotool mousemove $((left + width + 9)) $((top + 100)); sleep 0.3
  xdotool mouseup 1; sleep 0.5
  focus_kept "after a resize"
  # Hidden by _, and back by a click on the tray icon.
  read -r x y <<<"$(frame_point hide)"
  xdotool mousemove "$x" "$y"; sleep 0.3; xdotool click 1; sleep 0.5
  check "hidden by _" 0 "$(drv info "$frame" | field visible)"
  focus_kept "after _"
  local tray
  tray=$(xdotool search --name '^Wine System Tray$' 2>/dev/null | head -n 1)
  if [ -n "$tray" ]; then
    # The icon sits at the left of the tray's client area.
    eval "$(xdotool getwindowgeometry --shell "$tray")"
    xdotool mousemove $((X + 12)) $((Y + HEIGHT - 13)); sleep 0.3
    xdotool click 1; sleep 0.8
  else
    echo "    (no tray window: the tray icon's click is posted)"
    drv post "$hidden" 1074 0 513 >/dev/null; sleep 0.8  # WM_TRAYICON, WM_LBUTTONDOWN
  fi
  check "back from the tray" 1 "$(drv info "$frame" | field visible)"
  focus_kept "after the return from the tray"
  # The settings dialog, the menu's seventh item, closed with its OK button.
  open_menu_by_the_caption_icon "$frame"
  keys Down 7; keys Return 1
  [ -n "$(drv wait "#32770" "테사리 설정 창" 5000)" ] || fail "no settings dialog"
  sleep 0.5; xdotool key Return; sleep 0.8
  check "the dialog closed" 0 "$(drv count "#32770")"
  focus_kept "after the settings dialog"
  sentence_end sentence-click
}

a_sentence_by_dwelling_keeps_the_focus() {
  local hidden kbd target info step x y
  sentence_case dwell || return
  info=$(drv info "$kbd")
  for step in $sentence_steps; do
    case $step in
      LANG) caption_step LANG dwell ;;
      MENU) caption_step MENU ;;
      *)
        # One move onto the key and rest: 800 ms fill it and press it.
        read -r x y <<<"$(key_point "$info" ${sentence_point[$step]})"
        xdotool mousemove "$x" "$y"; sleep 1.4 ;;
    esac
  done
  # A quick exit over an edge key: the fill started there never completes.
  read -r x y <<<"$(key_point "$info" 17 16)"  # Esc, at the top-left corner
  xdotool mousemove "$x" "$y"; sleep 0.3; xdotool mousemove 900 700; sleep 1.2
  check "no Escape after leaving its key" "" "$(grep -E '^keydown 27 ' keys.log)"
  sentence_end sentence-dwell
}

# Scanning with the Space bar as the switch, 600 ms a step. Every press is timed from
# the one before, as the keyboard restarts its steps at each press; a step is pressed
# in the middle of its time.
scan_step_ms=600
scan_switch="key space"  # the xdotool command of the switch
scan_press_at() {  # MS after the previous press
  local left=$(( $1 * 1000000 - ($(date +%s%N) - scan_last) ))
  [ "$left" -gt 0 ] && sleep "$((left / 1000000000)).$(printf %09d $((left % 1000000000)))"
  # shellcheck disable=SC2086
  xdotool $scan_switch
  scan_last=$(date +%s%N)
}
scan_choose() {  # LINE BLOCK PLACE: from idle (scan_line 0) or from the line scan resumed on scan_line
  local d=$scan_step_ms n
  if [ "$scan_line" = 0 ]; then
    scan_last=$(date +%s%N); scan_press_at 0  # line 1 shows at once
    n=$(( $1 - 1 ))
  else
    n=$(( ($1 - scan_line + 6) % 6 ))  # six lines; the scan resumed on the chosen line
  fi
  scan_press_at $(( n * d + d / 2 ))
  scan_press_at $(( ($2 - 1) * d + d / 2 ))
  scan_press_at $(( ($3 - 1) * d + d / 2 ))
  scan_line=$1
}

a_sentence_by_scanning_keeps_the_focus() {
  local hidden kbd target info step x y scan_line=0 scan_last rest
  sentence_case scan "$scan_step_ms" || return
  info=$(drv info "$kbd")
  read -r x y <<<"$(frame_point icon)"
  xdotool mousemove $((x + 100)) "$y"  # on the title: opaque, and over no key
  rest=$(key_picture "$info" 261 141)   # the 한/영 key as it looks unlit
  # Shift release (on by default) lets the Shift go after G, under scanning as under the pointer.
  for step in $sentence_steps hangul; do
    case $step in
      LANG | MENU)
        caption_step "$step"
        # A focus change restarts the scan: wait until it has surely run out to idle.
        sleep $(( 13 * scan_step_ms / 1000 + 1 )); scan_line=0
        read -r x y <<<"$(frame_point icon)"; xdotool mousemove $((x + 100)) "$y" ;;
      *) scan_choose ${sentence_scan[$step]} ;;
    esac
  done
  sleep 1.5
  # The language key chosen by scanning: back to idle with nothing highlighted.
  check "no highlight after the language key" "$rest" "$(key_picture "$info" 261 141)"
  check "Space key-downs: the sentence's two, none of the switch" 2 "$(grep -c '^keydown 32 ' keys.log)"
  sentence_end sentence-scan
}

# ------------------------------------------------------------------ Hangul composed by the keyboard
# Wine has no Korean input method, but its windows' input contexts say Hangul mode under
# the Korean locale: the keyboard composes there in keyboard mode, and in automatic mode
# where a window's context is in English mode. The text is read back as Unicode.
ime_mode() { LC_ALL=C sed -e 's/^hangulComposition .*/hangulComposition = HC_IME\r/'; }
# The keys of the letter rows by name (design units of the built-in layouts, 510 × 155;
# the word prediction set has its word keys above them, 27 units higher: 510 × 182).
declare -A key_at=([a]="66 93" [b]="183 117" [c]="131 117" [d]="118 93" [e]="110 69" [f]="144 93"
  [g]="170 93" [h]="196 93" [i]="240 69" [j]="222 93" [k]="248 93" [l]="274 93" [m]="235 117"
  [n]="209 117" [o]="266 69" [p]="292 69" [q]="58 69" [r]="136 69" [s]="92 93" [t]="162 69"
  [u]="214 69" [v]="157 117" [w]="84 69" [x]="105 117" [y]="188 69" [z]="79 117"
  [space]="177 141" [back]="365 45" [period]="287 117" [word1]="38 -11")
click_keys() {  # HEIGHT KEY...: real clicks on the keys (HEIGHT 155 or 182)
  local height=$1 info x y k; shift
  info=$(drv info "$kbd")
  for k in "$@"; do
    read -r x y <<<"${key_at[$k]}"
    read -r x y <<<"$(key_point "$info" "$x" $((y + height - 155)) "$height")"
    xdotool mousemove "$x" "$y"; sleep 0.15; xdotool click 1; sleep 0.3
  done
}
letters() { sed 's/./& /g' <<<"$1"; }  # the keys of a run of letters
# A window in English mode puts the keyboard in its English layout: the user switches
# it with ✔.
switch_language() {
  local x y
  read -r x y <<<"$(frame_point lang)"
  xdotool mousemove "$x" "$y"; sleep 0.3; xdotool click 1; sleep 0.6
  check "the target has the focus after the ✔ button" "$target" "$(drv foreground)"
}
edit_target_case() {  # NAME: starts the keyboard (its Tessary.cfg written) and an edit control
  start_keyboard 1
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  target=$(start_target keys.log edit); [ -n "$target" ] || { fail "no target window"; return 1; }
  drv focus "$target"
  sleep 1
}
typed_text() {  # LOG: the characters a target received, its Backspaces applied (UTF-8)
  python3 -c '
import sys
text = []
for line in open(sys.argv[1]):
    word = line.split()
    if len(word) > 1 and word[0] == "char":
        if int(word[1]) == 8:
            text = text[:-1]
        else:
            text.append(chr(int(word[1])))
print("".join(text))' "$1"
}
end_with_target() {
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}
# A dictionary of the words given with their weights (JamoCode reversed, as stored).
dictionary_of() {  # WORD WEIGHT ...
  python3 - "$@" <<'PY'
import sys
out = b''
args = sys.argv[1:]
for word, weight in zip(args[0::2], args[1::2]):
    code = b''
    for ch in word:
        s = ord(ch) - 0xAC00
        code += bytes([0x82 + s // 588, 0x96 + s % 588 // 28, 0xB3 + s % 28])
    out += code[::-1] + b' ' + weight.encode() + b'\n'
sys.stdout.buffer.write(out)
PY
}

hangul_by_clicks_is_composed_where_no_input_method_is() {
  cd "$(fresh_dir compose)"
  expected_defaults | LC_ALL=C sed -e 's/^hangulComposition .*/hangulComposition = HC_KEYBOARD\r/' >Tessary.cfg
  local hidden kbd target
  edit_target_case || return
  click_keys 155 $(letters dkssudgktpdy)
  check "the text" "안녕하세요" "$(drv text "$target")"
  shoot keyboard-composing
  # 닭이: the second half of ㄺ moves on; a Backspace inside 닭 takes its last jamo.
  click_keys 155 space $(letters ekfr) back $(letters rdl)
  check "the text" "안녕하세요 닭이" "$(drv text "$target")"
  check "no Latin letter reached it" "" "$(grep -E '^char (9[7-9]|1[01][0-9]|12[0-2]) ' keys.log)"
  focus_kept "after the Hangul"
  end_with_target
}

automatic_composition_where_the_input_method_is_not_in_hangul_mode() {
  cd "$(fresh_dir compose-auto)"
  expected_defaults >Tessary.cfg  # automatic, the default
  start_keyboard 1
  local hidden kbd target
  keyboard_and_target 1 alpha || return
  switch_language  # the window is in English mode: the English layout, then ✔
  click_keys 155 $(letters dkssudgktpdy)
  shoot keyboard-composing  # "· 한글 조합" in the title strip
  check "the characters" "안녕하세요" "$(typed_text keys.log)"
  check "the target kept the focus" "$target" "$(drv foreground)"
  end_with_target
}

a_word_key_replaces_exactly_what_the_keyboard_typed() {
  cd "$(fresh_dir compose-words)"
  bash "$here/../../tools/install-layouts.sh" "$PWD"
  # Seven heavier words of ㄱ fill the word keys after ㄱ, so that after 가 the first key
  # shows 가게 and after ㄱㅅ 감사합니다 (a word key offers no word twice in a word).
  dictionary_of 고기 100 구두 99 기차 98 거리 97 그림 96 고래 95 그네 94 가게 50 감사합니다 40 >hangul.lex
  config_with_kbdname "단어예측" | LC_ALL=C sed -e 's/^hangulComposition .*/hangulComposition = HC_KEYBOARD\r/' >Tessary.cfg
  local hidden kbd target
  edit_target_case || return
  click_keys 182 r k word1  # 가, then the first word key: 가게
  check "the word after 가" "가게" "$(drv text "$target")"
  click_keys 182 space r t g word1  # the initials ㄱㅅㅎ, then 감사합니다
  check "the word after ㄱㅅㅎ" "가게 감사합니다" "$(drv text "$target")"
  focus_kept "after the word keys"
  end_with_target
}

hangul_reaches_notepad() {
  cd "$(fresh_dir compose-notepad)"
  expected_defaults | LC_ALL=C sed -e 's/^hangulComposition .*/hangulComposition = HC_KEYBOARD\r/' >Tessary.cfg
  start_keyboard 1
  local hidden kbd target
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  kbd=$(drv wait Tessary_Kbd_Window "" 10000); [ -n "$kbd" ] || fail "no keyboard window"
  wine notepad >/dev/null 2>&1 &
  target=$(drv wait Notepad "" 20000); [ -n "$target" ] || { fail "no Notepad"; return 1; }
  drv focus "$target"
  sleep 1
  click_keys 155 $(letters dkssudgktpdy) period
  check "Notepad's text" "안녕하세요." "$(drv text "$target")"
  focus_kept "at the end"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

a_mixed_sentence_keeps_each_language() {
  cd "$(fresh_dir compose-mixed)"
  expected_defaults | LC_ALL=C sed -e 's/^hangulComposition .*/hangulComposition = HC_KEYBOARD\r/' >Tessary.cfg
  local hidden kbd target
  edit_target_case || return
  click_keys 155 $(letters gksrmf) space  # 한글
  caption_step LANG
  click_keys 155 h i space
  caption_step LANG
  click_keys 155 $(letters dkssud) period  # 안녕.
  check "the text" "한글 hi 안녕." "$(drv text "$target")"
  end_with_target
}

# ------------------------------------------------------------------ the switch and the scan modes
scan_mode_case() {  # NAME CONFIG_EDITS...: the keyboard in scan mode with those settings, a target with an edit control
  cd "$(fresh_dir "$1")"; shift
  local edits=(-e 's/^inputMode .*/inputMode = IM_SCAN\r/') e
  for e in "$@"; do edits+=(-e "$e"); done
  expected_defaults | LC_ALL=C sed "${edits[@]}" >Tessary.cfg
  start_keyboard 1
  keyboard_and_target 1 edit || return 1
}

# Two-switch step mode: Space moves the highlight one step, Enter chooses, nothing moves
# on its own (the scan delay is left at 3 s and never waited for). "go at" in the
# built-in layout; neither switch reaches the target. The tick at each step is on: the
# sounds never hold the typing up.
two_switch_step_scanning_types_a_phrase() {
  local hidden kbd target line=0 key
  scan_mode_case step 's/^scanMode .*/scanMode = SCAN_STEP\r/' 's/^useScanTick .*/useScanTick = true\r/' || return
  move() { keys space "$1"; }
  choose() { xdotool key Return; sleep 0.15; }
  for key in g o space a t; do  # LINE BLOCK PLACE as in the sentence cases
    set -- ${sentence_scan[$key]}
    if [ "$line" = 0 ]; then move 1; move $(($1 - 1)); else move $(( ($1 - line + 6) % 6 )); fi
    choose; move $(($2 - 1)); choose; move $(($3 - 1)); choose
    line=$1
  done
  sleep 0.5
  check "the target's text" "go at" "$(drv text "$target")"
  check "Space key-downs: the layout's one, none of the switch's" 1 "$(grep -c '^keydown 32 ' keys.log)"
  check "no Enter reached the target" "" "$(grep -E '^key(down|up) 13 ' keys.log)"
  focus_kept "after step scanning"
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

# The scan that follows the syllable, in two-switch step mode (Space moves, Enter
# chooses): "한글 스캔" types 안 같이 바다 into an edit control, the keyboard composing.
# Each choice is counted in moves from where the scan now starts: the consonants at a word
# end, the vowels after an initial, the consonants after a vowel, Space's line after a
# final, and after ㄱ the word key that shows 같이 in the line after the vowels; the word
# key types the space after it.
syllable_following_scanning_types_a_phrase() {
  cd "$(fresh_dir syllable)"
  bash "$here/../../tools/install-layouts.sh" "$PWD"
  # 같이, 바다, 가방
  printf '\xB3\xAA\x8D\xCC\x96\x82 100\n\xB3\x96\x85\xB3\x96\x89 80\n\xC8\x96\x89\xB3\x96\x82 50\n' >hangul.lex
  config_with_kbdname "한글 스캔" | LC_ALL=C sed -e 's/^inputMode .*/inputMode = IM_SCAN\r/' \
    -e 's/^scanMode .*/scanMode = SCAN_STEP\r/' -e 's/^hangulComposition .*/hangulComposition = HC_KEYBOARD\r/' \
    >Tessary.cfg
  start_keyboard 1
  local hidden kbd target moves
  keyboard_and_target 1.5 edit || return
  drv no-msgbox 100 || fail "a message box was shown"
  choose() { xdotool key Return; sleep 0.15; }
  pick() {  # LINE BLOCK KEY: moves at each level, each followed by a choice
    local n
    for n in "$@"; do keys space "$n"; choose; done
  }
  choose       # wakes the scan: its first line shows
  pick 0 0 0   # ㅇ
  pick 0 0 0   # ㅏ
  pick 0 1 1   # ㄴ: the consonants' second block, its second key
  pick 0 3 1   # Space: the last key of the word keys' line but the editing keys
  pick 0 0 1   # ㄱ
  pick 1 0 0   # the first word key: 같이 and a space
  pick 0 0 3   # ㅂ: at a word end, the consonants' first block, its fourth key
  pick 0 0 0   # ㅏ
  sleep 0.3
  shoot keyboard-syllable-after-ba  # the opening consonants' line lit first
  # After the vowel the line the next letter is likeliest on comes first: of the
  # dictionary's words only 바다 goes on from 바 (the keys show it, and 발생합니다, which
  # follows 같이 in the stored table of next words), with ㄷ.
  pick 0 0 1   # ㄷ: the opening consonants' first block, its second key
  # After the final ㄷ of 받, the one word that goes on (바다) goes on with ㅏ: the vowels
  # come first (else the word keys would, and this choice would take the first).
  pick 0 0 0   # ㅏ
  sleep 0.5
  # The Spaces typed, and no more: none of the switches' presses reaches the target.
  check "the target's text" "안 같이 바다" "$(drv text "$target")"
  check "no Enter reached the target" "" "$(grep -E '^key(down|up) 13 ' keys.log)"
  focus_kept "after syllable-following scanning"
  end_with_target
}

# A switch interface that clicks: the left mouse button is the switch of automatic
# scanning (600 ms a step), wherever it is pressed. It is pressed over the keyboard's
# "." key, which a click that got through would type (X delivers no click to Wine over
# the bare root window, so "anywhere" is a window here). Only "to" reaches the target,
# which keeps the focus.
a_mouse_button_switch_types_a_phrase() {
  local hidden kbd target scan_line=0 scan_last key x y
  scan_mode_case mouse 's/^scanSwitch .*/scanSwitch = SWITCH_MOUSE_LEFT\r/' \
    "s/^scanDelay .*/scanDelay = $scan_step_ms\r/" || return
  read -r x y <<<"$(key_point "$(drv info "$kbd")" ${sentence_point[period]})"
  xdotool mousemove "$x" "$y"; sleep 0.3
  local scan_switch="click 1"
  for key in t o; do scan_choose ${sentence_scan[$key]}; done
  sleep 0.8
  check "the target's text" "to" "$(drv text "$target")"
  focus_kept "after clicking the switch"
  check "no Space key-down" "" "$(grep -E '^keydown 32 ' keys.log)"
  drv post "$target" 16 0 0 >/dev/null
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
}

# The settings dialog, with the keyboard and the mouse: scan input, two-switch step mode,
# the middle mouse button as the switch (the last in its list), the shortest scan step,
# the longest first pause and the tick at each step; all of it is in Tessary.cfg at the end.
the_settings_dialog_sets_the_scan_mode_and_timing() {
  cd "$(fresh_dir scansettings)"
  start_keyboard 1
  local hidden frame dialog bar info
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  frame=$(drv wait Tessary_Main_Window "" 10000); [ -n "$frame" ] || fail "no frame window"
  sleep 1
  open_menu_by_the_caption_icon "$frame"
  keys Down 7; keys Return 1
  dialog=$(drv wait "#32770" "테사리 설정 창" 5000); [ -n "$dialog" ] || { fail "no settings dialog"; return; }
  sleep 0.5
  xdotool key alt+s; sleep 0.2   # 스캔해서 입력
  xdotool key alt+t; sleep 0.2   # 한 칸씩 넘김
  xdotool key alt+1; sleep 0.2; xdotool key End; sleep 0.2  # 스위치: 마우스 가운데 단추
  for bar in "1009 Home" "1045 End"; do  # 스캔 시간 to 0.3 s, 첫 칸 멈춤 to 2 s
    set -- $bar
    info=$(drv info "$(drv child "$dialog" "$1")")
    xdotool mousemove $(( $(field left <<<"$info") + $(field width <<<"$info") / 2 )) \
      $(( $(field top <<<"$info") + $(field height <<<"$info") / 2 ))
    sleep 0.2; xdotool click 1; sleep 0.2; xdotool key "$2"; sleep 0.2
  done
  check "the scan step's label" "0.3 초" "$(drv caption "$(drv child "$dialog" 1036)")"
  check "the first pause's label" "2.0 초" "$(drv caption "$(drv child "$dialog" 1046)")"
  xdotool key alt+i; sleep 0.2  # 스캔할 때마다 똑딱 소리
  shoot settings-dialog-scan "$dialog"
  xdotool key Return; sleep 0.5
  check "dialog closed" 0 "$(drv count "#32770")"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
  check "lines" 54 "$(wc -l <Tessary.cfg)"
  check "inputMode" "inputMode        = IM_SCAN" "$(grep -a '^inputMode' Tessary.cfg | tr -d '\r')"
  check "scanMode" "scanMode         = SCAN_STEP" "$(grep -a '^scanMode' Tessary.cfg | tr -d '\r')"
  check "scanSwitch" "scanSwitch       = SWITCH_MOUSE_MIDDLE" "$(grep -a '^scanSwitch ' Tessary.cfg | tr -d '\r')"
  check "scanDelay" "scanDelay             = 300" "$(grep -a '^scanDelay' Tessary.cfg | tr -d '\r')"
  check "scanFirstDelay" "scanFirstDelay   = 2000" "$(grep -a '^scanFirstDelay' Tessary.cfg | tr -d '\r')"
  check "useScanTick" "useScanTick      = true" "$(grep -a '^useScanTick' Tessary.cfg | tr -d '\r')"
}

# The keyboard started after Notepad leaves it active: typing goes on there without a
# click. A click on Notepad, which lies over the whole screen, leaves the keyboard in
# front; after the settings and the font dialogs the physical keyboard types into
# Notepad again, even with the pointer over the keyboard.
the_keyboard_stays_in_front_without_taking_the_focus() {
  cd "$(fresh_dir front)"
  local notepad hidden frame kbd info crop before
  wine notepad.exe >/dev/null 2>&1 &
  notepad=$(drv wait Notepad "" 20000); [ -n "$notepad" ] || { fail "no Notepad"; return 1; }
  sleep 1
  start_keyboard 1
  hidden=$(drv wait Tessary_Hidden_Window "" 20000); [ -n "$hidden" ] || fail "no hidden window"
  frame=$(drv wait Tessary_Main_Window "" 10000); kbd=$(drv wait Tessary_Kbd_Window "" 10000)
  sleep 1.5
  check "Notepad active after the keyboard's start" "$notepad" "$(drv foreground)"
  xdotool type a; sleep 0.3
  drv place "$notepad" 0 0 1280 800; sleep 0.5
  info=$(drv info "$kbd")
  crop="$(field width <<<"$info")x$(field height <<<"$info")+$(field left <<<"$info")+$(field top <<<"$info")"
  before=$(import -display "$DISPLAY" -window root -crop "$crop" gray:- 2>/dev/null | md5sum)
  xdotool mousemove 640 100 click 1; sleep 1
  check "the keyboard's keys still shown after a click on Notepad" "$before" \
    "$(import -display "$DISPLAY" -window root -crop "$crop" gray:- 2>/dev/null | md5sum)"
  xdotool type b; sleep 0.3
  local dialog command letter
  for command in 40021:c 40009:d; do  # the settings dialog, the font dialog
    letter=${command#*:}
    drv post "$hidden" 273 "${command%:*}" 0
    dialog=$(drv wait "#32770" "" 10000); [ -n "$dialog" ] || fail "no dialog for ${command%:*}"
    sleep 0.5; xdotool key Escape; sleep 0.8
    read -r x y <<<"$(frame_point icon)"; xdotool mousemove $((x + 100)) $((y + 60)); sleep 0.3
    xdotool type "$letter"; sleep 0.3
  done
  check "Notepad's text" "abcd" "$(drv text "$notepad")"
  check "Notepad active at the end" "$notepad" "$(drv foreground)"
  exit_command "$hidden"
  check "exit status" 0 "$(wait_status "$STATUS_FILE")"
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
  run_case two_switch_step_scanning_types_a_phrase
  run_case a_mouse_button_switch_types_a_phrase
  run_case syllable_following_scanning_types_a_phrase
  run_case the_settings_dialog_sets_the_scan_mode_and_timing
  run_case the_focused_windows_input_mode_switches_the_layout
  run_case the_tray_menu_changes_layout_and_settings
  run_case a_missing_dictionary_is_reported
  run_case the_word_keys_show_and_type_candidates
  run_case learnt_words_come_first_and_are_kept
  run_case a_latched_ctrl_is_released_at_exit
  run_case the_keyboard_scales_with_the_screens_density
  run_case the_keyboard_stays_in_front_without_taking_the_focus
  run_case hangul_by_clicks_is_composed_where_no_input_method_is
  run_case automatic_composition_where_the_input_method_is_not_in_hangul_mode
  run_case a_word_key_replaces_exactly_what_the_keyboard_typed
  run_case hangul_reaches_notepad
  run_case a_mixed_sentence_keeps_each_language
  run_case the_release_archive_runs_from_its_own_folder
  run_case the_installer_installs_upgrades_and_uninstalls
  if [ "$bits" = 64 ] || [ -n "${TESSARY_E2E_ALL:-}" ]; then
    for name in "${long_cases[@]}"; do run_case "$name"; done
  else
    skipped=$((skipped + ${#long_cases[@]}))
    echo "e2e $arch: skipped: ${long_cases[*]}, because the long typing sessions run on the 64-bit build only (TESSARY_E2E_ALL=1 runs them here too)"
  fi
  [ ${#portable_skipped[@]} -eq 0 ] ||
    echo "e2e $arch: skipped: ${#portable_skipped[@]} cases of portable code (${portable_skipped[*]}), because they run on the 64-bit build only; the $((${#bitness_cases[@]})) whose outcome can depend on the bitness ran (TESSARY_E2E_ALL=1 runs them all here too)"
fi

[ ${#failures[@]} -eq 0 ] || echo "e2e failures: ${failures[*]}"
if [ "$skipped" -gt 0 ]; then
  echo "e2e $(basename "$build"): $passed passed, $failed failed, $skipped skipped"
else
  echo "e2e $(basename "$build"): $passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
