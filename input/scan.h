#pragma once
// Switch scanning: a highlight steps over the scan lines, then the blocks of the chosen
// line, then the keys of the chosen block; each choice narrows it, and the choice during
// the key step activates the highlighted key. The same levels serve every scan mode
// (`scanMode`): automatic (the highlight steps on a timer, a press chooses), step (each
// press of the first switch moves it one step, the second switch chooses; no timer) and
// hold (it steps on the timer while the switch is held, the release chooses).
//
// Everything here runs on the user-interface thread. The platform's periodic timer only
// posts its ticks to the keyboard window, each carrying the generation of the timer
// that sent it; a tick of a timer that has since been stopped or replaced is ignored.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "config/settings.h"
#include "keyboard/canvas.h"
#include "keyboard/keyboard_model.h"
#include "platform/key_output.h"

namespace tessary {

class KeyDrawing;

// Passes over a level before the scan goes back up one; `scanMaxLoop` sets it.
inline constexpr int SCAN_LOOP_LIMIT = 2;
inline constexpr int32_t kScanLoopLimitMax = 10;

// The periodic scan timer. Each tick must reach ScanController::OnTimerTick with
// `generation`, on the user-interface thread.
class ScanTimer {
 public:
  virtual ~ScanTimer() = default;
  virtual void Start(uint32_t periodMs, uint32_t generation) = 0;
  virtual void Stop() = 0;
};

// The scan controller as the keyboard window drives it.
class ScanControl {
 public:
  virtual ~ScanControl() = default;
  virtual void StartScan(WindowId window, uint32_t delayMs) = 0;
  virtual void StopScan() = 0;
  // A switch went down or up: `which` 1 the first switch, 2 the second.
  virtual void OnSwitchSignal(int which, bool released) = 0;
  // Draws the keys now highlighted again, after a full repaint covered them.
  virtual void DrawHighlight(Canvas& window) = 0;
};

class ScanController;

class ScanState {
 public:
  virtual ~ScanState() = default;
  virtual void Enter(ScanController& controller) = 0;
  virtual void Exit(ScanController& controller) = 0;
  virtual void Switch(ScanController& controller, WindowId window) = 0;
  virtual void Tick(ScanController& controller) = 0;
};

class ScanIdle final : public ScanState {
 public:
  void Enter(ScanController&) override {}
  void Exit(ScanController&) override {}
  void Switch(ScanController& controller, WindowId window) override;
  void Tick(ScanController&) override {}
};

// Where the user is in the syllable after choosing `key` of `keyboard` at `place`: a
// consonant of the Korean layout after a vowel is a final, any other one an initial; a
// vowel is a vowel; a word key, Space, Enter and every other key that types ends the
// word; Shift, Ctrl, Alt, Win, the locks and Backspace leave the place as it was.
SyllablePlace NextSyllablePlace(SyllablePlace place, const Keyboard& keyboard, int key);

class LineScan final : public ScanState {
 public:
  // Starts on `startLine`; the lines follow `order` (the scan lines by number when it is
  // empty). A start line not in the order ends the pass at once.
  LineScan(const Keyboard& keyboard, int32_t startLine, std::vector<int32_t> order = {});
  void Enter(ScanController&) override {}
  void Exit(ScanController& controller) override;
  void Switch(ScanController& controller, WindowId window) override;
  void Tick(ScanController& controller) override;

  std::vector<std::vector<int>> lines;  // in the order visited
  std::vector<int32_t> lineNumbers;     // the scan line of each
  int32_t lineCount = 0;
  int32_t nextLine = 1;  // the place in the order of the line shown next, from 1
  int32_t passes = 0;
  std::vector<int> shown;
};

class BlockScan final : public ScanState {
 public:
  BlockScan(int32_t lineAfterChosen, int32_t firstBlock) : line(lineAfterChosen), nextBlock(firstBlock) {}
  void Enter(ScanController&) override {}
  void Exit(ScanController& controller) override;
  void Switch(ScanController& controller, WindowId window) override;
  void Tick(ScanController& controller) override;

  int32_t line;  // the chosen line plus 1
  int32_t nextBlock;
  int32_t passes = 0;
  std::vector<int> shown;
};

class KeyScan final : public ScanState {
 public:
  KeyScan(int32_t lineAfterChosen, int32_t blockAfterChosen) : line(lineAfterChosen), block(blockAfterChosen) {}
  void Enter(ScanController& controller) override;
  void Exit(ScanController& controller) override;
  void Switch(ScanController& controller, WindowId window) override;
  void Tick(ScanController& controller) override;

