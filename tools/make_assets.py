#!/usr/bin/env python3
"""Draws the program's icon (resource 5: 32x32 and 16x16, 16 colours) and its keyboard
pointer (resource 117: 32x32 monochrome, hot spot at 6, 2), and synthesises its click
sound (resource 170: a short RIFF WAVE) and its scan tick (resource 171: a shorter, quieter
one), into resources/."""
import math
import struct
import sys
from pathlib import Path

# The 16-colour palette of the icon (B, G, R, 0).
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
           (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
           (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
BLACK, NAVY, GREY, SILVER, WHITE = 0, 4, 8, 7, 15  # indices (BGR order: 4 = dark blue)


def keyboard_icon(size):
    """A key cap grid on a dark blue board; None marks transparent pixels."""
    px = [[None] * size for _ in range(size)]
    top, bottom = size // 4, size - size // 4
    for y in range(top, bottom):
        for x in range(1, size - 1):
            px[y][x] = NAVY
    step = size // 8
    for row in range(3):
        y0 = top + 1 + row * ((bottom - top - 2) // 3)
        for col in range(7 if row < 2 else 1):
            x0 = 2 + col * step if row < 2 else 2 + step
            w = step - 1 if row < 2 else size - 4 - 2 * step
            for y in range(y0, y0 + max(1, (bottom - top - 2) // 3 - 1)):
                for x in range(x0, min(x0 + w, size - 2)):
                    px[y][x] = WHITE if row < 2 else SILVER
    return px


def dib_4bpp(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', r, g, b, 0) for (b, g, r) in
                       [(c[2], c[1], c[0]) for c in PALETTE])
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):
        nibbles = [(c if c is not None else 0) for c in px[y]]
        row = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(row + b'\0' * (-len(row) % 4))
        bits = [1 if c is None else 0 for c in px[y]]
        mask = bytes(sum(bits[i + j] << (7 - j) for j in range(8)) for i in range(0, size, 8))
        and_rows.append(mask + b'\0' * (-len(mask) % 4))
    return header + palette + b''.join(xor_rows) + b''.join(and_rows)


def write_icon(path):
    images = [dib_4bpp(keyboard_icon(32)), dib_4bpp(keyboard_icon(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    path.write_bytes(out + b''.join(images))


ARROW = [
    "X",
    "XX",
    "X.X",
    "X..X",
    "X...X",
    "X....X",
    "X.....X",
    "X......X",
    "X.......X",
    "X........X",
    "X.....XXXXX",
    "X..X..X",
    "X.X X..X",
    "XX  X..X",
    "X    X..X",
    "     X..X",
    "      XX",
]


def write_cursor(path, hot=(6, 2)):
    size = 32
    px = [[None] * size for _ in range(size)]
    for dy, line in enumerate(ARROW):
        for dx, ch in enumerate(line):
            if ch in 'X.':
                px[hot[1] + dy][hot[0] + dx] = 'black' if ch == 'X' else 'white'
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):
        xb = [1 if px[y][x] == 'white' else 0 for x in range(size)]
        ab = [1 if px[y][x] is None else 0 for x in range(size)]
        xor_rows.append(bytes(sum(xb[i + j] << (7 - j) for j in range(8)) for i in range(0, size, 8)))
        and_rows.append(bytes(sum(ab[i + j] << (7 - j) for j in range(8)) for i in range(0, size, 8)))
    data = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    out = struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', size, size, 2, 0, hot[0], hot[1],
                                                      len(data), 22)
    path.write_bytes(out + data)


def write_wave(path, samples, rate):
    """16-bit mono PCM in a RIFF WAVE file."""
    data = struct.pack('<%dh' % len(samples), *samples)
    fmt = struct.pack('<HHIIHH', 1, 1, rate, rate * 2, 2, 16)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', len(data)) + data
    path.write_bytes(b'RIFF' + struct.pack('<I', len(body)) + body)


def write_click(path, rate=22050, frames=512):
    """A key click: a decaying 2.4 kHz burst with a little noise, 16-bit mono PCM
    (1024 data bytes, about 23 ms)."""
    seed = 12345
    samples = []
    for n in range(frames):
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise = (seed / 0x7FFFFFFF) * 2 - 1
        envelope = math.exp(-n / 60.0)
        value = envelope * (0.7 * math.sin(2 * math.pi * 2400 * n / rate) + 0.3 * noise)
        samples.append(int(max(-1.0, min(1.0, value)) * 20000))
    write_wave(path, samples, rate)


def write_tick(path, rate=22050, frames=331):
    """The scan tick: a pure 2 kHz blip, about 15 ms (662 data bytes), that rises in 1 ms
    (no pop at its start) and decays to silence; its peak, near 2400, is an eighth of the
    click's."""
    samples = []
    for n in range(frames):
        envelope = min(1.0, n / 22.0) * math.exp(-n / 50.0)
        value = envelope * math.sin(2 * math.pi * 2000 * n / rate)
        samples.append(int(value * 4000))
    write_wave(path, samples, rate)


if __name__ == '__main__':
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / 'resources')
    write_icon(root / 'tessary.ico')
    write_cursor(root / 'pointer.cur')
    write_click(root / 'click.wav')
    write_tick(root / 'tick.wav')
