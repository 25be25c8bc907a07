#!/usr/bin/env bash
# Checks the stored system dictionary against its notice: every record well-formed (the
# word's JamoCode bytes, a space, a decimal weight), heaviest first, and the word count
# and SHA-256 the notice states. With a tessary-cli, also that the keyboard's own reader
# loads it and predicts from it. Usage: check-dictionary.sh SOURCE_DIR [TESSARY_CLI]
set -uo pipefail
src=${1:?usage: check-dictionary.sh SOURCE_DIR [TESSARY_CLI]}
cli=${2:-}
lex="$src/data/hangul.lex" notice="$src/data/README.md"
fail() { echo "check-dictionary: $*" >&2; exit 1; }
[ -s "$lex" ] || fail "$lex is missing or empty"
bad=$(LC_ALL=C grep -n -v -a -E $'^[\x80-\xff]+ [0-9]{1,10}$' "$lex" | head -n 3)
[ -z "$bad" ] || fail "malformed records in $lex: $(printf '%s' "$bad" | LC_ALL=C tr -c '[:print:]\n' '?')"
LC_ALL=C cut -d' ' -f2 "$lex" | sort -s -n -r -c 2>/dev/null || fail "$lex is not ordered heaviest first"
words=$(wc -l <"$lex")
sum=$(sha256sum "$lex" | cut -d' ' -f1)
stated_words=$(sed -n -E 's/^- Words: ([0-9]+)$/\1/p' "$notice")
stated_sum=$(sed -n -E 's/^- SHA-256: ([0-9a-f]{64})$/\1/p' "$notice")
[ "$words" = "$stated_words" ] || fail "$lex has $words words, its notice says ${stated_words:-nothing}"
[ "$sum" = "$stated_sum" ] || fail "$lex has SHA-256 $sum, its notice says ${stated_sum:-nothing}"
if [ -n "$cli" ]; then
  out=$("$cli" predict --dict "$lex" --user /dev/null r 2>&1) || fail "tessary-cli cannot predict from $lex: $out"
  [ "$(printf '%s\n' "$out" | tail -n 1 | tr '\t' '\n' | grep -c .)" -ge 7 ] ||
    fail "$lex gives fewer than 7 candidates after ㄱ: $out"
fi
echo "check-dictionary: $words words, SHA-256 $sum, as the notice says"
