# Sourced by the scripts that run the Windows builds: a Wine prefix set up for the
# keyboard, and an X display (a private Xvfb when there is none, or when asked for).
#
#   tessary_wine_prefix DIR    create DIR as a prefix (once; about 20 s), export WINEPREFIX
#   tessary_display [private]  make sure DISPLAY names a running X server
#   tessary_stop_display       stop the Xvfb that tessary_display started

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono or Gecko installer dialogs
export LANG=ko_KR.UTF-8                      # the ANSI code page becomes 949, as on Korean Windows

tessary_wine_prefix() {
  export WINEPREFIX="$1"
  if [ ! -f "$WINEPREFIX/.tessary-ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # Without a window manager, managed windows make hiding stall and keys go missing.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # The Korean system fonts, by the names the program asks for.
    for face in 굴림 Gulim 굴림체 GulimChe 돋움 Dotum 돋움체 DotumChe 바탕 Batang; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d NanumGothic /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.tessary-ready"
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
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
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
