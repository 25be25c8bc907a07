// The two dictionaries, as any bytes, followed by some typing on the keyboard.
//
// Input: one byte n (taken modulo 32; its bit 0x20 turns word learning on), n key bytes (the low seven bits are the key code,
// the high bit holds Shift), two bytes of little-endian length L, L bytes of user.lex
// (no user.lex when the input ends before its length), and the rest is hangul.lex.
#include "fakes.h"
#include "fuzz_targets.h"
#include "posix/iconv_codec.h"
#include "prediction/hangul.h"
#include "prediction/word_predictor.h"

namespace tessary::fuzz {

void FuzzDictionary(std::string_view data) {
  size_t at = 0;
  const size_t keyCount = data.empty() ? 0 : static_cast<uint8_t>(data[at++]) % 32;
  const std::string_view keys = data.substr(at, std::min(keyCount, data.size() - at));
  at += keys.size();
  testing::FakeFileSystem files;
  if (at + 2 <= data.size()) {
    const size_t userLength = static_cast<uint8_t>(data[at]) | (static_cast<uint8_t>(data[at + 1]) << 8);
    at += 2;
    const std::string_view user = data.substr(at, std::min(userLength, data.size() - at));
    at += user.size();
    files.files[kUserDictionaryName] = std::string(user);
  }
  files.files[kSystemDictionaryName] = std::string(data.substr(at));

  IconvCodec codec;
  WordPredictor predictor(codec);
  FUZZ_CHECK(predictor.loadDictionaries(files));
  predictor.setLearning(!data.empty() && (static_cast<uint8_t>(data[0]) & 0x20) != 0);
  for (const DictBuckets* buckets : {&predictor.systemBuckets(), &predictor.userBuckets()}) {
    for (size_t b = 0; b < buckets->size(); ++b) {
      for (const DictEntry& entry : (*buckets)[b]) {
        FUZZ_CHECK(!entry.jamo.empty() && static_cast<uint8_t>(entry.jamo[0]) == JAMO_INITIAL_BASE + b);
      }
    }
  }

  for (char key : keys) {
    const int32_t code = static_cast<uint8_t>(key) & 0x7F;
    const int32_t shift = (static_cast<uint8_t>(key) & 0x80) != 0 ? 1 : 0;
    const std::vector<std::string> candidates = predictor.onKey(code, shift);
    FUZZ_CHECK(candidates.size() <= 20);
    const bool letter = code >= 'A' && code <= 'Z';  // only the letter keys' codes
    if (!letter && code != 0x10 && code != 0x11) FUZZ_CHECK(predictor.typedLetters().empty());
    if (!candidates.empty()) {
      // The first word key is chosen, as key activation does it; what it types is a
      // well-formed stroke string.
      const std::string strokes = predictor.wordStrokes(candidates.front());
      if (!strokes.empty()) {
        CheckStrokeString(strokes);
        predictor.wordTyped(candidates.front());
      }
    }
  }
}

}  // namespace tessary::fuzz
