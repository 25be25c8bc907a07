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
  // Types `text` (a word key's label) into the focused application.
  virtual void typeText(WindowId window, const std::string& text) = 0;
  // The candidate words after a key (code, with bit value 1 of `shiftState` for Shift);
  // empty when there are none.
  virtual std::vector<std::string> onKey(int32_t code, int32_t shiftState) = 0;
};

// Until the dictionaries and the predictor arrive: no candidates, and word keys type
// nothing.
class NoPredictor final : public Predictor {
 public:
  void typeText(WindowId, const std::string&) override {}
  std::vector<std::string> onKey(int32_t, int32_t) override { return {}; }
};

}  // namespace tessary
