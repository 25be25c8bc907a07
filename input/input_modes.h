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
