#!/usr/bin/env python3
"""The text files and the archive of a release (tools/release.sh runs it).

    make_release.py text STAGE VERSION ARCH   read-mes, guides and licences into STAGE
    make_release.py zip STAGE ZIPFILE         STAGE as ZIPFILE, one top folder

Text files get CR LF line ends (Notepad); the Korean ones are UTF-8 with a byte-order
mark, which every Notepad reads. Entries are sorted and dated at the last commit, so the
same tree gives the same archive; names are stored as UTF-8 (the layout folder is
"키보드").
"""
import pathlib
import subprocess
import sys
import time
import zipfile

ROOT = pathlib.Path(__file__).resolve().parent.parent


def windows_text(text, bom=False):
    data = text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")
    return (b"\xef\xbb\xbf" + data) if bom else data


def notices():
    parts = ["Third-party software in Tessary3.exe and tessary-cli.exe", "=" * 56, ""]
    lua = ROOT / "third_party" / "lua5.1" / "COPYRIGHT"
    parts += ["Lua 5.1 (linked into the programs)", "-" * 34, lua.read_text(encoding="latin-1").strip(), ""]
    mingw = pathlib.Path("/usr/share/doc/mingw-w64-common/copyright")
    parts += ["The MinGW-w64 runtime and winpthreads (linked into the programs)", "-" * 64]
    parts += [mingw.read_text(encoding="utf-8").strip() if mingw.exists()
              else "See https://www.mingw-w64.org/ for the licences of the MinGW-w64 runtime."]
    parts += ["", "The GCC runtime libraries are linked under the GCC Runtime Library Exception.", ""]
    return "\n".join(parts)


def text(stage, version, arch):
    stage = pathlib.Path(stage)
    bits = "32" if arch == "win32" else "64"
    for source, target, bom in [("README-ko.txt", "읽어보기.txt", True), ("README-en.txt", "README.txt", False)]:
        body = (ROOT / "docs" / "release" / source).read_text(encoding="utf-8")
        body = body.replace("@VERSION@", version).replace("@BITS@", bits)
        (stage / target).write_bytes(windows_text(body, bom))
    for guide in ["user-guide.md", "layouts.md"]:
        (stage / "docs" / guide).write_bytes(windows_text((ROOT / "docs" / guide).read_text(encoding="utf-8"), True))
    (stage / "LICENSE.txt").write_bytes(windows_text((ROOT / "LICENSE").read_text(encoding="utf-8")))
    (stage / "THIRD-PARTY-NOTICES.txt").write_bytes(windows_text(notices()))
    notice = stage / "hangul.lex.NOTICE.md"
    notice.write_bytes(windows_text(notice.read_text(encoding="utf-8"), True))


def archive(stage, zipfile_path):
    stage = pathlib.Path(stage)
    try:
        stamp = int(subprocess.run(["git", "-C", str(ROOT), "log", "-1", "--format=%ct"], check=True,
                                   capture_output=True, text=True).stdout.strip())
    except (subprocess.CalledProcessError, ValueError, FileNotFoundError):
        stamp = int(time.time())
    date = time.gmtime(stamp)[:6]
    with zipfile.ZipFile(zipfile_path, "w", zipfile.ZIP_DEFLATED) as z:
        for path in sorted(stage.rglob("*")):
            name = f"{stage.name}/{path.relative_to(stage).as_posix()}"
            if path.is_dir():
                name += "/"
            info = zipfile.ZipInfo(name, date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = (0o40755 << 16 | 0x10) if path.is_dir() else (0o100644 << 16)
            z.writestr(info, b"" if path.is_dir() else path.read_bytes())


def main(argv):
    if len(argv) == 5 and argv[1] == "text":
        text(argv[2], argv[3], argv[4])
    elif len(argv) == 4 and argv[1] == "zip":
        archive(argv[2], argv[3])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
