#!/usr/bin/env python3
"""Counts the Hangul words (eojeol as written) of a corpus into a list that the dictionary
build reads from data/sources/ (tools/make_dictionary.py):

  count_words.py [--min N] FILE... | xz -9e > data/sources/NAME.txt.xz

"word count" lines, heaviest first (ties by the word), the words seen at least N times
(1 unless told). A word is a run of 1 to 12 Hangul syllables,
as make_dictionary.py counts the packages' text.

FILE  plain text; or .json: a list of records whose "review", "premise", "hypothesis",
      "sentence1" or "sentence2" fields are counted (the movie reviews' raw/*.json, the
      KLUE sets); or .tsv: the lines "## ID<tab>SENTENCE" of the KLUE sets, with the
      names' marks <text:TAG> reduced to their text.
"""
import collections
import json
import re
import sys
import unicodedata

WORD = re.compile('[\uac00-\ud7a3]+')
MARK = re.compile(r'<([^<>:]*):[A-Z]{2}>')
FIELDS = ('review', 'premise', 'hypothesis', 'sentence1', 'sentence2')


def sentences(path):
    with open(path, encoding='utf-8') as f:
        if path.endswith('.json'):
            for record in json.load(f):
                yield from (record[k] for k in FIELDS if k in record)
        elif path.endswith('.tsv'):
            for line in f:
                if line.startswith('## ') and '\t' in line:
                    yield MARK.sub(r'\1', line.split('\t', 1)[1])
        else:
            yield from f


def main(args):
    least = 1
    if len(args) >= 2 and args[0] == '--min':
        least = int(args[1])
        args = args[2:]
    if not args or args[0].startswith('--'):
        sys.exit(__doc__)
    words = collections.Counter()
    for path in args:
        for text in sentences(path):
            text = unicodedata.normalize('NFC', text)
            words.update(w for w in WORD.findall(text) if len(w) <= 12)
    for word, n in sorted(words.items(), key=lambda x: (-x[1], x[0])):
        if n >= least:
            sys.stdout.write(f'{word} {n}\n')


if __name__ == '__main__':
    main(sys.argv[1:])
