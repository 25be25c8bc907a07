#pragma once
// The keyboard window: its paint, its size changes (which rescale the label font), the
// language switch, the layout reload and the scan hand-offs, and the pointer input of
// click and dwell mode. The platform's window sits behind KeyboardWindowHost.
#include <cstdint>
#include <functional>

#include "input/key_repeat.h"
#include "input/scan.h"
#include "keyboard/canvas.h"
#include "keyboard/key_drawing.h"
#include "platform/key_output.h"

namespace tessary {

class KeyActivator;
struct LayoutEnvironment;
struct Settings;

inline constexpr unsigned kDwellTimerId = 213;  // IDT_DWELL
inline constexpr uint32_t kHoverTimeMs = 10;
inline constexpr int32_t kDwellActivationTicks = 6;
inline constexpr double kDwellStep = 0.2;

class KeyboardWindowHost : public RepeatHost {
 public:
  // IDT_DWELL on the keyboard window; setting it again restarts it.
  virtual void SetDwellTimer(uint32_t periodMs) = 0;
  virtual void KillDwellTimer() = 0;
  // Posts a left button press and its release at (x, y), keyboard window coordinates, to
  // the keyboard window: the click arrives through the message queue like a real one.
  virtual void PostClick(int32_t x, int32_t y) = 0;
  // TrackMouseEvent: a hover notice after `ms`, or a leave notice.
  virtual void RequestHoverNotice(uint32_t ms) = 0;
  virtual void RequestLeaveNotice() = 0;
};

// The keyboard window's pointer state in click and dwell mode.
class PointerInput {
 public:
  using Activate = std::function<void(int keyIndex)>;
  PointerInput(KeyboardWindowHost& host, Keyboard& keyboard, KeyDrawing& drawing, const Settings& settings,
               KeyRepeat& repeat, Activate activate)
      : host_(host),
        keyboard_(keyboard),
        drawing_(drawing),
        settings_(settings),
        repeat_(repeat),
        activate_(std::move(activate)) {}

  void OnMouseMove(int32_t x, int32_t y);
  void OnMouseHover();
  void OnMouseLeave();
  void OnButtonDown(int32_t x, int32_t y);
  void OnButtonUp(int32_t x, int32_t y);
  void OnDwellTick();
  void StartDwell();
  void StopDwell();

  int32_t pressedKey = kNoKeyRemembered;
  bool buttonDown = false;
  int32_t hoverKey = kNoKeyRemembered;
  int32_t dwellKey = kNoKeyRemembered;
  bool hoverTracking = false;
  int32_t dwellTicks = -2;
  bool dwellRunning = false;
  bool dwellFired = false;
  int32_t shiftKeyIndex = 0;

 private:
  void Draw(void (KeyDrawing::*look)(Canvas&, int), int index);
  void ReleaseShift();
  uint32_t DwellPeriod() const;

  KeyboardWindowHost& host_;
  Keyboard& keyboard_;
  KeyDrawing& drawing_;
  const Settings& settings_;
  KeyRepeat& repeat_;
  Activate activate_;
};

class KeyboardWindow {
 public:
  // `settings`: the user's (the input mode, the layout set, the scan delay, the colours
  // and the label font, which a resize changes).
  KeyboardWindow(KeyboardWindowHost& host, Keyboard& keyboard, LayoutEnvironment& layouts, Settings& settings,
                 KeyDrawing& drawing, PointerInput& pointer, ScanControl* scan)
      : host_(host),
        keyboard_(keyboard),
        layouts_(layouts),
        settings_(settings),
        drawing_(drawing),
        pointer_(pointer),
        scan_(scan) {}

  void OnCreate(WindowId self);
  // The screen's density, at creation and when the frame moves to another monitor.
  void SetDpi(int32_t dpi);
  // The full repaint into the off-screen image...
  void PaintImage(Canvas& image, const KeyRect& client);
  // ...and, after it is copied to the window, the scan highlight and the key under the
  // pointer, drawn on the window: pressed if it is the pressed key, else hovered.
  void PaintPointerKey(Canvas& window);
  void OnRightButtonDown();
  void OnImeState(int32_t state);
  void OnReloadLayout();
  // WM_SCANSWITCH: `which` 1 or 2, pressed or released.
  void OnScanSwitch(int which, bool released);
  // In click mode, a press outside the keyboard: the syllable in progress ends.
  void OnClickElsewhere();
  // The window is going away, and with it the program: the scan stops and every
  // modifier the keyboard holds down comes up.
  void OnDestroy();

  int32_t lastImeState = -1;
  // The keys' activator: it composes Hangul or leaves it to the input method as the
  // setting hangulComposition and the focused application's mode say; null in tests
  // that need none.
  KeyActivator* activator = nullptr;
  // Called after the keyboard took another layout (a set chosen, the language
  // switched): the frame around it follows the size of its letter key.
  std::function<void()> onKeysChanged;

 private:
  void KeysChanged();
  void RestartScan();
  void FollowComposition();
  bool Scanning() const;

  KeyboardWindowHost& host_;
  Keyboard& keyboard_;
  LayoutEnvironment& layouts_;
  Settings& settings_;
  KeyDrawing& drawing_;
  PointerInput& pointer_;
  ScanControl* scan_;
  WindowId self_ = 0;
};

}  // namespace tessary
