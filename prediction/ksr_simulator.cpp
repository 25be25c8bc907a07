#include "prediction/ksr_simulator.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/key_codes.h"
#include "prediction/hangul.h"
#include "prediction/word_predictor.h"

namespace tessary {

namespace {

constexpr int32_t kWordKeyCode = 0;   // a word key's code: not a letter, so it ends the word

}  // namespace

KsrResult SimulateTyping(WordPredictor& predictor, const TextCodec& codec, std::u16string_view text,
                         size_t wordKeys) {
  KsrResult result;
  std::vector<std::string> shown;  // what the word keys show: the last list, also an empty one
  auto onScreen = [&](const std::string& word) {
    const size_t n = std::min(wordKeys, shown.size());
    return std::find(shown.begin(), shown.begin() + static_cast<ptrdiff_t>(n), word) != shown.begin() + static_cast<ptrdiff_t>(n);
  };
  for (const std::u16string_view word : hangulWords(text)) {
    const std::string target = narrowKorean(codec, word);
    const std::string letters = syllablesToKeyLetters(word);
    ++result.words;
    result.letters += letters.size() + 1;
    size_t typed = 0;
    bool chosen = false;
    while (true) {
      if (onScreen(target)) {
        if (!predictor.wordStrokes(target).empty()) predictor.wordTyped(target);
        shown = predictor.onKey(kWordKeyCode, 0);
        chosen = true;
        break;
      }
      if (typed == letters.size()) break;
      const char letter = letters[typed++];
      const bool capital = letter >= 'A' && letter <= 'Z';
      const int32_t code = capital ? letter : letter - 0x20;
      shown = predictor.onKey(code, capital ? 1 : 0);
    }
    result.keystrokes += typed + (chosen ? 1 : 0) + 1;
    if (chosen) ++result.chosen;
    shown = predictor.onKey(kSpaceKey, 0);
  }
  return result;
}

}  // namespace tessary
