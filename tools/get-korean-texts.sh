#!/usr/bin/env bash
# The Korean texts that prediction and scanning are measured on, as UTF-8 text files in
# build/texts/. None of them is a source of the dictionary (tools/build-dictionary.sh):
#   debian-faq-ko.txt     documentation: Debian's FAQ in Korean (debian-faq-ko, GPL-2+),
#                         the text the README's scan steps per word are measured on
#   gimp-help-ko.txt      documentation: GIMP's manual in Korean (gimp-help-ko; licence: its copyright file),
#                         the text the letter order of the set "한글 스캔" was measured on
#   debian-history-ko.txt prose: the history of the Debian project and its manifesto, in
#                         Korean (debian-history, GPL-2+)
#   wesnoth-ko.txt        messages and dialogue: the Korean game text of Battle for Wesnoth
#                         (wesnoth-1.16-data, GPL-2+): what its characters say, the story,
#                         the messages to the player and the units' lore; only strings of
#                         three words or more, so that menu labels stay out
#   debian-handbook-ko.txt documentation written as prose: the Korean chapters of the
#                         Debian Administrator's Handbook (debian-handbook, GPL-2+ or
#                         CC-BY-SA-3.0). Kept aside: looked at only when measuring, never
#                         to choose anything (tools/measure-prediction.sh)
# Downloads the Debian packages with apt-get (nothing is installed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/texts"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
chmod 755 "$work"  # apt's own user writes the downloads here
apt-get download debian-faq-ko gimp-help-ko debian-history debian-handbook wesnoth-1.16-data >/dev/null
for deb in *.deb; do dpkg-deb -x "$deb" x; done
html_to_text() {  # FILES... -> stdout: the text of each page, in the order given
  python3 - "$@" <<'PY'
import html, re, sys
for name in sys.argv[1:]:
    page = open(name, encoding='utf-8', errors='replace').read()
    page = re.sub(r'(?is)<(script|style)\b.*?</\1>', ' ', page)
    text = html.unescape(re.sub(r'<[^>]+>', ' ', page))
    sys.stdout.write(re.sub(r'[ \t\r\f\v]+', ' ', re.sub(r'\n\s*\n+', '\n', text)).strip() + '\n')
PY
}
mo_to_text() {  # FILES... -> stdout: the translations of each message catalog, one a line
  python3 - "$@" <<'PY'
import re, struct, sys
for name in sys.argv[1:]:
    data = open(name, 'rb').read()
    order = {0x950412de: '<', 0xde120495: '>'}[struct.unpack('<I', data[:4])[0]]
    count, _, translations = struct.unpack(order + '3I', data[8:20])
    for i in range(1, count):  # 0 is the header
        length, offset = struct.unpack(order + '2I', data[translations + 8 * i:translations + 8 * i + 8])
        for text in data[offset:offset + length].decode('utf-8', 'replace').split('\0'):
            text = re.sub(r'<[^>]+>', ' ', text)
            if len(text.split()) >= 3 and re.search('[\uac00-\ud7a3]', text):
                sys.stdout.write(re.sub(r'\s+', ' ', text).strip() + '\n')
PY
}
html_to_text $(find x/usr/share/doc/debian/FAQ/ko -name '*.html' | LC_ALL=C sort) >"$out/debian-faq-ko.txt"
html_to_text $(find x/usr/share/gimp/2.0/help/ko -name '*.html' | LC_ALL=C sort) >"$out/gimp-help-ko.txt"
html_to_text $(find x/usr/share/doc/debian-history/docs -name '*.ko.html' | LC_ALL=C sort) >"$out/debian-history-ko.txt"
html_to_text $(find x/usr/share/doc/debian-handbook/html/ko-KR -maxdepth 1 -name '*.html' | LC_ALL=C sort) \
  >"$out/debian-handbook-ko.txt"
mo_to_text $(find x/usr/share/games/wesnoth -path '*/ko/LC_MESSAGES/*.mo' | LC_ALL=C sort) >"$out/wesnoth-ko.txt"
wc -w "$out"/*.txt
