#!/usr/bin/env bash
# What word prediction saves on Korean text the dictionary has never seen: for each text
# of tools/get-korean-texts.sh (fetched when missing), `tessary-cli ksr` without learning
# and with learning from nothing, and the mean of each. debian-handbook-ko is the text
# kept aside: it is measured, never looked at to choose anything. Then the second halves
# (by lines) of the three texts whose first halves the dictionary's shares were chosen
# on: never looked at while choosing.
# Usage: measure-prediction.sh [TESSARY_CLI] [DICTIONARY]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/native/tessary-cli}
dict=${2:-$root/data/hangul.lex}
texts="$root/build/texts"
names=(debian-history-ko wesnoth-ko debian-faq-ko gimp-help-ko debian-handbook-ko)
kinds=(prose "messages, dialogue" documentation documentation "prose manual (kept aside)")
[ -x "$cli" ] || { echo "measure-prediction: no $cli (build the native preset)" >&2; exit 1; }
[ -s "$dict" ] || { echo "measure-prediction: no dictionary $dict" >&2; exit 1; }
for name in "${names[@]}"; do
  [ -s "$texts/$name.txt" ] || { "$root/tools/get-korean-texts.sh" >/dev/null; break; }
done
run() { "$cli" ksr --dict "$dict" --user /nonexistent/user.lex "$@"; }
printf '| %-19s | %-26s | %7s | %8s | %8s |\n' text kind words static learning
printf '|%s|%s|%s|%s|%s|\n' ---------------------- ---------------------------- --------- ---------- ----------
rows=""
for i in "${!names[@]}"; do
  file="$texts/${names[$i]}.txt"
  static=$(run "$file") learn=$(run --learn "$file")
  # "words W letters L keystrokes K ksr P%"
  row=$(printf '%s\n%s\n' "$static" "$learn" | awk '{ w = $2; r[NR] = $8 + 0 } END { printf "%d %.1f %.1f", w, r[1], r[2] }')
  read -r words s l <<<"$row"
  printf '| %-19s | %-26s | %7s | %7s%% | %7s%% |\n' "${names[$i]}" "${kinds[$i]}" "$words" "$s" "$l"
  rows+="$s $l"$'\n'
done
printf '%s' "$rows" | awk '{ s += $1; l += $2; n++ } END { printf "| %-19s | %-26s | %7s | %7.1f%% | %7.1f%% |\n", "mean", "", "", s / n, l / n }'
echo
echo "second halves (by lines; the first halves are the development split):"
half=$(mktemp -d)
trap 'rm -rf "$half"' EXIT
for name in debian-history-ko wesnoth-ko debian-faq-ko; do
  lines=$(wc -l <"$texts/$name.txt")
  tail -n +$(( (lines + 1) / 2 + 1 )) "$texts/$name.txt" >"$half/$name.txt"
  static=$(run "$half/$name.txt") learn=$(run --learn "$half/$name.txt")
  printf '%s\n%s\n' "$static" "$learn" | awk -v n="$name" '{ w = $2; r[NR] = $8 + 0 } END { printf "| %-19s | %7d | %7.1f%% | %7.1f%% |\n", n, w, r[1], r[2] }'
done
