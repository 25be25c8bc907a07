#!/usr/bin/env python3
"""The text files and the archive of a release (tools/release.sh runs it).

    make_release.py text STAGE VERSION ARCH   read-mes, guides and licences into STAGE
    make_release.py zip STAGE ZIPFILE         STAGE as ZIPFILE, one top folder
    make_release.py nsis STAGE NSHFILE        STAGE's files as installer macros (tools/installer.nsi)

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

# The user's own files in the program's folder. The installer never overwrites them
# (an empty user.lex comes with the release) and the uninstaller removes them only when
# the user agrees. The learned words are kept in a file of their own beside user.lex;
# its name is here and nowhere else in the installer.
USER_FILES = ["Tessary.cfg", "user.lex", "learned.lex"]


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


def nsis_path(text):
    return text.replace("$", "$$").replace('"', '$\\"')


def installer_lists(stage, nsh):
    """Two macros for the installer: InstallProgramFiles (every staged file; the user's
    files only where none is there yet) and RemoveProgramFiles (the program's files and
    then its folders, deepest first, each only when empty: what the user put into them
    stays)."""
    stage = pathlib.Path(stage).resolve()
    files = sorted(p for p in stage.rglob("*") if p.is_file())
    folders = sorted({f for p in files for f in p.relative_to(stage).parents} - {pathlib.Path(".")},
                     key=lambda p: (-len(p.parts), p.as_posix()))
    out = ["; Made by tools/make_release.py from the release's folder; do not edit.",
           f"!define PROGRAM_SIZE_KB {sum(p.stat().st_size for p in files) // 1024 + 1}",
           "!macro InstallProgramFiles"]
    current = None
    for path in files:
        relative = path.relative_to(stage)
        folder = "$INSTDIR" + "".join("\\" + nsis_path(part) for part in relative.parent.parts)
        if folder != current:
            out.append(f'  SetOutPath "{folder}"')
            current = folder
        if relative.as_posix() in USER_FILES:
            out += ["  SetOverwrite off", f'  File "{nsis_path(str(path))}"', "  SetOverwrite on"]
        else:
            out.append(f'  File "{nsis_path(str(path))}"')
    out += ['  SetOutPath "$INSTDIR"', "!macroend", "!macro RemoveProgramFiles"]
    for path in files:
        relative = path.relative_to(stage)
        if relative.as_posix() not in USER_FILES:
            out.append(f'  Delete "$INSTDIR\\{nsis_path(str(relative).replace("/", chr(92)))}"')
    for folder in folders:
        out.append(f'  RMDir "$INSTDIR\\{nsis_path(str(folder).replace("/", chr(92)))}"')
    out.append("!macroend")
    # UTF-8 with a byte-order mark: makensis reads it as UTF-8 (the layout folder is Korean).
    pathlib.Path(nsh).write_bytes(b"\xef\xbb\xbf" + ("\n".join(out) + "\n").encode("utf-8"))


def main(argv):
    if len(argv) == 5 and argv[1] == "text":
        text(argv[2], argv[3], argv[4])
    elif len(argv) == 4 and argv[1] == "zip":
        archive(argv[2], argv[3])
    elif len(argv) == 4 and argv[1] == "nsis":
        installer_lists(argv[2], argv[3])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
