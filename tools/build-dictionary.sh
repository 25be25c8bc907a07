#!/usr/bin/env bash
# Regenerates the system dictionary data/hangul.lex and its table of next words
# data/hangul.next, which the repository keeps: builds,
# the run command and the releases use the stored file as it stands and never run this.
# Run it by hand (as root the first time: it installs what it needs) when the sources
# or tools/make_dictionary.py change; it prints what changed — words, weights and the
# keystroke figures — so that the regeneration is a reviewed commit, and writes the new
# word count and checksum into the notice, data/README.md.
#
# Sources: word frequencies counted in the Korean text that Debian packages ship (help
# pages, guides, message catalogs; fetched with `apt-get download` and unpacked here,
# never installed), the word counts kept in data/sources/ (subtitles, movie reviews, the
# KLUE, KorNLI and KorSTS sentences, the parallel corpora's news), and Debian's
# hunspell-ko and tesseract-ocr-kor word lists as
# fall-backs (see data/README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
lex=data/hangul.lex
next=data/hangul.next
notice=data/README.md

# What regenerating needs beyond tools/setup.sh.
need=()
for p in hunspell-ko tesseract-ocr tesseract-ocr-kor; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  [ "$(id -u)" -eq 0 ] || { echo "build-dictionary: missing ${need[*]}; installing needs root" >&2; exit 1; }
  apt-get update -qq || echo "build-dictionary: apt-get update failed; trying the lists as they are" >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# The packages whose Korean text is counted. Not debian-faq-ko nor the other measurement
# texts (tools/get-korean-texts.sh): the keystroke figures are measured on them, so they
# must stay unseen.
text_packages=(libreoffice-help-ko libreoffice-l10n-ko firefox-esr-l10n-ko thunderbird-l10n-ko
  installation-guide-amd64 gnome-user-docs
  libc-l10n coreutils git bash gettext dpkg apt tar libglib2.0-data libgtk-3-common xkb-data
  inkscape vlc-l10n evolution-common gimp-data gnome-control-center-data nautilus-data
  gnome-software-common totem-common synaptic packagekit debconf-i18n texlive-lang-korean)
tessdata=$(ls /usr/share/tesseract-ocr/*/tessdata/kor.traineddata 2>/dev/null | head -n 1)
[ -n "$tessdata" ] || { echo "build-dictionary: tesseract-ocr-kor is not installed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
combine_tessdata -u "$tessdata" "$work/kor." >/dev/null 2>&1
dawg2wordlist "$work/kor.lstm-unicharset" "$work/kor.lstm-word-dawg" "$work/tesseract-words.txt" >/dev/null 2>&1
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
python3 tools/make_dictionary.py "$work/hangul.lex" /usr/share/hunspell/ko.dic \
  "$work/tesseract-words.txt" data/sources/*.txt.xz "$work"/text/*

# What changed, for the commit's review.
echo "== build-dictionary: what changed"
python3 - "$lex" "$work/hangul.lex" <<'PY'
import sys
def read(path):
    try:
        with open(path, 'rb') as f:
            return {w: int(n) for w, n in (line.split(b' ') for line in f.read().splitlines())}
    except FileNotFoundError:
        return {}
old, new = read(sys.argv[1]), read(sys.argv[2])
added = [w for w in new if w not in old]
removed = [w for w in old if w not in new]
moved = [w for w in new if w in old and new[w] != old[w]]
print(f"words: {len(old)} -> {len(new)} ({len(added)} added, {len(removed)} removed, "
      f"{len(moved)} with another weight)")
# The heaviest words show best what a user meets first.
top = lambda d: [w for w, _ in sorted(d.items(), key=lambda x: -x[1])[:20]]
if top(old) != top(new):
    print("the 20 heaviest words changed")
PY
if [ -x build/native/tessary-cli ] && [ -f build/texts/debian-faq-ko.txt ]; then
  for text in build/texts/*.txt; do
    echo "$(basename "$text"): before: $(build/native/tessary-cli ksr --dict "$lex" "$text" 2>/dev/null || echo none)"
    echo "$(basename "$text"): after:  $(build/native/tessary-cli ksr --dict "$work/hangul.lex" "$text")"
  done
else
  echo "(the keystroke figures need build/native/tessary-cli and tools/get-korean-texts.sh)"
fi

cp "$work/hangul.lex" "$lex"
cp "$work/hangul.next" "$next"
words=$(wc -l <"$lex")
sum=$(sha256sum "$lex" | cut -d' ' -f1)
pairs=$(wc -l <"$next")
next_sum=$(sha256sum "$next" | cut -d' ' -f1)
sed -i -E "s/^(- Words: ).*/\1$words/; s/^(- SHA-256: ).*/\1$sum/" "$notice"
sed -i -E "s/^(- Pairs of hangul.next: ).*/\1$pairs/; s/^(- SHA-256 of hangul.next: ).*/\1$next_sum/" "$notice"
echo "wrote $lex ($words words, SHA-256 $sum), $next ($pairs pairs) and the notice; review with git diff and commit them"
