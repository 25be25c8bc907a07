#!/usr/bin/env bash
# Builds the two Windows releases from the tree:
#   build/release/Tessary3-<version>-win32.zip         (32-bit Windows, and 32-bit programs)
#   build/release/Tessary3-<version>-win64.zip         (64-bit Windows and 64-bit programs)
#   build/release/Tessary3-<version>-win32-setup.exe   the same as installers (NSIS,
#   build/release/Tessary3-<version>-win64-setup.exe   tools/installer.nsi)
# Each zip unzips to one folder that runs as it is: the program, its hook library, the
# layout checker, the dictionaries, the shipped layout sets, read-mes, guides, licences;
# each installer installs that folder, with shortcuts and an uninstaller.
# Installs what is missing first (needs root then).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc 2>/dev/null || echo 2)

[ -n "${TESSARY_SETUP_DONE:-}" ] || bash tools/setup.sh
version=$(sed -n 's/^project(Tessary3 VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out="$root/build/release"
mkdir -p "$out"

for arch in win32 win64; do
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" -j "$jobs"
  name="Tessary3-$version-$arch"
  stage="$out/stage/$name"
  rm -rf "$stage"
  mkdir -p "$stage/docs"
  cp "build/$arch/win32/Tessary3.exe" "build/$arch/win32/tessary-cli.exe" "build/$arch/hooklib/tyhook.dll" "$stage/"
  cp data/hangul.lex data/hangul.next "$stage/"
  cp data/README.md "$stage/hangul.lex.NOTICE.md"
  : >"$stage/user.lex"   # the user's own words, one a line, in CP949
  bash tools/install-layouts.sh "$stage"
  python3 tools/make_release.py text "$stage" "$version" "$arch"
  python3 tools/make_release.py zip "$stage" "$out/$name.zip"
  echo "release: $out/$name.zip"
  python3 tools/make_release.py nsis "$stage" "$out/stage/$name-files.nsh"
  makensis -V2 -DVERSION="$version" -DARCH="$arch" -DFILES="$out/stage/$name-files.nsh" \
    -DOUTFILE="$out/$name-setup.exe" "$root/tools/installer.nsi"
  echo "release: $out/$name-setup.exe"
done
