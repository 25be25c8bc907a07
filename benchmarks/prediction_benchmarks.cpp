// What word prediction costs on the shipped dictionary (data/hangul.lex and hangul.next,
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

std::string ReadShipped(const char* name) {
  std::ifstream in(std::string(TESSARY_SOURCE_DIR "/data/") + name, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}
const std::string& ShippedDictionary() {
  static const std::string text = ReadShipped("hangul.lex");
  return text;
}
// The system dictionary and its table of next words, as the keyboard finds them.
void ShipTo(testing::FakeFileSystem& files) {
  static const std::string next = ReadShipped("hangul.next");
  files.files["hangul.lex"] = ShippedDictionary();
  files.files["hangul.next"] = next;
}

void BM_LoadDictionaries(benchmark::State& state) {
  testing::FakeFileSystem files;
  ShipTo(files);
  if (ShippedDictionary().empty()) state.SkipWithError("data/hangul.lex is missing");
  IconvCodec codec;
  for (auto _ : state) {
    WordPredictor predictor(codec);
    benchmark::DoNotOptimize(predictor.loadDictionaries(files));
  }
  // What the loaded dictionary holds in memory: the entries, and the words too long for
  // the strings' own buffer.
  WordPredictor predictor(codec);
  predictor.loadDictionaries(files);
  double bytes = 0, words = 0;
  for (const auto& bucket : predictor.systemBuckets()) {
    bytes += static_cast<double>(bucket.capacity() * sizeof(DictEntry));
    for (const DictEntry& e : bucket) {
      if (e.jamo.capacity() > 15) bytes += static_cast<double>(e.jamo.capacity() + 1);
    }
    words += static_cast<double>(bucket.size());
  }
  state.counters["words"] = words;
  state.counters["MiB"] = bytes / (1024 * 1024);
}
BENCHMARK(BM_LoadDictionaries)->Unit(benchmark::kMillisecond);

// The key letter of the biggest bucket's initial consonant.
char BiggestBucketLetter(const WordPredictor& predictor) {
  size_t biggest = 0;
  for (size_t i = 1; i < kInitialConsonants; ++i) {
    if (predictor.systemBuckets()[i].size() > predictor.systemBuckets()[biggest].size()) biggest = i;
  }
  return jamoToKeyLetters(static_cast<uint8_t>(JAMO_INITIAL_BASE + biggest))[0];
}

// A predictor with the shipped dictionary; the benchmark is skipped without it.
struct ShippedPredictor {
  explicit ShippedPredictor(benchmark::State& state) {
    ShipTo(files);
    loaded = predictor.loadDictionaries(files) && !ShippedDictionary().empty();
    if (!loaded) state.SkipWithError("data/hangul.lex is missing");
  }
  testing::FakeFileSystem files;
  IconvCodec codec;
  WordPredictor predictor{codec};
  bool loaded = false;
};

// One letter key after `prefix` (a "*" stands for the biggest bucket's letter): the whole
// word is composed and searched again. With `learnt` words learnt first (learning on).
void OnKey(benchmark::State& state, const char* prefix, char last, int learnt = 0) {
  ShippedPredictor shipped(state);
  if (!shipped.loaded) return;
  WordPredictor& predictor = shipped.predictor;
  const char star = BiggestBucketLetter(predictor);
  auto press = [&predictor, star](char c) {
    if (c == '*') c = star;
    return predictor.onKey(c >= 'a' ? c - 0x20 : c, c >= 'a' ? 0 : 1);
  };
  if (learnt > 0) {
    // Words of the biggest bucket: its first syllable and a second one.
    predictor.setLearning(true);
    const std::string letters = "rkskekfkakqktkdkwkckzkxkvkgk";  // 가 나 다 ... 하
    for (int i = 0; i < learnt; ++i) {
      predictor.onKey(' ', 0);
      press('*');
      press('k');
      press(letters[static_cast<size_t>(2 * (i % 14))]);
      press('k');
      press("aeiouy"[i / 14 % 6]);
      for (int n = i / 84; n > 0; n /= 14) press(letters[static_cast<size_t>(2 * (n % 14))]), press('l');
    }
  }
  for (auto _ : state) {
    state.PauseTiming();
    predictor.onKey(' ', 0);
    for (const char* c = prefix; *c != '\0'; ++c) press(*c);
    state.ResumeTiming();
    benchmark::DoNotOptimize(press(last));
  }
}
// The biggest bucket: a lone consonant matches every word in it (the worst case).
void BM_OnKeyWorstBucket(benchmark::State& state) { OnKey(state, "", '*'); }
// 가 after r: a typical second letter.
void BM_OnKeyTypical(benchmark::State& state) { OnKey(state, "r", 'k'); }
// Two consonants of the biggest bucket: the search by initials over all of it.
void BM_OnKeyInitials(benchmark::State& state) { OnKey(state, "*", '*'); }
// A word the dictionary lacks, in the biggest bucket (아르케이니 with ㅇ): the whole bucket
// is scanned, and the keys left blank are filled with the endings' forms.
void BM_OnKeyUnknownWord(benchmark::State& state) { OnKey(state, "*kfmzpdls", 'l'); }
// The worst case again with 10,000 words learnt in that bucket.
void BM_OnKeyWorstBucketLearning(benchmark::State& state) { OnKey(state, "", '*', 10000); }
BENCHMARK(BM_OnKeyWorstBucket)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnKeyTypical)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnKeyInitials)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnKeyWorstBucketLearning)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnKeyUnknownWord)->Unit(benchmark::kMicrosecond);

// The next letter's chances for a scan order that follows them, after `prefix` in the
// biggest bucket: its commonest first syllable (the heaviest words tell it), and a word
// it lacks (every word of the bucket is looked at).
void NextLetterChances(benchmark::State& state, const char* prefix) {
  ShippedPredictor shipped(state);
  if (!shipped.loaded) return;
  WordPredictor& predictor = shipped.predictor;
  const char star = BiggestBucketLetter(predictor);
  for (const char* c = prefix; *c != '\0'; ++c) {
    const char letter = *c == '*' ? star : *c;
    predictor.onKey(letter - 0x20, 0);
  }
  for (auto _ : state) benchmark::DoNotOptimize(predictor.nextLetterChances(7));
}
void BM_NextLetterChancesCommon(benchmark::State& state) { NextLetterChances(state, "*k"); }
void BM_NextLetterChancesUnknownWord(benchmark::State& state) { NextLetterChances(state, "*kfmzpdl"); }
BENCHMARK(BM_NextLetterChancesCommon)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NextLetterChancesUnknownWord)->Unit(benchmark::kMicrosecond);

void BM_ComposeTwentyLetters(benchmark::State& state) {
  const std::string letters = "dkssudgktpdyqksrkqtmq";  // 20 letters
  for (auto _ : state) benchmark::DoNotOptimize(composeKeyLetters(std::string_view(letters).substr(0, 20)));
}
BENCHMARK(BM_ComposeTwentyLetters);

}  // namespace
}  // namespace tessary
