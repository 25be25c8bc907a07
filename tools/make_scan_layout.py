#!/usr/bin/env python3
"""Writes the layout set "한글 스캔" (키보드/한글 스캔/): a Korean and an English layout made
for single-switch scanning. The files are UTF-8 here; run-keyboard.sh and the release
convert them to CP949.

What a scanning user pays is the highlight's steps. The Korean layout declares a scan
order that follows the Hangul syllable (`ScanOrder`, docs/layouts.md): after each key
the line scan starts on the first line the order names for the place in the syllable
the user is at (word end, after an initial, a vowel or a final), and each
block and key scan starts at its first item, so a key on line L, block b, place k costs
(the rank of L in that place's order, from 0) + (b - 1) + k steps. After a vowel and
after a final the order starts on the line the next letter is likeliest on, as word
prediction has it. The keys are laid out for that:

- Four scan lines, drawn as four bands left to right: the word keys and Space; the
  consonants that most often close a syllable (ㅇ ㄱ ㄹ ㄴ ㅈ ㅁ ㅂ, Shift, ㅍ ㅋ); the
  vowels; the consonants that mostly open one (ㅅ ㄷ ㅎ ㅊ ㅌ). Each band's rows are its
  blocks, and a block's keys are scanned left to right, so the cheap places are the
  top-left corner of a band: a key costs its row plus its column (from 0).
- Which line a key goes to, and the order of the lines for each place, come from the
  keys a user presses and the place each press is made at, recorded from `tessary-cli
  scan-cost` on GIMP's Korean manual (gimp-help-ko) and Debian's FAQ (debian-faq-ko; see
  tools/get-korean-texts.sh) with today's dictionary: a search over the split of the
  letters into lines of one kind (consonants or vowels) and, for each place, the order
  that puts the lines most pressed from there first, minimising the steps of those
  presses (8.9 a word over both texts; three lines, one of each kind, cost about 0.25
  step a word more, a fifth line saved about 0.05). Within a band the more often pressed key takes the cheaper place.
- The seven word keys open the first band, two to a row, in the order word prediction
  fills them, and type a space after the word (`SpaceAfterWord`): after a word key the
  user is at a word end, and Space is needed only after a word typed letter by letter,
  so it takes the band's last place before the editing keys. Measured like the rest,
  on the two texts above and the first halves of debian-history-ko and wesnoth-ko (the
  prediction's development split): Space last saved 0.3 step a word on the
  documentation against Space first (its place when every word needed it), and cost
  nothing on the first halves; Space in the second or third row saved less.
- Backspace, Enter, 한/영 and Tab close the first band; the punctuation, arrows, editing
  keys and digits fill the rest of the other bands.

The English layout has the same keys in the same places: English letters by frequency
(measured on the English half of docs/user-guide.md) on the places of the Korean letters
ranked by theirs, Space where the best word key is, Caps Lock where the Korean Space is,
and Ctrl, Alt, Win and three signs where the other word keys are.
"""
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# Korean letters (their 2-set keys) by how often they were pressed, most often first.
KOREAN_BY_FREQUENCY = 'dlkrfsmthjewaqngpouxvcyzbi'
ENGLISH_BY_FREQUENCY = 'etosainrhldcyufgpwkbmvxzqj'
JAMO = {'q': ('ㅂ', 'ㅃ'), 'w': ('ㅈ', 'ㅉ'), 'e': ('ㄷ', 'ㄸ'), 'r': ('ㄱ', 'ㄲ'), 't': ('ㅅ', 'ㅆ'),
        'y': ('ㅛ',), 'u': ('ㅕ',), 'i': ('ㅑ',), 'o': ('ㅐ', 'ㅒ'), 'p': ('ㅔ', 'ㅖ'), 'a': ('ㅁ',),
        's': ('ㄴ',), 'd': ('ㅇ',), 'f': ('ㄹ',), 'g': ('ㅎ',), 'h': ('ㅗ',), 'j': ('ㅓ',), 'k': ('ㅏ',),
        'l': ('ㅣ',), 'z': ('ㅋ',), 'x': ('ㅌ',), 'c': ('ㅊ',), 'v': ('ㅍ',), 'b': ('ㅠ',), 'n': ('ㅜ',),
        'm': ('ㅡ',)}

