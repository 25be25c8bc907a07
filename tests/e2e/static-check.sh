#!/usr/bin/env bash
# Static checks of a Windows build's deliverables, for machines where they cannot run:
# the PE machine type of Tessary3.exe, tyhook.dll and tessary-cli.exe, the hook's
# CbtProc export, and that every DLL they import is a system DLL or one shipped beside
# them. Usage: tests/e2e/static-check.sh DIR 32|64 (DIR holds the three files).
# Prints one line a check and "static DIR: N passed, N failed"; exit 1 when any failed.
set -uo pipefail
dir=${1:?usage: static-check.sh DIR 32|64}
bits=${2:?usage: static-check.sh DIR 32|64}
case $bits in
  32) machine=i386; objdump=i686-w64-mingw32-objdump ;;
  64) machine=x86-64; objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "static-check: 32 or 64, not $bits" >&2; exit 2 ;;
esac
command -v "$objdump" >/dev/null || { echo "static-check: $objdump is missing (tools/setup.sh installs it)" >&2; exit 2; }
# What Windows itself provides (lower case); everything else must be in DIR.
system="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll comdlg32.dll comctl32.dll
  winmm.dll msvcrt.dll ole32.dll oleaut32.dll imm32.dll shlwapi.dll version.dll ntdll.dll
  uxtheme.dll msimg32.dll ws2_32.dll"
passed=0 failed=0
result() {  # OK WHAT
  if [ "$1" = 0 ]; then passed=$((passed + 1)); echo "  ok   $2"; else failed=$((failed + 1)); echo "  FAIL $2"; fi
}
for f in Tessary3.exe tyhook.dll tessary-cli.exe; do
  if [ ! -f "$dir/$f" ]; then result 1 "$f is there"; continue; fi
  format=$("$objdump" -f "$dir/$f" 2>/dev/null | sed -n 's/.*file format //p')
  [ "$format" = "pei-$machine" ]; result $? "$f is a $bits-bit program (pei-$machine; found ${format:-nothing})"
  bad=
  for dll in $("$objdump" -p "$dir/$f" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]'); do
    case " $(tr '\n' ' ' <<<"$system") " in *" $dll "*) continue ;; esac
    [[ $dll == api-ms-win-* ]] && continue
    ls "$dir" | tr '[:upper:]' '[:lower:]' | grep -x "$dll" >/dev/null || bad+=" $dll"
  done
  [ -z "$bad" ]; result $? "$f imports only system DLLs and shipped ones${bad:+ (missing:$bad)}"
done
if [ -f "$dir/tyhook.dll" ]; then
  # grep reads the whole listing: with -q it would stop at the match, and objdump, cut
  # off, would fail the pipeline now and then (pipefail).
  "$objdump" -p "$dir/tyhook.dll" | grep -E '^\s*\[\s*[0-9]+\]\s+(_)?CbtProc(@[0-9]+)?$' >/dev/null
  result $? "tyhook.dll exports CbtProc"
fi
echo "static $(basename "$dir"): $passed passed, $failed failed"
[ "$failed" -eq 0 ]
