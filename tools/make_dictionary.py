#!/usr/bin/env python3
"""Builds the system dictionary hangul.lex from openly licensed Korean text and word lists.

  make_dictionary.py OUT.lex HUNSPELL_DIC TESSERACT_WORDLIST COUNTED_WORDLIST... CORPUS_DIR...

Beside OUT.lex it writes OUT.next, the table of next words: for each word written at
least MIN_FIRST times in the text, the (at most) FOLLOWERS words that followed it most
often, separated from it by white space only, each at least MIN_PAIR times; one a line,
"FIRST NEXT WEIGHT", the two words in JamoCode (not reversed), the weight
round(6e7 x (ln p + 32)) of p = the pair's count / the first word's count.

HUNSPELL_DIC        Debian's hunspell-ko ko.dic (words in decomposed jamo, "word/flags")
TESSERACT_WORDLIST  the Korean word list of tesseract-ocr-kor (one word a line)
COUNTED_WORDLIST    a file of words with their counts, "word count" a line (read through
                    xz when the name ends in .xz), weighed by the share COUNTED_SHARES
                    gives the start of its name: the lists of data/sources/ (subtitles:
                    conversation; movie reviews: everyday writing; the KLUE sentences:
                    news, encyclopaedia and other prose; the KorNLI and KorSTS sentences
                    and the parallel corpora's: translated prose and talk, news)
CORPUS_DIR          an unpacked package: its Korean files are counted (under a folder
                    "ko" or "ko_KR", or every file of a package whose name ends in "-ko",
                    or under one of the KOREAN_DOCS folders): help pages and guides
                    (.html, .xhp, .page; TeX sources .tex, also gzipped or in a .tar.gz),
                    message catalogs (.mo), localisation files (.ftl, .properties, .dtd,
                    .xcd, also inside .xpi/.jar/.zip archives). Guides and interface
                    strings are two sources, weighed apart.

A word is a run of 1 to 12 Hangul syllables (an eojeol as written, stem with its particle
or ending). Its weight comes from a smoothed probability:
  p(w) = INTERFACE_SHARE * its count / the words of interface strings (message catalogs,
                                                   localisation files)
       + GUIDE_SHARE * its count / the words of guides     (help pages, guides: prose)
       + for each counted list, its share * its count / the list's total
       + the same shares of its stem forms (below)
       + 1.5e-5 * the geometric mean of its syllables' frequencies in the text
         (x 1.5 when both hunspell and tesseract know it): under one count of the text,
         it orders the words of equal counts and the words only the lists know
  weight = round(6e7 * (ln p + 32))
so equal weights are rare. Only the MAX_WORDS heaviest words are kept (the memory the
keyboard holds them in).
Hunspell entries with the forbidden-word flag (15) or the compound-only flag (1) are
skipped. Records are written heaviest first (ties by the word), as the keyboard reads
them: the word's JamoCode reversed, a space, the weight, a line feed.
"""
import collections
import html
import gzip
import io
import lzma
import math
import os
import re
import struct
import tarfile
import sys
import unicodedata
import zipfile

FORBIDDEN, ONLY_IN_COMPOUND = '15', '1'
WORD = re.compile('[\uac00-\ud7a3]+')
TAG = re.compile(r'<[^>]*>', re.S)
MARKUP = ('.html', '.htm', '.xhp', '.xml', '.xcd', '.page')
KOREAN_FOLDERS = {'ko', 'ko_KR', 'ko-KR'}
# Guides written in Korean, each in a folder of its own: TeX Live's Korean documentation
# (texlive-lang-korean), its TeX sources (.tex, gzipped or in a .tar.gz).
KOREAN_DOCS = {'lshort-korean', 'kotex-utf', 'kotex-oblivoir', 'cjk-ko'}
PLAIN = ('.ftl', '.properties', '.dtd', '.js', '.tex')
ARCHIVES = ('.xpi', '.zip', '.jar')
INTERFACE_SHARE, GUIDE_SHARE = 0.1, 0.5
# The counted lists of data/sources/, by the start of their file names.
COUNTED_SHARES = {'frequencywords': 0.4, 'klue': 0.2, 'nsmc': 0.2, 'kornlu': 0.3, 'korean-parallel': 0.2}
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
    """The texts of a file, each with whether it is a guide (help pages, guides: prose)
    rather than interface strings (message catalogs, localisation files)."""
    if name.endswith('.gz') and not name.endswith('.tar.gz'):
        yield from texts(name[:-3], gzip.decompress(data))
    elif name.endswith('.tar.gz'):
        with tarfile.open(fileobj=io.BytesIO(data)) as tar:
            for member in tar.getmembers():
                # macOS's resource forks (._name) are no text
                if member.isfile() and not os.path.basename(member.name).startswith('._'):
                    yield from texts(member.name, tar.extractfile(member).read())
    elif name.endswith('.mo'):
        yield from ((text, False) for text in mo_strings(data))
    elif name.endswith(ARCHIVES):
        try:
            with zipfile.ZipFile(io.BytesIO(data)) as z:
                for inner in z.namelist():
                    yield from texts(inner, z.read(inner))
        except zipfile.BadZipFile:
            pass
    elif name.endswith(MARKUP):
        # The office suite's settings (.xcd) are interface strings.
        yield html.unescape(TAG.sub(' ', data.decode('utf-8', 'replace'))), not name.endswith('.xcd')
    elif name.endswith(PLAIN):
        yield data.decode('utf-8', 'replace'), name.endswith('.tex')


