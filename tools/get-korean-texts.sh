#!/usr/bin/env bash
# The Korean texts the scanning figures are measured on, as UTF-8 text files in
# build/texts/ (none of them is a source of the dictionary):
#   debian-faq-ko.txt  Debian's FAQ in Korean (package debian-faq-ko, 12,997 words): the
#                      text the README's scan steps per word are measured on
#   gimp-help-ko.txt   GIMP's manual in Korean (package gimp-help-ko): the text the
#                      letter order of the set "한글 스캔" was measured on
# Downloads the two Debian packages with apt-get (nothing is installed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/texts"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
chmod 755 "$work"  # apt's own user writes the downloads here
apt-get download debian-faq-ko gimp-help-ko >/dev/null
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
html_to_text $(find x/usr/share/doc/debian/FAQ/ko -name '*.html' | LC_ALL=C sort) >"$out/debian-faq-ko.txt"
html_to_text $(find x/usr/share/gimp/2.0/help/ko -name '*.html' | LC_ALL=C sort) >"$out/gimp-help-ko.txt"
wc -w "$out"/*.txt
