#!/usr/bin/env bash
# Puts the sources of Debian's lua5.1 package (patches applied) into DEST, for the
# Windows builds. Adds a deb-src entry for this machine's suite when there is none.
set -euo pipefail
dest=${1:?usage: get-lua-source.sh DEST}
[ -f "$dest/src/lapi.c" ] && exit 0
if ! command -v dpkg-source >/dev/null; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq dpkg-dev >/dev/null
fi
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  # Mirror the binary entries the machine already has as source entries.
  out=/etc/apt/sources.list.d/tessary-deb-src
  : > "$out.list"
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list >> "$out.list"
  fi
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    case "$f" in *tessary-deb-src*) continue ;; esac
    sed 's/^Types:.*$/Types: deb-src/' "$f" >> "$out.sources"
    echo >> "$out.sources"
  done
  [ -s "$out.list" ] || rm -f "$out.list"
  apt-get update -qq
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source -qq lua5.1 >/dev/null 2>&1) || { echo "apt-get source lua5.1 failed" >&2; exit 1; }
src=$(find "$work" -maxdepth 1 -type d -name 'lua5.1-*' | head -n 1)
mkdir -p "$(dirname "$dest")"
rm -rf "$dest"
cp -a "$src" "$dest"
echo "Lua sources in $dest"
