#pragma once
// The input modes' system-wide hooks: what the hook procedures decide, and entering and
// leaving a mode around a change of `inputMode`.
#include <cstdint>
#include <functional>
#include <string_view>

namespace tessary {

class MessageBoxes;
class ScanControl;
struct Settings;

// The low-level hooks of click and scan mode.
class InputModeHooks {
 public:
  virtual ~InputModeHooks() = default;
  virtual bool InstallMouseHook() = 0;
  virtual void RemoveMouseHook() = 0;
  virtual bool InstallKeyboardHook() = 0;
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

// Scan mode: whether the low-level keyboard event is a switch press: a Space key-down
// from the user's own keyboard (its auto-repeats too, but not with Alt, which arrives
// as a system key). An injected event — the on-screen Space key itself, sent through
// the system's input queue — is never the switch.
bool IsScanSwitch(int code, uint32_t message, uint32_t virtualKey, bool injected);
// Whether a low-level keyboard event is not the user's own: the system marks injected
// events, and the keyboard tags its own (`kOwnInputTag`), so either is enough.
bool IsOwnOrInjectedKey(bool injectedFlag, uintptr_t extraInfo);
// Scan mode: whether the hook keeps the event from the focused application. The switch
// is the user's way of choosing, not text: its key-down and key-up are taken, so a
// switch user types exactly the keys chosen. Everything else passes on: other keys,
// Alt with Space, and every injected event.
bool SwallowsScanKey(int code, uint32_t message, uint32_t virtualKey, bool injected);

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