# The four bands, one scan line each: rows of keys, each row one scan block, left to right
# in scan order. 'L:x' is the letter key x of the Korean layout, 'W:n' word key n (from 0).
# Line 1: the word keys and Space; line 2: the consonants that most often close a
# syllable (and Shift); line 3: the vowels; line 4: the consonants that mostly open one.
# Within a line a key costs its row plus its place in the row, and the keys go by how
# often they are pressed onto places by that cost (the top-left corner first).
BANDS = [
    [['W:0', 'W:1'],
     ['W:2', 'W:3'],
     ['W:4', 'W:5'],
     ['W:6', 'Space'],
     ['Back', 'Enter'],
     ['Hangul', 'Tab']],
    [['L:d', 'L:r', 'L:w', 'L:q'],
     ['L:f', 'L:s', 'Shift', '.'],
     ['L:a', 'L:v', ',', '?'],
     ['L:z', '!', "'", '"'],
     ['-', '(', ')', ':'],
     [';', '/', '@', '~']],
    [['L:k', 'L:l', 'L:m', 'L:o'],
     ['L:h', 'L:j', 'L:p', 'L:b'],
     ['L:n', 'L:u', 'L:i', 'Left'],
     ['L:y', 'Right', 'Up', 'Down'],
     ['Home', 'End', 'Del', 'Ins'],
     ['PgUp', 'PgDn', 'Esc', '%']],
    [['L:t', 'L:e', 'L:c', '1'],
     ['L:g', 'L:x', '2', '3'],
     ['4', '5', '6', '7'],
     ['8', '9', '0', 'Copy'],
     ['Paste']],
]

# The scan order the Korean layout declares: where the user is in the syllable, and the
# lines the line scan visits first from there. A 0 is the line the next letter is
# likeliest on, of those not yet listed (from the weights of the dictionary's words that
# go on from what was typed, leaving out the words the keys show; where none goes on,
# from those that begin with the last syllable); where nothing tells, the 0s are skipped
# and the lines after them keep their order. At a word end (and
# at the start) the consonants, then the word keys (which show the likely next words);
# after an initial consonant the vowels, then the word keys; after a vowel the likeliest
# line, then the closing consonants (a final, or the next syllable's initial) and the
# word keys, then the likelier of the rest; after a final the likeliest line (a vowel
# when the final likely opens the next syllable, a consonant when it is the next
# initial), then the word keys and Space, then the rest by likelihood. A word key types
# its space, so after it the user is at a word end. Measured on gimp-help-ko, the FAQ
# and the first halves of debian-history-ko and wesnoth-ko (the prediction's development
# split): the likeliest lines, from the words' weights, first after a vowel and after a
# final saved 0.15 to 0.28 step a word against the line most of the twenty candidates go
# on with (the last syllable's words, where no word goes on, 0.01 to 0.03 more); the
# word keys before the closing consonants after a vowel, or after two
# likely lines, and the likeliest line first at a word end (from the table of next words)
# each cost more on three of the four texts.
SCAN_ORDER = {'wordEnd': (2, 4, 1, 3), 'initial': (3, 1, 2, 4), 'vowel': (0, 2, 1, 0, 4, 3),
              'final': (0, 1, 0, 0, 3, 2, 4)}

# Geometry in design units: the built-in layouts' 510 x 155, keys at least as big as theirs
# (24 x 22).
WIDTH, HEIGHT, FONT = 510, 155, 12
ROW_TOP, ROW_STEP, KEY_HEIGHT, GAP = 5, 25, 23, 2
LETTER, WORD = 29, 64
# The first band's keys are as wide as the word keys.
FIRST_BAND_WIDTHS = {'Space': 64, 'Back': 64, 'Enter': 64, 'Hangul': 64, 'Tab': 64}
BAND_LEFT = [2, 136, 262, 388]
BAND_WIDTH = [130, 122, 122, 122]

