#!/usr/bin/env bash
# Runs the fuzzing targets of a fuzz build for a bounded time each.
#
#   bash tests/fuzz/run.sh BUILD_DIR [SECONDS] [TARGET...]
#
# SECONDS (default 20) is the time of each target; TARGET is one of strokes, layout,
# settings, dictionary, hangul (default all). Each target starts from the seeds in
# tests/fuzz/corpus/<target> and the found inputs in tests/fuzz/regressions/<target>,
# and keeps what it learns in BUILD_DIR/corpus/<target> for the next run. A finding is
# minimised into BUILD_DIR/findings/; keep it as a regression input (the unit tests
# replay that folder) once it is fixed.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: run.sh BUILD_DIR [SECONDS] [TARGET...]}
build=$(cd "$build" && pwd)
seconds=${2:-20}
shift $(( $# >= 2 ? 2 : 1 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(strokes layout settings dictionary hangul)

passed=0
failed=0
mkdir -p "$build/findings" "$build/logs"
for t in "${targets[@]}"; do
  exe="$build/tests/fuzz/fuzz_$t"
  if [ ! -x "$exe" ]; then
    echo "fuzz $t: FAILED (no $exe)"
    failed=$((failed + 1))
    continue
  fi
  work="$build/corpus/$t"
  mkdir -p "$work"
  dirs=("$work" "$root/tests/fuzz/corpus/$t")
  [ -d "$root/tests/fuzz/regressions/$t" ] && dirs+=("$root/tests/fuzz/regressions/$t")
  log="$build/logs/$t.log"
  # What the targets write goes to the log with the fuzzer's own report.
  (cd "$build/findings" && "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$t-" "${dirs[@]}") >"$log" 2>&1
  status=$?
  cov=$(grep -aoE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
  runs=$(grep -aoE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
  size=$(find "$work" -type f | wc -l)
  if [ "$status" -eq 0 ]; then
    echo "fuzz $t: passed, ${seconds} s, ${runs:-?} runs, corpus $size inputs, coverage ${cov:-?} edges"
    passed=$((passed + 1))
  else
    echo "fuzz $t: FAILED (status $status), log $log"
    grep -aE 'property failed|ERROR:|SUMMARY:|Test unit written' "$log" | head -n 8 | sed 's/^/  /'
    artifact=$(grep -aoE 'Test unit written to [^ ]+' "$log" | tail -n 1 | sed 's/Test unit written to //')
    if [ -n "$artifact" ] && [ -f "$artifact" ]; then
      minimised="$build/findings/$t-minimised-$(basename "$artifact")"
      (cd "$build/findings" && "$exe" -minimize_crash=1 -max_total_time=60 \
          -exact_artifact_path="$minimised" "$artifact") >"$build/logs/$t-minimise.log" 2>&1
      [ -f "$minimised" ] || minimised=$artifact
      echo "  finding: $minimised"
      echo "  once fixed, keep it: cp '$minimised' tests/fuzz/regressions/$t/"
    fi
    failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
