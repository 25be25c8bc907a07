#!/usr/bin/env bash
# Builds the 64-bit Windows program and runs the keyboard under Wine, in build/run
# (its current directory, where Tessary.cfg is kept between runs). Uses $DISPLAY when
# it names a running X server; otherwise starts Xvfb and says how to see the keyboard.
# Installs what is missing first (needs root then). Whatever fails is said on the
# terminal, and nothing it started is left running.
#
#   ./run-keyboard.sh [--mode click|dwell|scan] [--notepad] [--screenshot FILE]
#     --mode        sets inputMode in build/run/Tessary.cfg before the start (kept afterwards)
#     --notepad     also opens Wine's Notepad beside the keyboard, to type into
#     --screenshot  saves a picture of the screen to FILE once the keyboard is up
set -uo pipefail
cd "$(dirname "$0")"
root=$PWD

usage="usage: $0 [--mode click|dwell|scan] [--notepad] [--screenshot FILE]"
mode= notepad= screenshot=
while [ $# -gt 0 ]; do
  case $1 in
    --mode) mode=${2:-}; shift; shift || true ;;
    --notepad) notepad=1; shift ;;
    --screenshot) screenshot=${2:-}; [ -n "$screenshot" ] || { echo "$usage" >&2; exit 2; }; shift 2 ;;
    -h | --help) echo "$usage"; exit 0 ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
case $mode in
  '' | click | dwell | scan) ;;
  *) echo "--mode: click, dwell or scan" >&2; exit 2 ;;
esac
[ -z "$screenshot" ] || screenshot=$(realpath -m "$screenshot")

die() { echo "run-keyboard: $*" >&2; exit 1; }

bash tools/setup.sh || die "installing what the keyboard needs failed (see above); as root it installs what is missing"
cmake --preset win64 >/dev/null || die "configuring the 64-bit build failed (cmake --preset win64)"
cmake --build --preset win64 -j "$(nproc 2>/dev/null || echo 2)" || die "the 64-bit build failed (see above)"

# shellcheck source=tools/wine-env.sh
. tools/wine-env.sh
tessary_wine_for 64 || die "cannot run the keyboard: $TESSARY_WINE_WHY"

keyboard_pid= xvfb_note=
cleanup() {
  [ -n "$keyboard_pid" ] && kill "$keyboard_pid" 2>/dev/null
  [ -n "${WINEPREFIX:-}" ] && { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
  tessary_stop_display
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  tessary_display private || die "no X display, and Xvfb could not be started (is xvfb installed?)"
  xvfb_note=1
fi

prefix="$root/build/wineprefix"
if ! tessary_wine_prefix "$prefix"; then
  rm -rf "$prefix"   # half made: the next run starts afresh
  die "the Wine prefix could not be created (see above)"
fi

run="$root/build/run"
mkdir -p "$run"
cp build/win64/win32/Tessary3.exe build/win64/win32/tessary-cli.exe build/win64/hooklib/tyhook.dll \
  data/hangul.lex data/hangul.next "$run/" || die "copying the program to $run failed"
bash tools/install-layouts.sh "$run" || die "installing the layout sets into $run failed"
cd "$run" || die "no folder $run"
if [ -n "$mode" ]; then
  # The file as the program would write it, with the input mode changed.
  if [ ! -f Tessary.cfg ]; then
    wine tessary-cli.exe config no-such-file.cfg Tessary.cfg 2>/dev/null || die "writing the default Tessary.cfg failed"
  fi
  upper=$(tr '[:lower:]' '[:upper:]' <<<"$mode")
  LC_ALL=C sed -i -e "s/^inputMode .*/inputMode        = IM_$upper\r/" Tessary.cfg
  echo "inputMode = IM_$upper in $run/Tessary.cfg"
fi
if [ -n "$notepad" ]; then
  wine notepad >/dev/null 2>&1 &
fi

echo "Running Tessary3.exe in $run on display $DISPLAY."
if [ -n "$xvfb_note" ]; then
  echo "There is no X display here, so the keyboard runs inside Xvfb on $DISPLAY, which no screen shows."
  echo "  A picture of it:   import -display $DISPLAY -window root shot.png   (or --screenshot FILE)"
  echo "  To watch it live:  x11vnc -display $DISPLAY -localhost, then a VNC viewer on localhost:5900"
  echo "  On a desktop, run this script from a terminal there: the keyboard then appears on it."
fi
echo "End it from its menu (테사리 종료) or with Ctrl+C here."

err=$(mktemp)
wine Tessary3.exe 2>"$err" &
keyboard_pid=$!
if [ -n "$screenshot" ]; then
  # The frame is up when the program's windows are mapped; then a moment to paint.
  for _ in $(seq 200); do
    kill -0 "$keyboard_pid" 2>/dev/null || break
    xdotool search --onlyvisible --class tessary3 >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1
  if import -display "$DISPLAY" -window root "$screenshot" 2>/dev/null; then
    echo "Screenshot: $screenshot"
  else
    echo "run-keyboard: the screenshot could not be taken (is imagemagick installed?)" >&2
  fi
fi
wait "$keyboard_pid"
status=$?
keyboard_pid=
if [ "$status" -ne 0 ] && [ "$status" -ne 130 ]; then
  echo "run-keyboard: the keyboard ended with status $status" >&2
  [ -s "$err" ] && { echo "what it said:" >&2; tail -n 20 "$err" >&2; }
  rm -f "$err"
  exit 1
fi
rm -f "$err"
echo "The keyboard ended; its settings are in $run/Tessary.cfg."
