#!/usr/bin/env python3
"""The dictionary maker's stems and endings, and the entries it drops, on a small text."""
import importlib.util
import io
import os
import pathlib
import sys
import tempfile

loader = importlib.util.spec_from_file_location('make_dictionary', pathlib.Path(sys.argv[1]) / 'tools' / 'make_dictionary.py')
md = importlib.util.module_from_spec(loader)
loader.loader.exec_module(md)


def words(lex):
    out = {}
    for line in lex.read_bytes().splitlines():
        jamo, weight = line.rsplit(b' ', 1)
        jamo = jamo[::-1]
        out[''.join(chr(0xAC00 + (jamo[i] - 0x82) * 588 + (jamo[i + 1] - 0x96) * 28 + jamo[i + 2] - 0xB3)
                    for i in range(0, len(jamo), 3))] = int(weight)
    return out


with tempfile.TemporaryDirectory() as d:
    d = pathlib.Path(d)
    text = ('학교를 ' * 30 + '학교에서 ' * 10 + '친구를 ' * 20 + '친구가 ' * 20 + '사과는 ' * 5 + '사과가 ' * 5 +
            '수 있습니다 ' * 25 + '지원하는 ' * 6 + '지원했다 ' * 4 + '설치하는 ' * 6 + '설치했다 ' * 3 + '복사하는 ' * 8)
    (d / 'corpus-ko').mkdir()
    (d / 'corpus-ko' / 'page.html').write_text(text, encoding='utf-8')
    (d / 'ko.dic').write_text('7\n학교\n친구\n사과\n나무\n지원\n설치\n복사\n', encoding='utf-8')
    (d / 'ocr.txt').write_text('안녕하세요안녕하세요\n뷁궯\n', encoding='utf-8')
    (d / 'frequencywords-ko.txt').write_text('안녕 100\n', encoding='utf-8')
    (d / 'nsmc-reviews.txt').write_text('재밌다 40\n', encoding='utf-8')
    sys.stdout = open(os.devnull, 'w')
    md.VERB_STEMS = 2  # an ending that follows two stems is a verb ending here
    lists = [str(d / 'frequencywords-ko.txt'), str(d / 'nsmc-reviews.txt')]
    md.main(str(d / 'out.lex'), str(d / 'ko.dic'), str(d / 'ocr.txt'), *lists, str(d / 'corpus-ko'))
    md.MAX_WORDS = 5
    md.main(str(d / 'capped.lex'), str(d / 'ko.dic'), str(d / 'ocr.txt'), *lists, str(d / 'corpus-ko'))
    sys.stdout = sys.__stdout__
    w = words(d / 'out.lex')
    capped = words(d / 'capped.lex')
    failures = []

    def check(what, ok):
        print(('ok   ' if ok else 'FAIL ') + what)
        if not ok:
            failures.append(what)

    # 학교 was counted with 를 and 에서 only; vowel-final stems take 가 (친구가, 사과가).
    check('학교가 is offered though never counted', '학교가' in w)
    check('학교가 weighs less than the counted 학교를', w.get('학교가', 0) < w['학교를'])
    check('and more than a word only a list knows', w.get('학교가', 0) > w['나무'])
    check('a stem without a final takes no particle made for one (학교은, 학교을)', '학교은' not in w and '학교을' not in w)
    # 복사 was counted as 복사하는 only; 했다 follows two stems of 하다 verbs (지원, 설치).
    check('a verb stem takes a verb ending never counted with it (복사했다)', '복사했다' in w)
    check('a noun never seen as a verb takes none (학교했다)', '학교했다' not in w)
    check('the subtitles count: 안녕 weighs more than a word only a list knows', w.get('안녕', 0) > w['나무'])
    check('each counted list counts: the reviews\' 재밌다 is offered', w.get('재밌다', 0) > w['나무'])
    check('a capped dictionary keeps its heaviest words',
          sorted(capped.items()) == sorted(sorted(w.items(), key=lambda x: (-x[1], x[0]))[:5]))
    check('a doubled word is dropped', '안녕하세요안녕하세요' not in w)
    check('an OCR-only word of rare syllables is dropped', '뷁궯' not in w)
    nexts = (d / 'out.next').read_bytes().splitlines()
    check('the next-word table has 수 -> 있습니다',
          any(line.startswith(md.jamo_code('수') + b' ' + md.jamo_code('있습니다') + b' ') for line in nexts))
    # The list maker: a table naming its columns gives its sentences, and --unique counts a
    # premise that stands beside several hypotheses once.
    cw_loader = importlib.util.spec_from_file_location('count_words', pathlib.Path(sys.argv[1]) / 'tools' / 'count_words.py')
    cw = importlib.util.module_from_spec(cw_loader)
    cw_loader.loader.exec_module(cw)
    (d / 'nli.tsv').write_text('sentence1\tsentence2\tgold_label\n비가 온다\t우산을 쓴다\tneutral\n'
                               '비가 온다\t해가 난다\tcontradiction\n', encoding='utf-8')
    listed = io.StringIO()
    sys.stdout = listed
    cw.main(['--unique', str(d / 'nli.tsv')])
    sys.stdout = sys.__stdout__
    check('a repeated sentence is counted once, the label never',
          listed.getvalue().split('\n')[:5] == ['난다 1', '비가 1', '쓴다 1', '온다 1', '우산을 1'])
    print(f'{len(failures)} failed')
    sys.exit(1 if failures else 0)
