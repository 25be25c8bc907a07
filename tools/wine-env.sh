# Sourced by the scripts that run the Windows builds: which Wine loader runs a program
# of each bitness, a Wine prefix set up for the keyboard, and an X display (a private
# Xvfb when there is none, or when asked for).
#
#   tessary_wine_for 64|32     make `wine` run programs of that bitness; returns 1 and
#                              says why in TESSARY_WINE_WHY when this machine cannot
#   wine ARGS / wineserver ARGS   the chosen loader and the 64-bit server (functions)
#   tessary_wine_prefix DIR    create DIR as a prefix (once; about 20 s), export WINEPREFIX
#   tessary_display [private]  make sure DISPLAY names a running X server
#   tessary_stop_display       stop the Xvfb that tessary_display started
#
# The one place that chooses a loader. Debian's `wine` launcher prefers the 32-bit
# loader whenever it is installed, even for a 64-bit program, and a kernel without
# 32-bit support cannot execute it ("Exec format error"); so 64-bit programs always go
# through the 64-bit loader, and 32-bit ones only where tools/can-run-32bit.sh says
# this machine executes 32-bit programs.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer dialogs
export LANG=ko_KR.UTF-8                      # the ANSI code page becomes 949, as on Korean Windows

TESSARY_TOOLS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
TESSARY_WINE= TESSARY_WINE_WHY=
tessary_find_loader() {  # 64|32: prints the path of that loader
  local f
  if [ "$1" = 64 ]; then
    for f in /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64 /opt/wine-stable/bin/wine64 \
             "$(command -v wine64 2>/dev/null)"; do
      [ -n "$f" ] && [ -x "$f" ] && { echo "$f"; return 0; }
    done
  else
    for f in /usr/lib/wine/wine /usr/lib/i386-linux-gnu/wine/wine /opt/wine-stable/bin/wine; do
      [ -x "$f" ] && { echo "$f"; return 0; }
    done
  fi
  return 1
}
tessary_wine_for() {
  local loader
  if [ "$1" = 32 ] && [ "${TESSARY_NO_32BIT:-0}" = 1 ]; then
    if TESSARY_NO_32BIT=0 bash "$TESSARY_TOOLS/can-run-32bit.sh"; then
      TESSARY_WINE_WHY="TESSARY_NO_32BIT=1 rehearses a machine that cannot execute 32-bit x86 programs (this one can)"
    else
      TESSARY_WINE_WHY="this machine cannot execute 32-bit x86 programs (TESSARY_NO_32BIT=1 is set too)"
    fi
    return 1
  fi
  if [ "$1" = 32 ] && ! bash "$TESSARY_TOOLS/can-run-32bit.sh"; then
    TESSARY_WINE_WHY="this machine cannot execute 32-bit x86 programs (its kernel has no 32-bit support)"
    return 1
  fi
  if ! loader=$(tessary_find_loader "$1"); then
    local note="$TESSARY_TOOLS/../build/wine32-unavailable.txt"
    if [ "$1" = 32 ] && [ -s "$note" ]; then
      TESSARY_WINE_WHY="$(cat "$note")"
    else
      TESSARY_WINE_WHY="Wine's $1-bit loader is not installed (tools/setup.sh installs it)"
    fi
    return 1
  fi
  TESSARY_WINE=$loader
  # Programs that Wine starts by itself (wineboot, reg) use the same loader.
  export WINELOADER=$loader
  return 0
}
wine() { "${TESSARY_WINE:?tessary_wine_for was not called}" "$@"; }
wineserver() {
  local s
  for s in /usr/lib/wine/wineserver64 /usr/lib/x86_64-linux-gnu/wine/wineserver64 \
           "$(command -v wineserver 2>/dev/null)"; do
    [ -n "$s" ] && [ -x "$s" ] && { "$s" "$@"; return; }
  done
  echo "wineserver is not installed (tools/setup.sh installs it)" >&2
  return 1
}
tessary_wine_for 64 || true   # the default: 64-bit programs

tessary_wine_prefix() {  # DIR: made with the 64-bit loader, so it suits every machine
  export WINEPREFIX="$1"
  if [ ! -f "$WINEPREFIX/.tessary-ready" ]; then
    local chosen=$TESSARY_WINE log
    tessary_wine_for 64 || { echo "cannot create a Wine prefix: $TESSARY_WINE_WHY" >&2; return 1; }
    mkdir -p "$WINEPREFIX"
    log=$(mktemp)
    if ! wine wineboot -i >"$log" 2>&1 || ! wineserver -w; then
      echo "creating the Wine prefix $WINEPREFIX failed:" >&2
      tail -n 20 "$log" >&2
      rm -f "$log"
      return 1
    fi
    rm -f "$log"
    # Without a window manager, managed windows make hiding stall and keys go missing.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # The Korean system fonts, by the names the program asks for.
    for face in 굴림 Gulim 굴림체 GulimChe 돋움 Dotum 돋움체 DotumChe 바탕 Batang; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d NanumGothic /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.tessary-ready"
    [ -z "$chosen" ] || { TESSARY_WINE=$chosen; export WINELOADER=$chosen; }
  fi
  # Wine's own caption-glyph font, where the program's font lookup finds it (Wine does
  # not list it from its data folder for every character set).
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" dir
  for dir in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine*/share/wine/fonts; do
    if [ -f "$dir/marlett.ttf" ] && [ ! -f "$fonts/marlett.ttf" ]; then
      mkdir -p "$fonts" && cp "$dir/marlett.ttf" "$fonts/"
    fi
  done
}

TESSARY_XVFB_PID=
tessary_display() {
  if [ "${1:-}" != private ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    TESSARY_XVFB_PID=$!
    export DISPLAY=":$n"
    # Ours only while it runs: a display of that number in another root (a chroot shares
    # the abstract socket names) makes it exit, and xdpyinfo would reach that one.
    for _ in $(seq 50); do
      kill -0 "$TESSARY_XVFB_PID" 2>/dev/null || break
      xdpyinfo >/dev/null 2>&1 && sleep 0.3 && kill -0 "$TESSARY_XVFB_PID" 2>/dev/null && return 0
      sleep 0.1
    done
    kill "$TESSARY_XVFB_PID" 2>/dev/null || true
  done
  echo "no X display could be started" >&2
  return 1
}

tessary_stop_display() {
  if [ -n "$TESSARY_XVFB_PID" ]; then
    kill "$TESSARY_XVFB_PID" 2>/dev/null || true
    wait "$TESSARY_XVFB_PID" 2>/dev/null || true
    TESSARY_XVFB_PID=
  fi
}