# Non-letter keys: code, type, stroke, label (Korean layout), colour set.
SPECIAL = {
    'Space': (32, '0', ' ', 'Space', 'function'),
    'Back': (8, '0', '{Bs}', '지움', 'function'),
    'Enter': (13, '0', '{Enter}', 'Enter', 'function'),
    'Shift': (16, 'TK_TOGGLE + TK_CHANGEVIEW', '+', 'Shift', 'function'),
    'Hangul': (21, 'TK_SWITCH', '{Hangul}', '한/영', 'language'),
    'Tab': (9, '0', '{Tab}', 'Tab', 'function'),
    'Left': (37, 'TK_EXTENDED', '{Left}', '◀', 'function'),
    'Right': (39, 'TK_EXTENDED', '{Right}', '▶', 'function'),
    'Up': (38, 'TK_EXTENDED', '{Up}', '▲', 'function'),
    'Down': (40, 'TK_EXTENDED', '{Down}', '▼', 'function'),
    'Del': (46, 'TK_EXTENDED', '{Del}', 'Del', 'function'),
    'Ins': (45, 'TK_EXTENDED', '{Insert}', 'Ins', 'function'),
    'Esc': (27, '0', '{ESC}', 'Esc', 'function'),
    'Home': (36, 'TK_EXTENDED', '{Home}', 'Home', 'function'),
    'End': (35, 'TK_EXTENDED', '{End}', 'End', 'function'),
    'PgUp': (33, 'TK_EXTENDED', '{PgUp}', 'PgUp', 'function'),
    'PgDn': (34, 'TK_EXTENDED', '{PgDn}', 'PgDn', 'function'),
    'Copy': (0, 'TK_MACRO', '^c', '복사', 'macro'),
    'Paste': (0, 'TK_MACRO', '^v', '붙임', 'macro'),
    '.': (190, '0', '.', '.', 'normal'),
    ',': (188, '0', ',', ',', 'normal'),
    '/': (191, '0', '/', '/', 'normal'),
    '-': (189, '0', '-', '-', 'normal'),
    ';': (186, '0', ';', ';', 'normal'),
    "'": (222, '0', "'", "'", 'normal'),
    '?': (0, 'TK_MACRO', '?', '?', 'normal'),
    '!': (0, 'TK_MACRO', '!', '!', 'normal'),
    '"': (0, 'TK_MACRO', '"', '"', 'normal'),
    '(': (0, 'TK_MACRO', '{(}', '(', 'normal'),
    ')': (0, 'TK_MACRO', '{)}', ')', 'normal'),
    ':': (0, 'TK_MACRO', ':', ':', 'normal'),
    '~': (0, 'TK_MACRO', '{~}', '~', 'normal'),
    '@': (0, 'TK_MACRO', '@', '@', 'normal'),
    '%': (0, 'TK_MACRO', '{%}', '%', 'normal'),
    '&': (0, 'TK_MACRO', '&', '&', 'normal'),
    '*': (0, 'TK_MACRO', '*', '*', 'normal'),
    '+': (0, 'TK_MACRO', '{+}', '+', 'normal'),
}
for digit in '0123456789':
    SPECIAL[digit] = (ord(digit), '0', digit, digit, 'normal')
SPECIAL.update({
    'Caps': (20, 'TK_TOGGLE + TK_CHANGEVIEW', '{CapsLock}', 'Caps', 'function'),
    'Ctrl': (17, 'TK_TOGGLE', '^', 'Ctrl', 'function'),
    'Alt': (18, 'TK_TOGGLE', '%', 'Alt', 'function'),
    'Win': (91, 'TK_TOGGLE + TK_EXTENDED', '{LWin}', 'Win', 'function'),
    '=': (187, '0', '=', '=', 'normal'),
    '[': (219, '0', '[', '[', 'normal'),
    ']': (221, '0', ']', ']', 'normal'),
})
# What the English layout, which has no prediction, has on the places of the word keys:
# Space on the cheapest; Caps Lock takes the Korean layout's Space place.
ENGLISH_WORD_PLACES = ['Space', 'Ctrl', 'Alt', 'Win', '=', '[', ']']
ENGLISH_SPACE_PLACE = 'Caps'

COLOURS = '''local normal   = { text = RGB(0, 0, 0), face = RGB(213, 234, 230), border = RGB(102, 102, 204) }
local press    = { text = RGB(102, 102, 204), face = RGB(166, 194, 226), border = RGB(102, 102, 204) }
local function_ = { text = RGB(0, 0, 0), face = RGB(225, 225, 238), border = RGB(102, 102, 204) }
local macroPress = { text = RGB(255, 255, 255), face = RGB(166, 194, 226), border = RGB(102, 102, 204) }
local languagePress = { text = RGB(0, 0, 0), face = RGB(166, 194, 226), border = RGB(102, 102, 204) }
local word     = { text = RGB(0, 0, 0), face = RGB(255, 250, 220), border = RGB(204, 153, 51) }
local wordPress = { text = RGB(204, 153, 51), face = RGB(250, 230, 170), border = RGB(204, 153, 51) }'''
LOOK = {'normal': ('normal', 'press'), 'function': ('function_', 'press'), 'macro': ('function_', 'macroPress'),
        'language': ('function_', 'languagePress'), 'word': ('word', 'wordPress')}