MIN_FIRST, MIN_PAIR, FOLLOWERS = 2, 1, 30

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
}
# The verbs and adjectives made of a noun with 하다 or 되다 (지원하다, 지원했다, 지원되는):
# their endings are learnt from the text, every ending that begins with one of these
# syllables and follows at least VERB_STEMS different stems of two syllables or more.
# Only a stem seen with one of them takes the others.
VERB_FIRST = set('하한할함합해했되된될됨됩돼됐')
VERB_STEMS = 20
# A form never counted is weighed as counted this share of what its stem and ending suggest.
FORM_SHARE = 0.3
MIN_STEM = 3  # a stem counted fewer times (alone and with endings) makes no forms
MIN_FORM = 0.02  # nor a form it suggests fewer times than this
MAX_WORDS = 420000  # the heaviest this many words are kept (memory)
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
    ending among all endings taken by stems of its kind (the final's presence); and for a
    stem seen as a verb with 하다 or 되다, its count as such a verb times the share of each
    verb ending among the verb endings."""
    stem_total = collections.Counter()
    taken = collections.defaultdict(collections.Counter)  # kind: ending: count
    verb_total = collections.Counter()  # stem: its count with a verb ending
    verb_taken = collections.Counter()  # verb ending: count
    verb_stems = collections.defaultdict(set)  # verb ending: the stems it followed
    known = lambda stem: stem in stems_known or counts.get(stem, 0) > 0
    for word, n in counts.items():
        for cut in range(2, len(word)):
            stem, ending = word[:cut], word[cut:]
            if ending[0] in VERB_FIRST and len(ending) <= 4 and known(stem):
                verb_taken[ending] += n
                verb_stems[ending].add(stem)
    verb_endings = {e for e, stems in verb_stems.items() if len(stems) >= VERB_STEMS}

    def verb_form(word):  # a stem with a verb ending: no stem of its own
        return any(word[cut:] in verb_endings and known(word[:cut]) for cut in range(2, len(word)))

    for word, n in counts.items():
        for cut in range(1, len(word)):
            stem, ending = word[:cut], word[cut:]
            if not known(stem) or verb_form(stem):
                continue
            if ending in ENDINGS and suits(stem, ending):
                stem_total[stem] += n
                taken[stem_kind(stem)][ending] += n
            elif ending in verb_endings and cut >= 2:
                verb_total[stem] += n
    for stem, n in counts.items():
        if stem in stem_total:
            stem_total[stem] += n
    share = {kind: {e: c / sum(t.values()) for e, c in t.items()} for kind, t in taken.items()}
    verb_sum = sum(verb_taken[e] for e in verb_endings) or 1
    verb_share = {e: verb_taken[e] / verb_sum for e in verb_endings}
    forms = {}
    for stem, n in stem_total.items():
        if n < MIN_STEM or len(stem) > 10:
            continue
        for ending, part in share.get(stem_kind(stem), {}).items():
            word = stem + ending
            if suits(stem, ending) and word not in counts and FORM_SHARE * n * part >= MIN_FORM:
                forms[word] = FORM_SHARE * n * part
    for stem, n in verb_total.items():
        if n < MIN_STEM or len(stem) > 10:
            continue
        for ending, part in verb_share.items():
            word = stem + ending
            if word not in counts and FORM_SHARE * n * part >= MIN_FORM:
                forms[word] = max(forms.get(word, 0), FORM_SHARE * n * part)
    return forms


PAIR = re.compile('([\uac00-\ud7a3]+)[ \t\r\n]+(?=([\uac00-\ud7a3]+))')


def corpus_counts(roots, pairs, guides):
    """The words of the packages' Korean text (those of guides also counted in `guides`)
    and the pairs of words."""
    counts = collections.Counter()
    for root in roots:
        before = sum(counts.values())
        korean_package = os.path.basename(os.path.normpath(root)).endswith('-ko')
        for folder, _, files in sorted(os.walk(root)):
            parts = set(os.path.relpath(folder, root).split(os.sep))
            if not korean_package and not KOREAN_FOLDERS & parts and not KOREAN_DOCS & parts:
                continue
            for name in sorted(files):
                path = os.path.join(folder, name)
                if os.path.islink(path) or not os.path.isfile(path):
                    continue
                with open(path, 'rb') as f:
                    data = f.read()
                for text, guide in texts(name, data):
                    text = unicodedata.normalize('NFC', text)
                    words = [w for w in WORD.findall(text) if len(w) <= 12]
                    counts.update(words)
                    if guide:
                        guides.update(words)
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


def counted_words(path):
    """A list of "word count" lines: the Hangul words and their counts (summed over the
    spellings NFC makes equal)."""
    opener = lzma.open if path.endswith('.xz') else open
    counts = collections.Counter()
    with opener(path, 'rt', encoding='utf-8') as f:
        for line in f:
            word, _, n = unicodedata.normalize('NFC', line.strip()).rpartition(' ')
            if is_hangul_word(word) and n.isdigit():
                counts[word] += int(n)
    return counts


def counted_share(path):
    """The share of a counted list, by its file name."""
    name = os.path.basename(path)
    for prefix, share in COUNTED_SHARES.items():
        if name.startswith(prefix):
            return share
    sys.exit(f'make_dictionary: no share for the counted list {path}')


def main(out, hunspell, tesseract, *rest):
    lists = [(counted_words(path), counted_share(path)) for path in rest if os.path.isfile(path)]
    corpora = [path for path in rest if not os.path.isfile(path)]
    pairs, guides = collections.Counter(), collections.Counter()
    counts = corpus_counts(corpora, pairs, guides)
    build(out, hunspell_words(hunspell), {w for w in plain_words(tesseract) if is_hangul_word(w)},
          lists, counts, guides, pairs)


def build(out, spell, tess, lists, counts, guides, pairs):
    """Writes OUT and its .next from the word lists, the counted lists with their shares
    (lists: (counts, share) each), the packages' counts (of which `guides` were in guides)
    and their pairs."""
    total = sum(counts.values()) or 1
    # The sources, each by its share, in counts of a text as long as the packages':
    # a word's merged count over `total` is its probability.
    merged = collections.Counter()
    interface = counts - guides
    for source, share in [(interface, INTERFACE_SHARE), (guides, GUIDE_SHARE)] + list(lists):
        scale = share * total / (sum(source.values()) or 1)
        for word, n in source.items():
            merged[word] += scale * n
    syllables = collections.Counter()
    for word, n in merged.items():
        for c in word:
            syllables[c] += n
    syllable_total = sum(syllables.values()) or 1
    text_syllables = collections.Counter()
    for word, n in counts.items():
        for c in word:
            text_syllables[c] += n

    def smoothing(word):
        # The geometric mean of its syllables' frequencies in the text (add-one smoothed),
        # scaled to stay under one count of the text.
        logs = [math.log((syllables[c] + 1) / (syllable_total + 11172)) for c in word]
        both = word in spell and word in tess
        return SMOOTHING_SHARE * math.exp(sum(logs) / len(logs)) * (1.5 if both else 1)

    forms = stem_forms(merged, spell)

    def cannot_be_a_word(word):
        # Never counted in the text, and: a word written twice over (안녕하세요안녕하세요), or
        # known only to the OCR list and holding a syllable the text has fewer than
        # RARE_SYLLABLE times.
        if word in merged:
            return False
        half = len(word) // 2
        if len(word) >= 4 and len(word) % 2 == 0 and word[:half] == word[half:]:
            return True
        only_ocr = word in tess and word not in spell and word not in forms
        return only_ocr and any(text_syllables[c] < RARE_SYLLABLE for c in word)

    weights = {}
    for word in set(merged) | spell | tess | set(forms):
        if cannot_be_a_word(word):
            continue
        p = (merged.get(word, 0) + forms.get(word, 0)) / total + smoothing(word)
        weights[word] = max(1, round(WEIGHT_PER_NAT * (math.log(p) + LOG_FLOOR)))
    records = sorted(weights.items(), key=lambda item: (-item[1], item[0]))[:MAX_WORDS]
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
    counted = ' + '.join(f'{len(c)} from {sum(c.values())}' for c, _ in lists)
    print(f'{out}: {len(records)} words ({len(counts)} from {total} words of text, {len(forms)} stem forms, '
          f'{sum(guides.values())} of them in guides, {counted} words of counted lists, {len(spell)} hunspell, {len(tess)} tesseract)')


if __name__ == '__main__':
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
