#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, as root; installs
# only what is missing, so a second run does nothing, and creates the Korean locale Wine
# runs under. The only step that reaches the network: a build needs nothing else.
#
# The package archive is sometimes briefly inconsistent: a list that fails to download
# is tried again, and the set-up goes on with the lists it has when the packages can
# still be installed. The 32-bit Wine is optional: where it cannot be installed (a
# machine that cannot execute 32-bit programs, or i386 and amd64 versions out of step)
# the set-up says so in one line, writes the reason to build/wine32-unavailable.txt, and
# the 32-bit cases under Wine are then reported as skipped with that reason.
set -uo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config git ca-certificates locales
  libgtest-dev libgmock-dev libbenchmark-dev clang-14
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick fonts-nanum
  python3 nsis)
wine32_note=build/wine32-unavailable.txt

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
say() { echo "setup: $*"; }

updated=0
update_lists() {  # apt-get update, tried three times; returns 1 when a list still failed
  local try log
  log=$(mktemp)
  for try in 1 2 3; do
    if apt-get update -qq >"$log" 2>&1 && ! grep -qE '^(E:|W: Failed to fetch)' "$log"; then
      rm -f "$log"; updated=1; return 0
    fi
    say "apt-get update failed (try $try of 3): $(grep -E '^(E|W):' "$log" | head -n 1)"
    [ "$try" -lt 3 ] && sleep $((try * 5))
  done
  rm -f "$log"
  say "going on with the package lists as they are; installing may still succeed"
  updated=1
  return 1
}
install() {  # PACKAGES...: installs them; on failure prints apt's errors and returns 1
  local log
  log=$(mktemp)
  if DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1; then
    rm -f "$log"; return 0
  fi
  # apt's "generated breaks" names no package: a simulation tells which dependency is unmet.
  apt-get install -s --no-install-recommends "$@" >>"$log" 2>&1
  INSTALL_ERROR=$( (grep -E '^ ?[^ ]+ : Depends:' "$log" | head -n 1 | sed -E 's/^ +//; s/ +/ /g'
                    grep -E '^E:' "$log" | head -n 1) | paste -sd ';' | sed 's/;/; /')
  rm -f "$log"
  return 1
}

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  say "installing ${missing[*]}"
  update_lists
  if ! install "${missing[@]}"; then
    # A list older than the archive names versions it no longer holds: one more update.
    say "installing failed ($INSTALL_ERROR); updating the package lists and trying once more"
    update_lists
    if ! install "${missing[@]}"; then
      echo "setup: cannot install ${missing[*]}: $INSTALL_ERROR" >&2
      exit 1
    fi
  fi
fi

# The 32-bit Wine, where this machine executes 32-bit programs and the archive can
# install it. Debian's wine launcher would pick it even for 64-bit programs, so it is
# never installed where it cannot start.
mkdir -p build
if [ "${TESSARY_NO_32BIT:-0}" = 1 ]; then
  say "the 32-bit Wine is left out: TESSARY_NO_32BIT=1 rehearses a machine that cannot execute 32-bit programs"
elif ! bash tools/can-run-32bit.sh; then
  say "the 32-bit Wine is left out: this machine cannot execute 32-bit programs"
  echo "this machine cannot execute 32-bit x86 programs, so the 32-bit Wine was not installed" >"$wine32_note"
elif installed wine32:i386; then
  rm -f "$wine32_note"
elif [ "$(id -u)" -ne 0 ]; then
  say "the 32-bit Wine is not installed, and installing it needs root"
else
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386   # wine32 comes from the i386 architecture
    updated=0
  fi
  [ "$updated" = 1 ] || update_lists
  if install wine32:i386; then
    say "installed wine32:i386"
    rm -f "$wine32_note"
  else
    say "the 32-bit Wine could not be installed, so the 32-bit cases under Wine will be skipped: $INSTALL_ERROR"
    echo "the package archive could not install wine32:i386 (${INSTALL_ERROR% })" >"$wine32_note"
  fi
fi

if ! locale -a 2>/dev/null | grep -qix 'ko_KR.utf8'; then
  say "creating the ko_KR.UTF-8 locale"
  localedef -i ko_KR -f UTF-8 ko_KR.UTF-8 || { echo "setup: cannot create the ko_KR.UTF-8 locale" >&2; exit 1; }
fi
exit 0
