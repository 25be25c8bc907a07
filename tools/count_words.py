#!/usr/bin/env python3
"""Counts the Hangul words (eojeol as written) of a corpus into a list that the dictionary
build reads from data/sources/ (tools/make_dictionary.py):

  count_words.py [--min N] [--unique] FILE... | xz -9e > data/sources/NAME.txt.xz

"word count" lines, heaviest first (ties by the word), the words seen at least N times
(1 unless told). A word is a run of 1 to 12 Hangul syllables,
as make_dictionary.py counts the packages' text. --unique counts each distinct sentence
(line) once: sets that pair one sentence with several others repeat it.

FILE  plain text; or .json: a list of records whose "review", "premise", "hypothesis",
      "sentence1" or "sentence2" fields are counted (the movie reviews' raw/*.json, the
      KLUE sets); or .tsv: the lines "## ID<tab>SENTENCE" of the KLUE sets, with the
      names' marks <text:TAG> reduced to their text, or a table whose first line names
      its columns: the columns "sentence1" and "sentence2" (the KorNLI and KorSTS sets).
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
            first = f.readline()
            header = first.rstrip('\n').split('\t')
            columns = [i for i, name in enumerate(header) if name in FIELDS]
            if columns:
                for line in f:
                    cells = line.rstrip('\n').split('\t')
                    yield from (cells[i] for i in columns if i < len(cells))
                return
            for line in [first, *f]:
                if line.startswith('## ') and '\t' in line:
                    yield MARK.sub(r'\1', line.split('\t', 1)[1])
        else:
            yield from f


def main(args):
    least, unique = 1, False
    while args and args[0] in ('--min', '--unique'):
        if args[0] == '--unique':
            unique, args = True, args[1:]
        elif len(args) >= 2:
            least, args = int(args[1]), args[2:]
        else:
            sys.exit(__doc__)
    if not args or args[0].startswith('--'):
        sys.exit(__doc__)
    words = collections.Counter()
    seen = set()
    for path in args:
        for text in sentences(path):
            text = unicodedata.normalize('NFC', text)
            if unique:
                if text.strip() in seen:
                    continue
                seen.add(text.strip())
            words.update(w for w in WORD.findall(text) if len(w) <= 12)
    for word, n in sorted(words.items(), key=lambda x: (-x[1], x[0])):
        if n >= least:
            sys.stdout.write(f'{word} {n}\n')


if __name__ == '__main__':
    main(sys.argv[1:])
