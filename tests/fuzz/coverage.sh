#!/usr/bin/env bash
# The line coverage of the fuzzing corpora: builds the targets once more with coverage
# recording (in build/fuzz-coverage), replays each target's corpus without fuzzing, and
# prints llvm-cov's line coverage of the sources that target is about.
#
#   bash tests/fuzz/coverage.sh CORPUS_ROOT     (CORPUS_ROOT/<target>, e.g. build/fuzz/corpus)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus=$(cd "${1:?usage: coverage.sh CORPUS_ROOT}" && pwd)
build="$root/build/fuzz-coverage"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DTESSARY_TESTS=OFF -DTESSARY_FUZZ=ON -DTESSARY_FUZZ_COVERAGE=ON >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" >/dev/null

declare -A sources=(
  [strokes]="input/stroke_parser.cpp input/stroke_playback.cpp input/stroke_player.cpp"
  [layout]="layout/layout_loader.cpp script/script_state.cpp script/script_sandbox.cpp keyboard/keyboard_model.cpp input/key_activation.cpp"
  [settings]="config/settings.cpp script/script_state.cpp"
  [dictionary]="prediction/word_predictor.cpp prediction/top_weight_heap.cpp prediction/hangul.cpp"
  [hangul]="prediction/hangul.cpp posix/iconv_codec.cpp"
)
for t in strokes layout settings dictionary hangul; do
  [ -d "$corpus/$t" ] || continue
  exe="$build/tests/fuzz/fuzz_$t"
  rm -f "$build/$t".prof*
  LLVM_PROFILE_FILE="$build/$t.profraw" "$exe" -runs=0 "$corpus/$t" >/dev/null 2>&1 || true
  llvm-profdata-14 merge -sparse "$build/$t.profraw" -o "$build/$t.profdata"
  files=()
  for f in ${sources[$t]}; do files+=("$root/$f"); done
  echo "== $t ($(find "$corpus/$t" -type f | wc -l) inputs)"
  llvm-cov-14 report "$exe" -instr-profile="$build/$t.profdata" "${files[@]}" | awk 'NR == 1 || /\.cpp/ || /^TOTAL/' \
    | awk '{ printf "  %-40s lines %6s of %6s covered (%s)\n", $1, $8 - $9, $8, $10 }' | sed 1d
done