def lua_text(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def key_width(name, band):
    if name.startswith('W:'):
        return WORD
    if band == 0:
        return FIRST_BAND_WIDTHS.get(name, LETTER)
    return LETTER


def places():
    """Every key with its line, block, place in the block and rectangle."""
    keys = []
    for band, rows in enumerate(BANDS):
        for row, names in enumerate(rows):
            widths = [key_width(n, band) for n in names]
            spare = BAND_WIDTH[band] - sum(widths) - GAP * (len(names) - 1)
            assert spare >= 0, (band, row, spare)
            # A row of equal keys fills its band.
            if len(set(widths)) == 1:
                widths = [(BAND_WIDTH[band] - GAP * (len(names) - 1)) / len(names)] * len(names)
            left = BAND_LEFT[band]
            for place, (name, width) in enumerate(zip(names, widths)):
                keys.append({'name': name, 'line': band + 1, 'block': row + 1, 'place': place,
                             'pos': (left, ROW_TOP + row * ROW_STEP, width, KEY_HEIGHT)})
                left += width + GAP
    return keys


def file_order(keys):
    """Word prediction fills the word keys in file order, and a block is scanned in file
    order: the keys before a word key in its block, then the word keys by number, then
    the rest."""
    def rank(k):
        if k['name'].startswith('W:'):
            return (1, int(k['name'][2:]), 0, 0, 0)
        words_in_block = [o['place'] for o in keys if o['line'] == k['line'] and o['block'] == k['block']
                          and o['name'].startswith('W:')]
        before = bool(words_in_block) and k['place'] < min(words_in_block)
        return (0 if before else 2, k['line'], k['block'], k['place'], 0)
    ordered = sorted(keys, key=rank)
    for k in keys:  # each block keeps its left-to-right scan order
        block = [o['place'] for o in ordered if o['line'] == k['line'] and o['block'] == k['block']]
        assert block == sorted(block), k
    return ordered


def number(value):
    return f'{value:g}'


def render(keys, language):
    korean = language == 'korean'
    english_letter = dict(zip(KOREAN_BY_FREQUENCY, ENGLISH_BY_FREQUENCY))
    lines = [
        f'-- 한글 스캔: the {"Korean" if korean else "English"} layout for single-switch scanning.',
        '-- Generated by tools/make_scan_layout.py, which tells how the keys were placed: four',
        '-- scan lines drawn as four bands (the word keys, consonants, vowels, consonants), each row',
        '-- of a band one scan block, the keys pressed most often at the top left of their band.',
        '',
        'Version     = 3.0',
        f'Language    = {"IL_KOREAN" if korean else "IL_ENGLISH"}',
        f'Description = "{"한글 스캔" if korean else "English scanning"}"',
        f'Prediction  = {"true" if korean else "false"}',
        f'Width       = {WIDTH}',
        f'Height      = {HEIGHT}',
        f'FontSize    = {FONT}',
        '',
    ]
    if korean:
        lines += [
            '-- The scan follows the Hangul syllable: for each place in it, the lines scanned first.',
            'ScanOrder   = { ' + ', '.join(f'{place} = {{ {", ".join(map(str, order))} }}'
                                           for place, order in SCAN_ORDER.items()) + ' }',
            '-- A word key types the word and a space: no Space to choose after it.',
            'SpaceAfterWord = true',
            '',
        ]
    lines += [
        COLOURS,
        '',
    ]
    words = 0
    for k in keys:
        name = k['name']
        if name.startswith('L:'):
            letter = name[2:] if korean else english_letter[name[2:]]
            code, type_, stroke, look = ord(letter.upper()), '0', letter, 'normal'
            if korean:
                jamo = JAMO[letter]
                labels = (jamo[0], jamo[-1], jamo[0], jamo[-1])
            else:
                labels = (letter, letter.upper(), letter.upper(), letter)
        elif name.startswith('W:') and korean:
            code, type_, stroke, look, labels = 0, 'TK_STRING', ' ', 'word', (' ',) * 4
            words += 1
        else:
            if name.startswith('W:'):
                name = ENGLISH_WORD_PLACES[int(name[2:])]
            elif name == 'Space' and not korean:
                name = ENGLISH_SPACE_PLACE
            code, type_, stroke, label, look = SPECIAL[name]
            if name == 'Back' and not korean:
                label = 'Bksp'
            labels = (label,) * 4
        normal, press = LOOK[look]
        left, top, width, height = k['pos']
        lines.append(
            f'Key {{ code = {code}, type = {type_}, stroke = {lua_text(stroke)},\n'
            f'      label = {{ ncns = {lua_text(labels[0])}, ncys = {lua_text(labels[1])}, '
            f'ycns = {lua_text(labels[2])}, ycys = {lua_text(labels[3])} }},\n'
            f'      pos = {{ left = {number(left)}, top = {top}, width = {number(width)}, height = {height} }},\n'
            f'      normal = {normal}, press = {press}, scan = {{ line = {k["line"]}, block = {k["block"]} }} }}')
    assert not korean or words == 7
    return '\n'.join(lines) + '\n'


def main():
    keys = file_order(places())
    out = ROOT / '키보드' / '한글 스캔'
    out.mkdir(parents=True, exist_ok=True)
    (out / 'korean.kdf').write_text(render(keys, 'korean'), encoding='utf-8')
    (out / 'english.kdf').write_text(render(keys, 'english'), encoding='utf-8')
    print(out)


if __name__ == '__main__':
    main()
