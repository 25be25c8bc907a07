#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (with AddressSanitizer
# and UndefinedBehaviorSanitizer), a bounded run of every fuzzing target
# (TESSARY_FUZZ_SECONDS a target, default 20; 0 skips the stage), then the end-to-end
# tests of the 64-bit and the 32-bit Windows builds and of their release archives and installers
# (tools/release.sh) under Wine. On a machine that cannot execute 32-bit programs the
# 32-bit build is still built and checked statically, and its cases under Wine are
# reported as skipped, with the reason. Installs what is missing first (needs root then).
set -uo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

if ! bash tools/setup.sh; then
  echo "FAILED: the set-up (tools/setup.sh, see above), so nothing was built or tested"
  echo "all: 0 passed, 1 failed"
  exit 1
fi
export TESSARY_SETUP_DONE=1   # the scripts below need not run it again

total_passed=0
total_failed=0
total_skipped=0
steps_failed=()
count() {  # LOG: adds the counts of its closing line to the totals
  local line p f
  line=$(grep -E '^(e2e [^:]*: )?[0-9]+ passed, [0-9]+ failed' "$1" | tail -n 1)
  if [ -n "$line" ]; then
    p=$(sed -E 's/^(e2e [^:]*: )?([0-9]+) passed.*/\2/' <<<"$line")
    f=$(sed -E 's/.*passed, ([0-9]+) failed.*/\1/' <<<"$line")
    total_passed=$((total_passed + p)); total_failed=$((total_failed + f))
    if grep -qE ', [0-9]+ skipped' <<<"$line"; then
      total_skipped=$((total_skipped + $(sed -E 's/.*, ([0-9]+) skipped.*/\1/' <<<"$line")))
    fi
  fi
}
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
not_run=()
stage_failed() {  # NAME [LOG]: a stage that could not run counts as one failure, with its first error
  steps_failed+=("$1")
  total_failed=$((total_failed + 1))
  if [ -n "${2:-}" ] && [ -f "$2" ]; then
    local first
    first=$(grep -m 1 -E '(error|Error|ERROR)[: ]' "$2" || tail -n 1 "$2")
    echo "FAILED: $1: ${first:-no output}" >&2
  else
    echo "FAILED: $1" >&2
  fi
}
build() {  # NAME PRESET: configures and builds a preset, its output in a log; shows the end on failure
  if cmake --preset "$2" >"$logs/$2-build.log" 2>&1 && cmake --build --preset "$2" -j "$jobs" >>"$logs/$2-build.log" 2>&1; then
    return 0
  fi
  tail -n 40 "$logs/$2-build.log"
  stage_failed "$1" "$logs/$2-build.log"
  return 1
}

echo "== native build and unit tests (at ${SECONDS} s)"
if build "native build (so no unit test ran)" native; then
  ctest --preset native 2>&1 | tee "$logs/unit.log"
  status=${PIPESTATUS[0]}
  summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$logs/unit.log" | tail -n 1)
  failed=$(sed -E 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
  all=$(sed -E 's/.*tests failed out of ([0-9]+).*/\1/' <<<"$summary")
  if [ -n "$summary" ]; then
    total_passed=$((total_passed + all - failed)); total_failed=$((total_failed + failed))
    [ "$status" -eq 0 ] || steps_failed+=("unit tests")
  else
    stage_failed "unit tests (ctest gave no summary)" "$logs/unit.log"
  fi
fi

fuzz_seconds=${TESSARY_FUZZ_SECONDS:-20}
if [ "$fuzz_seconds" -gt 0 ]; then
  echo "== fuzzing build and ${fuzz_seconds} s of fuzzing a target (at ${SECONDS} s)"
  if build "fuzzing build (so no fuzzing target ran)" fuzz; then
    bash tests/fuzz/run.sh build/fuzz "$fuzz_seconds" 2>&1 | tee "$logs/fuzz.log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || steps_failed+=("fuzzing")
    grep -qE '^[0-9]+ passed, [0-9]+ failed' "$logs/fuzz.log" || stage_failed "fuzzing (no closing line)"
    count "$logs/fuzz.log"
  fi
else
  not_run+=("fuzzing (TESSARY_FUZZ_SECONDS=0)")
fi

built=()
for arch in win64 win32; do
  echo "== $arch build (at ${SECONDS} s)"
  build "$arch build (so none of its end-to-end tests ran)" "$arch" && built+=("$arch")
done
# The release archives and installers, which the end-to-end tests unzip, install and start.
if [ ${#built[@]} -eq 2 ]; then
  echo "== release archives and installers (at ${SECONDS} s)"
  bash tools/release.sh >"$logs/release.log" 2>&1 || { tail -n 30 "$logs/release.log"; stage_failed "release" "$logs/release.log"; }
fi
for arch in "${built[@]}"; do
  echo "== $arch end-to-end tests (at ${SECONDS} s)"
  bash tests/e2e/run.sh "build/$arch" 2>&1 | tee "$logs/$arch.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || steps_failed+=("$arch end-to-end tests")
  grep -qE '^e2e [^:]*: [0-9]+ passed, [0-9]+ failed' "$logs/$arch.log" || stage_failed "$arch end-to-end tests (no closing line)"
  count "$logs/$arch.log"
done

echo
green='' red='' plain=''
if [ -t 1 ]; then green=$'\e[32m' red=$'\e[31m' plain=$'\e[0m'; fi
grep -h '^e2e [^:]*: skipped: ' "$logs"/*.log 2>/dev/null
[ ${#not_run[@]} -eq 0 ] || echo "not run, as asked: ${not_run[*]}"
line="all: $total_passed passed, $total_failed failed"
[ "$total_skipped" -gt 0 ] && line="$line, $total_skipped skipped"
if [ ${#steps_failed[@]} -eq 0 ] && [ "$total_failed" -eq 0 ]; then
  echo "${green}ALL TESTS PASSED${plain}"
  echo "$line"
  exit 0
fi
echo "${red}FAILED: ${steps_failed[*]:-failed tests}${plain}"
echo "$line"
exit 1
