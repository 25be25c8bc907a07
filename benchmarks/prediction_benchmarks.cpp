// What word prediction costs on the shipped dictionary (build/dictionary/hangul.lex,
// from tools/build-dictionary.sh): loading at start-up, and the candidates of a key.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "fakes.h"
#include "posix/iconv_codec.h"
#include "prediction/hangul.h"
#include "prediction/word_predictor.h"

namespace tessary {
namespace {

class NoStrokes : public StrokeSender {
 public:
  StrokeError SendStrokes(WindowId, std::string_view) override { return kStrokeOk; }
};

const std::string& ShippedDictionary() {
  static const std::string text = [] {
    std::ifstream in(TESSARY_SOURCE_DIR "/build/dictionary/hangul.lex", std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }();
  return text;
}

void BM_LoadDictionaries(benchmark::State& state) {
  testing::FakeFileSystem files;
  files.files["hangul.lex"] = ShippedDictionary();
  if (ShippedDictionary().empty()) state.SkipWithError("build/dictionary/hangul.lex is missing");
  IconvCodec codec;
  NoStrokes strokes;
  for (auto _ : state) {
    WordPredictor predictor(strokes, codec);
    benchmark::DoNotOptimize(predictor.loadDictionaries(files));
  }
}
BENCHMARK(BM_LoadDictionaries)->Unit(benchmark::kMillisecond);

// One letter key after `prefix`: the whole word is composed and searched again.
void OnKey(benchmark::State& state, const char* prefix, int32_t code) {
  testing::FakeFileSystem files;
  files.files["hangul.lex"] = ShippedDictionary();
  IconvCodec codec;
  NoStrokes strokes;
  WordPredictor predictor(strokes, codec);
  if (!predictor.loadDictionaries(files) || ShippedDictionary().empty()) {
    state.SkipWithError("build/dictionary/hangul.lex is missing");
  }
  for (auto _ : state) {
    state.PauseTiming();
    predictor.onKey(' ', 0);
    for (const char* c = prefix; *c != '\0'; ++c) predictor.onKey(*c - 0x20, 0);
    state.ResumeTiming();
    benchmark::DoNotOptimize(predictor.onKey(code, 0));
  }
}
// ㄱ is the biggest bucket: a lone consonant matches every word in it (the worst case).
void BM_OnKeyWorstBucket(benchmark::State& state) { OnKey(state, "", 'R'); }
// 가 after r: a typical second letter.
void BM_OnKeyTypical(benchmark::State& state) { OnKey(state, "r", 'K'); }
BENCHMARK(BM_OnKeyWorstBucket)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnKeyTypical)->Unit(benchmark::kMicrosecond);

void BM_ComposeTwentyLetters(benchmark::State& state) {
  const std::string letters = "dkssudgktpdyqksrkqtmq";  // 20 letters
  for (auto _ : state) benchmark::DoNotOptimize(composeKeyLetters(std::string_view(letters).substr(0, 20)));
}
BENCHMARK(BM_ComposeTwentyLetters);

}  // namespace
}  // namespace tessary
