#!/usr/bin/env bash
# Puts the sources of Debian's lua5.1 package (its patches applied) into DEST, and
# applies ours (third_party/patches/*.patch) on top; every build compiles those. Adds a
# deb-src entry for this machine's suite when there is none. A second run only brings
# our patches up to date: the ones applied are kept in DEST/.tessary-patches, undone
# when they changed, and the new ones applied.
set -euo pipefail
dest=${1:?usage: get-lua-source.sh DEST}
patches=$(cd "$(dirname "$0")/../third_party/patches" && pwd)

apply_ours() {
  local applied="$dest/.tessary-patches" wanted
  wanted=$(cat "$patches"/*.patch)
  if [ -f "$applied" ]; then
    [ "$(cat "$applied")" = "$wanted" ] && return 0
    patch -s -R -p1 -d "$dest" <"$applied" || { echo "cannot undo the old patches in $dest" >&2; return 1; }
    rm -f "$applied"
  fi
  patch -s -p1 -d "$dest" --dry-run <<<"$wanted" >/dev/null || { echo "our patches do not apply to $dest" >&2; return 1; }
  patch -s -p1 -d "$dest" <<<"$wanted"
  printf '%s\n' "$wanted" >"$applied"
  echo "Lua sources in $dest patched"
}

if [ -f "$dest/src/lapi.c" ]; then
  apply_ours
  exit
fi
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
apply_ours