  int32_t line;   // the chosen line plus 1
  int32_t block;  // the chosen block plus 1
  int32_t nextKey = 1;
  int32_t passes = 0;
  std::vector<int> keys;
};

// Each step that moves the highlight (a timer step, or a step press in step mode) plays
// the host's tick when `useScanTick` is on; a choice does not, and the activation of a
// key keeps the click of `useClickSound`.
class ScanController final : public ScanControl {
 public:
  using Activate = std::function<void(WindowId window, int keyIndex)>;
  ScanController(KeyboardSurface& host, Keyboard& keyboard, KeyDrawing& drawing, const Settings& settings,
                 ScanTimer& timer, Activate activate)
      : host_(host),
        keyboard_(keyboard),
        drawing_(drawing),
        settings_(settings),
        timer_(timer),
        activate_(std::move(activate)) {}
  ~ScanController() override;

  // Takes the scan mode, the first item's pause and the passes from the settings.
  void StartScan(WindowId window, uint32_t delayMs) override;
  void StopScan() override;
  void OnSwitchSignal(int which, bool released) override;
  // A press of the first switch, released at once.
  void OnSwitch() {
    OnSwitchSignal(1, false);
    OnSwitchSignal(1, true);
  }
  void DrawHighlight(Canvas& window) override;
  // A tick of the timer of `generation`; stale ones do nothing.
  void OnTimerTick(uint32_t generation);
  // Replaces the current state (a null state changes nothing): the old one is left, the
  // new one entered and ticked once, and the timer restarted. Called from within a
  // state's operation, the replacement happens as soon as that operation returns.
  void SetScanState(std::unique_ptr<ScanState> state);

  // For the states.
  const Keyboard& keyboard() const { return keyboard_; }
  void Highlight(const std::vector<int>& keys);
  void Unhighlight(const std::vector<int>& keys);
  void ActivateScanned(WindowId window, int keyIndex);
  // The line scan after a chosen key, from idle (`chosenLine` 0) or after the passes over
  // the blocks of `chosenLine` (`resume`): with the layout's syllable-following order,
  // its lines for the place now, from the first (after a resume from the line after the
  // chosen one); without, from the chosen line (after a resume, the next one; from
  // idle, line 1).
  std::unique_ptr<LineScan> NewLineScan(int32_t chosenLine, bool resume) const;
  SyllablePlace syllablePlace() const { return place_; }
  const ScanState* state() const { return state_.get(); }
  bool timerRunning() const { return timerRunning_; }
  uint32_t delay() const { return delay_; }
  int32_t mode() const { return mode_; }
  int32_t passLimit() const { return passLimit_; }

 private:
  void StopTimer();
  // Starts the timer: the first period has the extra pause while the highlight is on the
  // first item of its level.
  void StartTimer();
  bool TimerWanted() const;
  void Choose();
  void Step();
  void ClearState();
  void Apply(std::unique_ptr<ScanState> state);
  template <typename Operation>
  void RunStateOperation(Operation&& operation);

  KeyboardSurface& host_;
  Keyboard& keyboard_;
  KeyDrawing& drawing_;
  const Settings& settings_;
  ScanTimer& timer_;
  Activate activate_;
  WindowId window_ = 0;
  uint32_t delay_ = 0;
  std::unique_ptr<ScanState> state_;
  std::unique_ptr<ScanState> pending_;
  std::vector<int> highlighted_;  // what the last highlight drawing left on the window
  bool inOperation_ = false;
  bool timerRunning_ = false;
  int32_t mode_ = SCAN_AUTO;
  uint32_t firstDelay_ = 0;
  int32_t passLimit_ = SCAN_LOOP_LIMIT;
  SyllablePlace place_ = kAtWordEnd;
  int shiftKey_ = kNoKey;  // the Shift key chosen last, which a one-shot Shift releases
  bool held_ = false;          // hold mode: the first switch is down
  bool atFirstItem_ = false;   // no step since the current level began
  bool longFirstPeriod_ = false;  // the running timer's period includes the pause
  uint32_t highlights_ = 0;       // highlight drawings so far: a step that drew one moved it
  uint32_t generation_ = 0;
};

}  // namespace tessary
