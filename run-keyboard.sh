#!/usr/bin/env bash
# Builds the 64-bit Windows program and runs the keyboard under Wine, in build/run
# (its current directory, where Tessary.cfg is kept between runs). Uses $DISPLAY when
# it names a running X server; otherwise starts Xvfb and says so. Installs what is
# missing first (needs root then).
#
#   ./run-keyboard.sh [--mode click|dwell|scan] [--notepad]
#     --mode     sets inputMode in build/run/Tessary.cfg before the start (kept afterwards)
#     --notepad  also opens Wine's Notepad beside the keyboard, to type into
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

mode= notepad=
while [ $# -gt 0 ]; do
  case $1 in
    --mode) mode=${2:?--mode needs click, dwell or scan}; shift 2 ;;
    --notepad) notepad=1; shift ;;
    *) echo "usage: $0 [--mode click|dwell|scan] [--notepad]" >&2; exit 2 ;;
  esac
done
case $mode in
  '' | click | dwell | scan) ;;
  *) echo "--mode: click, dwell or scan" >&2; exit 2 ;;
esac

bash tools/setup.sh
bash tools/build-dictionary.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc 2>/dev/null || echo 2)"

# shellcheck source=tools/wine-env.sh
. tools/wine-env.sh
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  tessary_display private
  echo "No X display: the keyboard runs inside Xvfb on $DISPLAY (invisible)."
  echo "  Screenshot: import -display $DISPLAY -window root shot.png"
  trap 'wineserver -k 2>/dev/null; tessary_stop_display' EXIT
fi
tessary_wine_prefix "$root/build/wineprefix"

run="$root/build/run"
mkdir -p "$run"
cp build/win64/win32/Tessary3.exe build/win64/win32/tessary-cli.exe build/win64/hooklib/tyhook.dll \
  build/dictionary/hangul.lex "$run/"
bash tools/install-layouts.sh "$run"   # the shipped layout sets, in the tray's layout menu
cd "$run"
if [ -n "$mode" ]; then
  # The file as the program would write it, with the input mode changed.
  [ -f Tessary.cfg ] || wine tessary-cli.exe config no-such-file.cfg Tessary.cfg 2>/dev/null
  upper=$(tr '[:lower:]' '[:upper:]' <<<"$mode")
  LC_ALL=C sed -i -e "s/^inputMode .*/inputMode        = IM_$upper\r/" Tessary.cfg
  echo "inputMode = IM_$upper in $run/Tessary.cfg"
fi
if [ -n "$notepad" ]; then
  wine notepad >/dev/null 2>&1 &
fi
echo "Running Tessary3.exe in $run; end it from its menu (테사리 종료) or with Ctrl+C."
wine Tessary3.exe
