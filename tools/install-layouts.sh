#!/usr/bin/env bash
# Copies the layout sets of the tree's 키보드 folder into DEST/키보드, converted to CP949
# as the keyboard reads them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:?usage: install-layouts.sh DEST}
for set in "$root"/키보드/*/; do
  name=$(basename "$set")
  mkdir -p "$dest/키보드/$name"
  for file in "$set"*.kdf; do
    iconv -f UTF-8 -t CP949 "$file" >"$dest/키보드/$name/$(basename "$file")"
  done
done
