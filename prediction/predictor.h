#pragma once
// What key activation asks of word prediction.
#include <cstdint>
#include <string>
#include <vector>

#include "input/key_output.h"

namespace tessary {

class Predictor {
 public:
  virtual ~Predictor() = default;
  // Types `text` (a word key's label) into the focused application; false when there
  // was nothing to type or the strokes were refused.
  virtual bool typeText(WindowId window, const std::string& text) = 0;
  // The candidate words after a key (code, with bit value 1 of `shiftState` for Shift);
  // empty when there are none.
  virtual std::vector<std::string> onKey(int32_t code, int32_t shiftState) = 0;
};

// For the tools and tests that need no prediction: no candidates, and word keys type
// nothing.
class NoPredictor final : public Predictor {
 public:
  bool typeText(WindowId, const std::string&) override { return false; }
  std::vector<std::string> onKey(int32_t, int32_t) override { return {}; }
};

}  // namespace tessary
