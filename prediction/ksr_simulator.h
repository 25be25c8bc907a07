#pragma once
// The keystroke-saving rate of word prediction, measured by a simulated user: each Hangul
// word of a text is typed letter by letter on the 2-set keys and chosen on a word key as
// soon as it is among the first word keys' candidates; one space follows each word.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessary {

class WordPredictor;
class TextCodec;

struct KsrResult {
  size_t words = 0;
  size_t letters = 0;     // what typing everything takes: the words' letters and the spaces
  size_t keystrokes = 0;  // what it took: letters, word keys and spaces
  size_t chosen = 0;      // words taken from a word key
  double Rate() const { return letters == 0 ? 0.0 : 100.0 * (1.0 - double(keystrokes) / double(letters)); }
};

// `predictor` must have been built on a stroke sender that accepts every stroke string.
KsrResult SimulateTyping(WordPredictor& predictor, const TextCodec& codec, std::u16string_view text,
                         size_t wordKeys = 7);

}  // namespace tessary
