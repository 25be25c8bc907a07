#pragma once
// The input modes' system-wide hooks: what the hook procedures decide, and entering and
// leaving a mode around a change of `inputMode`.
#include <cstdint>
#include <string_view>

#include "input/stroke_playback.h"

namespace tessary {

class InputModeHooks;
class MessageBoxes;
class ScanControl;
class Frame;
struct Settings;

// Mouse messages of the low-level hook.
inline constexpr uint32_t kLeftButtonDown = 513, kLeftButtonUp = 514, kLeftButtonDoubleClick = 515,
                          kRightButtonDown = 516, kRightButtonUpMessage = 517;
inline constexpr uint32_t kSpaceKey = 32;

// Click mode: whether the low-level mouse event (hook `code`, `message`) over a window
// of class `classUnderCursor` is taken from the system and reposted to that window.
// Only left and right presses and releases over the keyboard window are; double clicks,
// moves and everything over other windows pass on.
bool TakesMouseEvent(int code, uint32_t message, std::string_view classUnderCursor);

// Scan mode: whether the low-level keyboard event is a switch press: a Space key-down
// (its auto-repeats too, but not with Alt, which arrives as a system key), unless the
// keyboard sent it itself (`extraInfo` kOwnInputTag: its Space key was activated). The
// event always passes on as well.
bool IsScanSwitch(int code, uint32_t message, uint32_t virtualKey, uintptr_t extraInfo = 0);

// The hook of the mode in `settings` (click: mouse, scan: keyboard; dwell: none), with
// the message for a hook that cannot be installed. The start-up part of entering a mode.
void InstallInputModeHook(const Settings& settings, InputModeHooks& hooks, MessageBoxes& messages);

// What changing the input mode needs.
struct InputModeContext {
  Settings& settings;
  InputModeHooks& hooks;
  MessageBoxes& messages;
  ScanControl* scan;        // null: no scanner to start or stop
  Frame* frame;             // for turning translucency off in scan mode; may be null
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
