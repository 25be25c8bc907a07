#include "cli/scan_cost.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "config/settings.h"
#include "input/key_activation.h"
#include "input/scan.h"
#include "keyboard/key_drawing.h"
#include "keyboard/keyboard_model.h"
#include "layout/layout_loader.h"
#include "platform/key_codes.h"
#include "platform/text_codec.h"
#include "prediction/hangul.h"
#include "prediction/predictor.h"

namespace tessary {

namespace {

// More highlight steps than any reachable key needs: two passes over every level of a
// keyboard of a few hundred keys.
constexpr size_t kStepsPerKeyLimit = 4000;

// A keyboard window that shows nothing.
class UnseenWindow final : public KeyboardSurface {
 public:
  void InvalidateKeyboard() override {}
  void DrawDirect(const std::function<void(Canvas&)>&) override {}
  void PlayClickSound() override {}
  void PlayTickSound() override {}
};

// The scan timer, ticked by the simulated clock.
class HandTimer final : public ScanTimer {
 public:
  void Start(uint32_t, uint32_t gen) override {
    running = true;
    generation = gen;
  }
  void Stop() override { running = false; }
  bool running = false;
  uint32_t generation = 0;
};

class AcceptingStrokes final : public StrokeSender {
 public:
  StrokeError SendStrokes(WindowId, std::string_view) override { return kStrokeOk; }
};

// The keys the highlight shows now: a line, a block or one key; none in idle.
std::vector<int> Highlighted(const ScanState* state) {
  if (const auto* line = dynamic_cast<const LineScan*>(state)) return line->shown;
  if (const auto* block = dynamic_cast<const BlockScan*>(state)) return block->shown;
  if (const auto* key = dynamic_cast<const KeyScan*>(state)) {
    const int32_t at = key->nextKey - 2;
    if (at >= 0 && at < static_cast<int32_t>(key->keys.size())) return {key->keys[static_cast<size_t>(at)]};
  }
  return {};
}

class SwitchUser {
 public:
  SwitchUser(Keyboard& keyboard, LayoutEnvironment& env, Predictor& predictor, const TextCodec& codec,
             ScanCostResult& result, int32_t mode)
      : keyboard_(keyboard),
        codec_(codec),
        result_(result),
        activator_(keyboard, strokes_, predictor, env),
        drawing_(keyboard, settings_),
        scan_(window_, keyboard, drawing_, settings_, timer_, [this](WindowId window, int index) {
          activated_ = true;
          activator_.ActivateKey(window, index);
        }) {
    settings_.useClickSound = false;
    settings_.scanMode = mode;
    scan_.StartScan(0, static_cast<uint32_t>(settings_.scanDelay));
  }

  // Types one word and the Space after it (a word key may type it); false when a key
  // could not be reached.
  bool TypeWord(std::u16string_view word) {
    const std::string label = narrowKorean(codec_, word);
    const std::string letters = syllablesToKeyLetters(word);
    for (size_t typed = 0;; ++typed) {
      if (ShowsWord(label)) {
        if (!ShiftUp() || !Choose([&](const KeyDef& k) { return k.Has(TK_STRING) && k.Label(keyboard_.view) == label; },
                                  label)) {
          return false;
        }
        ++result_.wordKeys;
        if (keyboard_.spaceAfterWord) return true;  // the word key typed the space
        break;
      }
      if (typed == letters.size()) break;
      if (!TypeLetter(letters[typed])) return false;
    }
    return ShiftUp() && Choose([](const KeyDef& k) { return k.code == kSpaceKey && !k.Has(TK_STRING); }, "Space");
  }

 private:
  bool ShowsWord(const std::string& label) const {
    return std::any_of(keyboard_.keys.begin(), keyboard_.keys.end(),
                       [&](const KeyDef& k) { return k.Has(TK_STRING) && k.Label(keyboard_.view) == label; });
  }

  // A 2-set letter: capital for the shifted jamo. Shift matters only on the keys that
  // have a doubled or other shifted jamo.
  bool TypeLetter(char letter) {
    const bool shifted = letter >= 'A' && letter <= 'Z';
    const int32_t code = shifted ? letter : letter - 'a' + 'A';
    if (std::strchr("QWERTOP", code) != nullptr && ((keyboard_.view & 1) != 0) != shifted && !PressShift()) {
      return false;
    }
    return Choose([code](const KeyDef& k) { return k.code == code && !k.Has(TK_STRING) && !k.Has(TK_MACRO); },
                  std::string(1, letter));
  }

  bool PressShift() {
    return Choose([](const KeyDef& k) { return k.code == kShiftKey; }, "Shift");
  }
  // A latched Shift would hold the system's Shift down over what a word key or Space types.
  bool ShiftUp() { return (keyboard_.view & 1) == 0 || PressShift(); }

  // Waits for the highlight to hold a wanted key at each level and presses; true once a
  // wanted key is activated.
  bool Choose(const std::function<bool(const KeyDef&)>& wanted, const std::string& what) {
    const auto isWanted = [&](int k) {
      return k >= 0 && static_cast<size_t>(k) < keyboard_.keys.size() && wanted(keyboard_.keys[static_cast<size_t>(k)]);
    };
    size_t steps = 0;
    held_ = false;
    for (size_t idlePresses = 0; steps < kStepsPerKeyLimit && idlePresses < 2;) {
      const ScanState* state = scan_.state();
      if (state == nullptr) break;
      const bool idle = dynamic_cast<const ScanIdle*>(state) != nullptr;
      const std::vector<int> shown = Highlighted(state);
      const bool choose = idle || std::any_of(shown.begin(), shown.end(), isWanted);
      activated_ = false;
      if (choose) {
        idlePresses += idle ? 1 : 0;
        if (scan_.mode() == SCAN_STEP) {
          Signal(2, false);
        } else if (scan_.mode() == SCAN_HOLD) {
          if (!held_) Signal(1, false);  // a tap, or from idle the press that starts
          if (!(idle && !held_)) Signal(1, true);
        } else {
          Signal(1, false);
        }
        if (activated_) {
          ++result_.activations;
          result_.steps += steps;
          return true;
        }
        continue;
      }
      idlePresses = 0;
      ++steps;
      if (scan_.mode() == SCAN_STEP) {
        Signal(1, false);
        continue;
      }
      if (scan_.mode() == SCAN_HOLD && !held_) Signal(1, false);
      if (!timer_.running) break;
      scan_.OnTimerTick(timer_.generation);
    }
    result_.unreachable = what;
    return false;
  }

  // A switch going down (a press, counted) or up.
  void Signal(int which, bool released) {
    if (!released) ++result_.presses;
    if (which == 1) held_ = !released;
    scan_.OnSwitchSignal(which, released);
  }

  Keyboard& keyboard_;
  const TextCodec& codec_;
  ScanCostResult& result_;
  Settings settings_;
  AcceptingStrokes strokes_;
  KeyActivator activator_;
  KeyDrawing drawing_;
  UnseenWindow window_;
  HandTimer timer_;
  ScanController scan_;
  bool activated_ = false;
  bool held_ = false;  // hold mode: the switch is down
};

}  // namespace

ScanCostResult MeasureScanCost(Keyboard& keyboard, LayoutEnvironment& env, Predictor& predictor,
                               const TextCodec& codec, std::u16string_view text, int32_t scanMode) {
  ScanCostResult result;
  result.mode = scanMode;
  SwitchUser user(keyboard, env, predictor, codec, result, scanMode);
  for (const std::u16string_view word : hangulWords(text)) {
    if (!user.TypeWord(word)) break;
    ++result.words;
  }
  return result;
}

}  // namespace tessary
