#!/usr/bin/env bash
# The folders are layers: a file includes only from its own folder and the ones below it.
# The order, lowest first, is the one docs/architecture.md describes. The core
# (platform .. cli) never includes <windows.h>; posix/ and win32/ are the adapters.
# Prints every include that breaks the order and exits 1 if there is one.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
layers=(platform imedetect script config keyboard layout prediction input ui shell posix cli win32)
core=(platform imedetect script config keyboard layout prediction input ui shell cli)

rank_of() {
  local i
  for i in "${!layers[@]}"; do
    [[ ${layers[$i]} == "$1" ]] && { echo "$i"; return; }
  done
  echo -1
}

bad=0
for folder in "${layers[@]}"; do
  [[ -d $root/$folder ]] || { echo "check-layers: no folder $folder/" >&2; bad=1; continue; }
  own=$(rank_of "$folder")
  while IFS=: read -r file line text; do
    target=${text#*\"}
    target=${target%%/*}
    rank=$(rank_of "$target")
    (( rank < 0 )) && continue
    if (( rank > own )) || { [[ $folder == win32 && $target == posix ]]; }; then
      echo "${file#"$root"/}:$line: $folder/ includes $target/ ($text)"
      bad=1
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z0-9_]+/' "$root/$folder" \
             --include='*.h' --include='*.cpp' --include='*.c' | sed -E 's/:([0-9]+):/:\1:/')
done
for folder in "${core[@]}"; do
  if hits=$(grep -rnE '#[[:space:]]*include[[:space:]]*<windows\.h>' "$root/$folder" 2>/dev/null); then
    echo "$hits" | sed "s#$root/##; s#\$# (the core never includes <windows.h>)#"
    bad=1
  fi
done
(( bad == 0 )) && echo "check-layers: every include goes downwards (${layers[*]})"
exit "$bad"
