#pragma once
// The platform's keyboard: the active layout's character-to-key lookup and the ways to
// put key events into the system.
#include <cstdint>
#include <string>
#include <vector>

namespace tessary {

// A window handle as the core carries it (only passed back to the platform).
using WindowId = uintptr_t;

// The active keyboard layout.
class KeyLayout {
 public:
  virtual ~KeyLayout() = default;
  // VkKeyScanA: low byte the key code, bit 0x100 Shift (0x200 Ctrl, 0x400 Alt);
  // 0xFFFF when no key types the character.
  virtual uint16_t VkKeyScan(char ch) const = 0;
  static constexpr uint16_t kScanShift = 0x100, kScanCtrl = 0x200, kScanKeyMask = 0xFF;
  static constexpr uint16_t kNoKey = 0xFFFF;
  // MapVirtualKeyA(code, 0): the key's scan code, 0 when it has none.
  virtual uint32_t MapVirtualKey(uint32_t code) const = 0;
};

// What the keyboard's own key events carry as the platform's extra information, so that
// its hooks can tell them from the user's (its Space key is no switch press).
inline constexpr uintptr_t kOwnInputTag = 0x54595333;

// One keyboard record of SendInput. The virtual-key code is always given with the scan
// code (some systems deliver no key for a scan code alone).
struct KeyInputRecord {
  uint16_t code = 0;
  uint16_t scan = 0;
  bool keyUp = false;
  bool extended = false;
  bool operator==(const KeyInputRecord&) const = default;
};

class KeyOutput {
 public:
  virtual ~KeyOutput() = default;
  // One SendInput call with the records in order; false when the system took none.
  virtual bool SendInput(const std::vector<KeyInputRecord>& records) = 0;
  // Text as characters rather than keys (the platform's Unicode key events: a down and an
  // up for each UTF-16 unit, which no input method composes), in one SendInput call;
  // false when the system took none.
  virtual bool SendText(const std::u16string& text) = 0;

  // The system-wide journal playback hook; the platform calls StrokePlayer::OnHookCall
  // from it. False when it cannot be installed.
  virtual bool InstallPlaybackHook() = 0;
  virtual void RemovePlaybackHook() = 0;
  // Clears the down bit of Shift, Ctrl and Alt and the down and toggle bits of Caps
  // Lock and Num Lock in the thread's key-state array.
  virtual void ResetModifierKeyState() = 0;
  // The marker that stands in for a played WM_QUEUESYNC: posts WM_QUEUESYNC to target.
  virtual void PostQueueSync(WindowId target) = 0;
  // A one-shot timer on the user-interface thread that calls StrokePlayer::OnWatchdog.
  virtual void StartWatchdog(uint32_t milliseconds) = 0;
  virtual void CancelWatchdog() = 0;
  // Whether the lock key (Caps, Num or Scroll Lock) is toggled on (GetKeyState, low bit).
  virtual bool IsLockOn(uint32_t code) const = 0;
};

// One key-down (down) or key-up of a virtual key; never an extended key.
void SendKeyEvent(KeyOutput& output, const KeyLayout& layout, uint16_t code, bool down);
// A complete keystroke (down, then up), marked as an extended key when asked.
void SendKeyStroke(KeyOutput& output, const KeyLayout& layout, uint16_t code, bool extended);
// Text the keyboard typed replaced: `erase` Backspace keystrokes (one SendInput call),
// then `text`. False when the system took either.
bool SendTextReplacement(KeyOutput& output, const KeyLayout& layout, size_t erase, const std::u16string& text);

}  // namespace tessary
