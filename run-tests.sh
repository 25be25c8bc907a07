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

bash tools/setup.sh || exit 1

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

echo "== native build and unit tests (at ${SECONDS} s)"
if cmake --preset native >/dev/null && cmake --build --preset native -j "$jobs"; then
  ctest --preset native 2>&1 | tee "$logs/unit.log"
  status=${PIPESTATUS[0]}
  summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$logs/unit.log" | tail -n 1)
  failed=$(sed -E 's/.*tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
  all=$(sed -E 's/.*tests failed out of ([0-9]+).*/\1/' <<<"$summary")
  if [ -n "$summary" ]; then
    total_passed=$((total_passed + all - failed)); total_failed=$((total_failed + failed))
  fi
  [ "$status" -eq 0 ] && [ -n "$summary" ] || steps_failed+=("unit tests")
else
  steps_failed+=("native build")
fi

fuzz_seconds=${TESSARY_FUZZ_SECONDS:-20}
if [ "$fuzz_seconds" -gt 0 ]; then
  echo "== fuzzing build and ${fuzz_seconds} s of fuzzing a target (at ${SECONDS} s)"
  if cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$jobs" >"$logs/fuzz-build.log" 2>&1; then
    bash tests/fuzz/run.sh build/fuzz "$fuzz_seconds" 2>&1 | tee "$logs/fuzz.log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || steps_failed+=("fuzzing")
    count "$logs/fuzz.log"
  else
    tail -n 30 "$logs/fuzz-build.log"
    steps_failed+=("fuzzing build")
  fi
fi

built=()
for arch in win64 win32; do
  echo "== $arch build (at ${SECONDS} s)"
  if cmake --preset "$arch" >/dev/null && cmake --build --preset "$arch" -j "$jobs"; then
    built+=("$arch")
  else
    steps_failed+=("$arch build")
  fi
done
# The release archives and installers, which the end-to-end tests unzip, install and start.
if [ ${#built[@]} -eq 2 ]; then
  echo "== release archives and installers (at ${SECONDS} s)"
  bash tools/release.sh || steps_failed+=("release")
fi
for arch in "${built[@]}"; do
  echo "== $arch end-to-end tests (at ${SECONDS} s)"
  bash tests/e2e/run.sh "build/$arch" 2>&1 | tee "$logs/$arch.log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || steps_failed+=("$arch end-to-end tests")
  count "$logs/$arch.log"
done

echo
if [ ${#steps_failed[@]} -eq 0 ]; then
  echo "ALL TESTS PASSED"
else
  echo "FAILED: ${steps_failed[*]}"
fi
grep -h '^e2e [^:]*: skipped: ' "$logs"/*.log 2>/dev/null
if [ "$total_skipped" -gt 0 ]; then
  echo "all: $total_passed passed, $total_failed failed, $total_skipped skipped"
else
  echo "all: $total_passed passed, $total_failed failed"
fi
[ ${#steps_failed[@]} -eq 0 ]
