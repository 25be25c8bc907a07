#pragma once
// What key activation asks of word prediction.
#include <cstdint>
#include <string>
#include <vector>

#include "keyboard/keyboard_model.h"

namespace tessary {

class Predictor {
 public:
  virtual ~Predictor() = default;
  // The stroke string that types `word` (a word key's label) over what was typed of it
  // so far; empty when there is nothing to type.
  virtual std::string wordStrokes(const std::string& word) = 0;
  // The text of `word` when the keyboard composes and sends it as characters; empty when
  // there is nothing to type.
  virtual std::u16string wordText(const std::string& word) = 0;
  // The strokes of `word` reached the application: it is the word chosen.
  virtual void wordTyped(const std::string& word) = 0;
  // The candidate words after a key (code, with bit value 1 of `shiftState` for Shift),
  // what the word keys show next: empty when there are none, and the keys go blank
  // (after Shift and Ctrl the keys keep what they show).
  virtual std::vector<std::string> onKey(int32_t code, int32_t shiftState) = 0;
  // The chance of each letter key (its code, 'A'..'Z') being the next one typed in the
  // word, after the last onKey: from the words that go on from what was typed, by how
  // often each is written, leaving out the first `shown` candidates (the word keys show
  // them: a user who wanted one of them would choose it); the chances add up to 1.
  // Empty when no word goes on. A scan order may start on the line that likely holds it.
  virtual std::vector<LetterChance> nextLetterChances(size_t /*shown*/) const { return {}; }
  // Whether the word typed so far in full stays a candidate (off: it would type nothing).
  // With word keys that type a space after the word, choosing it ends the word.
  virtual void offerTypedWord(bool) {}
};

// For the tools and tests that need no prediction: no candidates, and word keys type
// nothing.
class NoPredictor final : public Predictor {
 public:
  std::string wordStrokes(const std::string&) override { return {}; }
  std::u16string wordText(const std::string&) override { return {}; }
  void wordTyped(const std::string&) override {}
  std::vector<std::string> onKey(int32_t, int32_t) override { return {}; }
};

}  // namespace tessary
