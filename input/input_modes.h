#pragma once
// The input modes' system-wide hooks: what the hook procedures decide, and entering and
// leaving a mode around a change of `inputMode`.
#include <cstdint>
#include <functional>
#include <string_view>

#include "config/settings.h"

namespace tessary {

class MessageBoxes;
class ScanControl;

// The low-level hooks of click and scan mode.
class InputModeHooks {
 public:
  virtual ~InputModeHooks() = default;
  virtual bool InstallMouseHook() = 0;
  virtual void RemoveMouseHook() = 0;
  // Scan mode's hooks for these switches: the keyboard hook, and the mouse hook too when
  // a switch is a mouse button.
  virtual bool InstallKeyboardHook(int32_t firstSwitch, int32_t secondSwitch) = 0;
  virtual void RemoveKeyboardHook() = 0;
};

inline constexpr const char* kMouseHookFailedText =
    "치명적인 오류가 발생했습니다. 테사리가 정상적으로 작동하지 않습니다.";
inline constexpr const char* kKeyboardHookFailedText =
    "치명적인 오류가 발생했습니다. 스캔모드가 정상적으로 작동하지 않습니다.";


// Click mode: whether the low-level mouse event (hook `code`, `message`) over a window
// of class `classUnderCursor` is taken from the system and reposted to that window.
// Only left and right presses and releases over the keyboard window are; double clicks,
// moves and everything over other windows pass on.
bool TakesMouseEvent(int code, uint32_t message, std::string_view classUnderCursor);
// Click mode: whether the event is a press anywhere but on the keyboard window, which
// ends the syllable the keyboard composes (the caret or the focus may move with it).
bool IsClickElsewhere(int code, uint32_t message, std::string_view classUnderCursor);

// Whether a low-level keyboard event is not the user's own: the system marks injected
// events, and the keyboard tags its own (`kOwnInputTag`), so either is enough.
bool IsOwnOrInjectedKey(bool injectedFlag, uintptr_t extraInfo);

// What a low-level event means to scan mode.
struct SwitchSignal {
  int which = 0;         // 1 the first switch, 2 the second; 0 not a switch
  bool released = false; // the switch went up (else it went down)
  bool swallow = false;  // the event is kept from the focused application
};

// Scan mode's switches, as the low-level hooks see the user's keyboard and mouse. The
// switch is the user's way of choosing, not input: its presses and releases never reach
// the application, whatever it is. A held switch is one press: the keyboard's
// auto-repeats are swallowed without a signal. Injected events — the on-screen keys
// themselves, clicks sent by other programs — are never a switch and always pass, and
// so does a key pressed with Alt (Alt+Space is the window menu).
class SwitchFilter {
 public:
  // The two switches (ScanSwitch values); SWITCH_NONE or an unknown value: none.
  void Configure(int32_t first, int32_t second);
  // The virtual key of a switch, 0 for a mouse button or none.
  static uint32_t KeyOf(int32_t scanSwitch);
  // The mouse button's down message of a switch, 0 for a key or none.
  static uint32_t ButtonDownOf(int32_t scanSwitch);
  // Whether either switch is a mouse button (the mouse hook is needed).
  bool UsesMouse() const;

  SwitchSignal OnKey(int code, uint32_t message, uint32_t virtualKey, bool injected, bool altDown);
  SwitchSignal OnMouse(int code, uint32_t message, bool injected);
  // Forgets the switches held (the hooks were removed: their releases will not come).
  void Reset() { down_[0] = down_[1] = false; }

 private:
  SwitchSignal Edge(size_t index, bool goingDown);
  int32_t switches_[2] = {SWITCH_SPACE, SWITCH_NONE};
  bool down_[2] = {false, false};
};

// The hook of the mode in `settings` (click: mouse, scan: keyboard; dwell: none), with
// the message for a hook that cannot be installed. The start-up part of entering a mode.
void InstallInputModeHook(const Settings& settings, InputModeHooks& hooks, MessageBoxes& messages);

// What changing the input mode needs.
struct InputModeContext {
  Settings& settings;
  InputModeHooks& hooks;
  MessageBoxes& messages;
  ScanControl* scan;        // null: no scanner to start or stop
  // Turns the frame's translucency off (scan mode); may be empty.
  std::function<void()> stopTransparency;
  uintptr_t keyboardWindow; // the scanner's window
};

// Before `inputMode` may change (the settings dialog): the present mode's hook is
// removed and the scanner stopped.
void LeaveInputMode(InputModeContext& context);
// After it changed: the hook of the mode now in force, with its failure message. Scan
// mode also turns translucency off (a translucent keyboard is hard to follow while
// scanning) and starts the scanner.
void EnterInputMode(InputModeContext& context);

}  // namespace tessary
