#include "input/scan.h"

#include <algorithm>

#include "config/settings.h"
#include "keyboard/key_drawing.h"
#include "keyboard/keyboard_model.h"
#include "platform/key_codes.h"
#include "prediction/hangul.h"

namespace tessary {

// ---------------------------------------------------------------- states

namespace {

bool LeavesPlace(const KeyDef& key) {
  switch (key.code) {
    case kShiftKey: case kCtrlKey: case kAltKey: case kLeftWinKey: case kRightWinKey:
    case kCapsLockKey: case kNumLockKey: case kScrollLockKey: case kBackspaceKey:
      return true;
    default:
      return false;
  }
}

}  // namespace

SyllablePlace NextSyllablePlace(SyllablePlace place, const Keyboard& keyboard, int key) {
  if (key < 0 || static_cast<size_t>(key) >= keyboard.keys.size()) return place;
  const KeyDef& k = keyboard.keys[static_cast<size_t>(key)];
  if (k.Has(TK_STRING)) return keyboard.spaceAfterWord ? kAtWordEnd : kAfterWordKey;
  if (LeavesPlace(k)) return place;
  const bool letter = keyboard.language == IL_KOREAN && !k.Has(TK_MACRO) && k.code >= 'A' && k.code <= 'Z';
  if (!letter) return kAtWordEnd;
  if (isVowelLetter(twoSetLetter(k.code, 0))) return kAfterVowel;
  return place == kAfterVowel ? kAfterFinal : kAfterInitial;
}

void ScanIdle::Switch(ScanController& controller, WindowId) { controller.SetScanState(controller.NewLineScan(0, false)); }

LineScan::LineScan(const Keyboard& keyboard, int32_t startLine, std::vector<int32_t> order) {
  if (order.empty()) {
    for (int32_t n = 1; !keyboard.KeysInScanLine(n).empty(); ++n) order.push_back(n);
  }
  for (int32_t line : order) lines.push_back(keyboard.KeysInScanLine(line));
  lineNumbers = std::move(order);
  lineCount = static_cast<int32_t>(lines.size());
  const auto at = std::find(lineNumbers.begin(), lineNumbers.end(), startLine);
  nextLine = at == lineNumbers.end() ? lineCount + 1 : static_cast<int32_t>(at - lineNumbers.begin()) + 1;
}

void LineScan::Exit(ScanController& controller) { controller.Unhighlight(shown); }

void LineScan::Switch(ScanController& controller, WindowId) {
  if (nextLine < 2 || nextLine - 2 >= lineCount) return;  // nothing shown
  controller.SetScanState(std::make_unique<BlockScan>(lineNumbers[static_cast<size_t>(nextLine - 2)] + 1, 1));
}

void LineScan::Tick(ScanController& controller) {
  if (lineCount == 0) {
    // No scan line 1: nothing to show.
    controller.SetScanState(std::make_unique<ScanIdle>());
    return;
  }
  if (nextLine > lineCount || nextLine < 1) {
    if (++passes >= controller.passLimit()) {
      controller.SetScanState(std::make_unique<ScanIdle>());
      return;
    }
    nextLine = 1;
  }
  controller.Unhighlight(shown);
  shown = lines[static_cast<size_t>(nextLine - 1)];
  controller.Highlight(shown);
  ++nextLine;
}

void BlockScan::Exit(ScanController& controller) { controller.Unhighlight(shown); }

void BlockScan::Switch(ScanController& controller, WindowId) {
  controller.SetScanState(std::make_unique<KeyScan>(line, nextBlock));
}

void BlockScan::Tick(ScanController& controller) {
  controller.Unhighlight(shown);
  shown.clear();
  std::vector<int> v = controller.keyboard().KeysInScanBlock(line - 1, nextBlock);
  if (v.empty()) {
    if (++passes >= controller.passLimit()) {
      controller.SetScanState(controller.NewLineScan(line - 1, true));
      return;
    }
    nextBlock = 1;
    v = controller.keyboard().KeysInScanBlock(line - 1, 1);
    if (v.empty()) {
      // The line's blocks do not start at 1: nothing to show.
      controller.SetScanState(std::make_unique<ScanIdle>());
      return;
    }
  }
  controller.Highlight(v);
  shown = std::move(v);
  ++nextBlock;
}

void KeyScan::Enter(ScanController& controller) { keys = controller.keyboard().KeysInScanBlock(line - 1, block - 1); }

void KeyScan::Exit(ScanController& controller) { controller.Unhighlight(keys); }

void KeyScan::Tick(ScanController& controller) {
  if (keys.empty()) {
    // An empty block: no key to show.
    controller.SetScanState(std::make_unique<ScanIdle>());
    return;
  }
  controller.Unhighlight(keys);
  if (nextKey > static_cast<int32_t>(keys.size())) {
    if (++passes >= controller.passLimit()) {
      controller.SetScanState(std::make_unique<BlockScan>(line, block));
      return;
    }
    nextKey = 1;
  }
  controller.Highlight({keys[static_cast<size_t>(nextKey - 1)]});
  ++nextKey;
}

void KeyScan::Switch(ScanController& controller, WindowId window) {
  if (nextKey < 2 || nextKey - 2 >= static_cast<int32_t>(keys.size())) return;  // nothing shown
  const int k = keys[static_cast<size_t>(nextKey - 2)];
  const int32_t code = controller.keyboard().KeyCode(k);
  // Un-highlighted before the activation, which may rebuild the keys (a language key):
  // afterwards no index of this block may stay among the highlighted ones, or every
  // repaint would draw it again.
  controller.Unhighlight(keys);
  controller.ActivateScanned(window, k);
  keys.clear();
  if (IsLanguageKey(code)) {
    // The language keys rebuild the keyboard: start over.
    controller.SetScanState(std::make_unique<ScanIdle>());
  } else {
    controller.SetScanState(controller.NewLineScan(line - 1, false));
  }
}

// ---------------------------------------------------------------- controller

ScanController::~ScanController() { StopTimer(); }

template <typename Operation>
void ScanController::RunStateOperation(Operation&& operation) {
  if (!state_) return;
  inOperation_ = true;
  operation(*state_);
  inOperation_ = false;
  while (pending_) Apply(std::move(pending_));
}

void ScanController::Apply(std::unique_ptr<ScanState> state) {
  StopTimer();
  if (state_) state_->Exit(*this);
  state_ = std::move(state);
  inOperation_ = true;
  state_->Enter(*this);
  state_->Tick(*this);  // the first step shows at once
  inOperation_ = false;
  atFirstItem_ = true;
  // A tick that replaced its state leaves the replacement pending: that one starts the timer.
  if (!pending_ && TimerWanted()) StartTimer();
}

bool ScanController::TimerWanted() const {
  if (dynamic_cast<const ScanIdle*>(state_.get()) != nullptr) return false;
  if (mode_ == SCAN_STEP) return false;
  if (mode_ == SCAN_HOLD) return held_;
  return true;
}

void ScanController::StartTimer() {
  StopTimer();
  longFirstPeriod_ = atFirstItem_ && firstDelay_ > 0;
  timerRunning_ = true;
  timer_.Start(delay_ + (longFirstPeriod_ ? firstDelay_ : 0), ++generation_);
}

void ScanController::SetScanState(std::unique_ptr<ScanState> state) {
  if (!state) return;
  if (inOperation_) {
    pending_ = std::move(state);
    return;
  }
  Apply(std::move(state));
  while (pending_) Apply(std::move(pending_));
}

void ScanController::StopTimer() {
  if (timerRunning_) {
    timer_.Stop();
    timerRunning_ = false;
  }
  longFirstPeriod_ = false;
  ++generation_;  // whatever the stopped timer still delivers is stale
}

void ScanController::ClearState() {
  if (state_) {
    state_->Exit(*this);
    state_.reset();
  }
  pending_.reset();
}

void ScanController::StartScan(WindowId window, uint32_t delayMs) {
  ClearState();
  highlighted_.clear();
  StopTimer();
  window_ = window;
  delay_ = delayMs;
  mode_ = settings_.scanMode == SCAN_STEP || settings_.scanMode == SCAN_HOLD ? settings_.scanMode : SCAN_AUTO;
  firstDelay_ = static_cast<uint32_t>(std::clamp(settings_.scanFirstDelay, 0, kScanFirstDelayMax));
  passLimit_ = std::clamp(settings_.scanMaxLoop, 1, kScanLoopLimitMax);
  held_ = false;
  atFirstItem_ = false;
  place_ = kAtWordEnd;
  state_ = std::make_unique<ScanIdle>();
}

void ScanController::StopScan() {
  ClearState();
  StopTimer();
  held_ = false;
}

void ScanController::Choose() {
  RunStateOperation([this](ScanState& state) { state.Switch(*this, window_); });
}

void ScanController::Step() {
  atFirstItem_ = false;
  const uint32_t before = highlights_;
  RunStateOperation([this](ScanState& state) { state.Tick(*this); });
  // A step that ended the scan (its passes done) moved nothing: no tick.
  if (settings_.useScanTick && highlights_ != before) host_.PlayTickSound();
}

void ScanController::OnSwitchSignal(int which, bool released) {
  if (!state_) return;
  const bool idle = dynamic_cast<const ScanIdle*>(state_.get()) != nullptr;
  switch (mode_) {
    case SCAN_STEP:
      // Either switch wakes an idle scan; then the first steps and the second chooses.
      if (released) return;
      if (idle || which != 1) {
        Choose();
      } else {
        Step();
      }
      return;
    case SCAN_HOLD:
      if (which != 1) return;
      if (!released) {
        if (held_) return;
        held_ = true;
        if (idle) {
          Choose();  // the line scan begins, and moves while the switch is held
        } else {
          StartTimer();
        }
      } else if (held_) {
        held_ = false;
        StopTimer();
        Choose();
      }
      return;
    default:
      if (!released) Choose();
      return;
  }
}

void ScanController::OnTimerTick(uint32_t generation) {
  if (!timerRunning_ || generation != generation_) return;
  const bool restartAfterPause = longFirstPeriod_;
  Step();
  // The pause was for the first item only: the next steps come at the scan delay.
  if (restartAfterPause && timerRunning_ && generation == generation_) StartTimer();
}

void ScanController::DrawHighlight(Canvas& window) {
  for (int k : highlighted_) drawing_.DrawKeyHover(window, k);
}

void ScanController::Highlight(const std::vector<int>& keys) {
  highlighted_.insert(highlighted_.end(), keys.begin(), keys.end());
  if (keys.empty()) return;
  ++highlights_;
  host_.DrawDirect([this, &keys](Canvas& canvas) {
    for (int k : keys) drawing_.DrawKeyHover(canvas, k);
  });
}

void ScanController::Unhighlight(const std::vector<int>& keys) {
  std::erase_if(highlighted_, [&keys](int k) { return std::find(keys.begin(), keys.end(), k) != keys.end(); });
  if (keys.empty()) return;
  host_.DrawDirect([this, &keys](Canvas& canvas) {
    for (int k : keys) drawing_.DrawKeyNormal(canvas, k);
  });
}

std::unique_ptr<LineScan> ScanController::NewLineScan(int32_t chosenLine, bool resume) const {
  std::vector<int32_t> order = keyboard_.ScanLineOrder(place_);
  if (order.empty()) {
    return std::make_unique<LineScan>(keyboard_, chosenLine == 0 ? 1 : chosenLine + (resume ? 1 : 0));
  }
  int32_t start = order.front();
  if (resume) {
    const auto at = std::find(order.begin(), order.end(), chosenLine);
    start = at != order.end() && at + 1 != order.end() ? *(at + 1) : 0;  // past the last: the pass ends
  }
  return std::make_unique<LineScan>(keyboard_, start, std::move(order));
}

void ScanController::ActivateScanned(WindowId window, int keyIndex) {
  // Before the activation, which may rebuild the keys.
  place_ = NextSyllablePlace(place_, keyboard_, keyIndex);
  const bool valid = keyIndex >= 0 && static_cast<size_t>(keyIndex) < keyboard_.keys.size();
  const int32_t code = valid ? keyboard_.KeyCode(keyIndex) : 0;
  if (code == kShiftKey) shiftKey_ = keyIndex;
  activate_(window, keyIndex);
  // With Shift release on, a latched Shift applies to one character here as under the
  // pointer: the character costs the user no second choice of Shift.
  if (settings_.useShiftRelease && IsCharacterKey(code) && (keyboard_.view & 1) != 0) {
    const int shift = keyboard_.LatchedShiftKey(shiftKey_);
    if (shift != kNoKey) activate_(window, shift);
  }
  host_.InvalidateKeyboard();
  if (settings_.useClickSound) host_.PlayClickSound();
}

}  // namespace tessary
