#!/usr/bin/env bash
# Builds the 64-bit Windows program and runs the keyboard under Wine, in build/run
# (its current directory, where Tessary.cfg is kept between runs). Uses $DISPLAY when
# it names a running X server; otherwise starts Xvfb and says so. Installs what is
# missing first (needs root then).
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

bash tools/setup.sh
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
cp build/win64/win32/Tessary3.exe build/win64/hooklib/tyhook.dll "$run/"
cd "$run"
echo "Running Tessary3.exe in $run; end it from its tray menu (테사리 종료) or with Ctrl+C."
wine Tessary3.exe
