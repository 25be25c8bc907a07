#!/usr/bin/env python3
"""Writes the seed inputs of the fuzzing targets into tests/fuzz/corpus/<target>/.

The seeds are the program's own data: the stroke strings of the shipped layouts, the
layouts themselves (in CP949, as the program reads them), the configuration file the
program writes, a slice of the shipped dictionary and some Korean text. Run it again
after the shipped layouts or the dictionary change:

    python3 tools/make_fuzz_seeds.py [--dictionary data/hangul.lex]
"""
import argparse
import hashlib
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "tests" / "fuzz" / "corpus"


def write(target, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / hashlib.sha1(data).hexdigest()[:16]).write_bytes(data)


def layouts():
    files = sorted((ROOT / "layout").glob("builtin_*.kdf")) + sorted((ROOT / "키보드").glob("*/*.kdf"))
    return [f.read_text(encoding="utf-8") for f in files]


def dictionary_input(keys, user, system):
    return bytes([len(keys)]) + keys + len(user).to_bytes(2, "little") + user + system


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dictionary", default=str(ROOT / "build" / "dictionary" / "hangul.lex"))
    parser.add_argument("--cli", default=str(ROOT / "build" / "native" / "tessary-cli"))
    args = parser.parse_args()
    for old in CORPUS.glob("*/*"):
        old.unlink()

    strokes = set()
    for text in layouts():
        write("layout", text.encode("cp949"))
        strokes.update(m.group(1) for m in re.finditer(r'stroke\s*=\s*"((?:[^"\\]|\\.)*)"', text))
    strokes.update(["^c", "%{F4}", "{Left 3}", "+(ab)c", "{QUEUESYNC}", "{BREAK}", "{}} 2", "~", "+", ""])
    for s in sorted(strokes):
        write("strokes", s.encode("cp949"))

    # The configuration as the program writes it: the defaults (what it writes when
    # there is no file), and the same with many values changed, read and written again.
    source = ROOT / "build" / "fuzz-seed.cfg"
    source.unlink(missing_ok=True)
    defaults = subprocess.run([args.cli, "config", str(source)], check=True, capture_output=True).stdout
    write("settings", defaults)
    changes = {"left": "-5", "width": "900", "usePrediction": "true", "opacity": "300",
               "transparencyDelay": "2.5", "inputMode": "IM_SCAN", "imeDetectMethod": "IDM_IMG",
               "scanDelay": "700", "bgndColor": "RGB(1, 2, 3)", "kbdName": '"단어예측"',
               "lfFaceName": '"돋움"', "lfHeight": "-14"}
    text = defaults.decode("cp949")
    for name, value in changes.items():
        text = re.sub(r"^(%s\s*=\s*)[^-\n]*" % name, lambda m: m.group(1) + value, text, flags=re.M)
    source.write_bytes(text.encode("cp949"))
    written = subprocess.run([args.cli, "config", str(source)], check=True, capture_output=True).stdout
    source.unlink()
    write("settings", written)

    system = pathlib.Path(args.dictionary).read_bytes()
    lines = system.split(b"\n")
    head = b"\n".join(lines[:40]) + b"\n"
    middle = b"\n".join(lines[len(lines) // 2:len(lines) // 2 + 40]) + b"\n"
    user = "가나다\n같이\n{+}더하기\n".encode("cp949")
    write("dictionary", dictionary_input(b"rk", b"", head))
    write("dictionary", dictionary_input(b"rkxdl", user, middle))
    write("dictionary", dictionary_input(b"dkssud ", user, head))
    write("dictionary", dictionary_input(b"", b"", b""))

    for text in ["안녕하세요", "같이 가요!", "ㄱㄴㄷ abc %+^{}~", "한글 키보드"]:
        write("hangul", text.encode("cp949"))
        write("hangul", text.encode("utf-16-le"))
    write("hangul", b"dkssudgktpdy")
    write("hangul", head[:60])
    return 0


if __name__ == "__main__":
    sys.exit(main())
