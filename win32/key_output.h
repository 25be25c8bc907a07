#pragma once
// The Win32 keyboard: the active layout, SendInput, the journal playback hook and the
// watchdog timer of the stroke player.
#include <windows.h>

#include "platform/key_output.h"

namespace tessary {
class StrokePlayer;
}

namespace tessary::win32 {

class Win32KeyLayout final : public KeyLayout {
 public:
  uint16_t VkKeyScan(char ch) const override;
  uint32_t MapVirtualKey(uint32_t code) const override;
};

// One per process: the hook and timer procedures reach the player through it.
class Win32KeyOutput final : public KeyOutput {
 public:
  Win32KeyOutput();
  ~Win32KeyOutput() override;
  void Attach(StrokePlayer* player) { player_ = player; }

  bool SendInput(const std::vector<KeyInputRecord>& records) override;
  bool SendText(const std::u16string& text) override;
  bool InstallPlaybackHook() override;
  void RemovePlaybackHook() override;
  void ResetModifierKeyState() override;
  void PostQueueSync(WindowId target) override;
  void StartWatchdog(uint32_t milliseconds) override;
  void CancelWatchdog() override;
  bool IsLockOn(uint32_t code) const override;

  // WM_CANCELJOURNAL reached the thread: the system ended the playback and its hook.
  static void OnCancelJournal();

 private:
  static LRESULT CALLBACK JournalProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK WatchdogProc(HWND, UINT, UINT_PTR, DWORD);

  StrokePlayer* player_ = nullptr;
  HHOOK hook_ = nullptr;
  UINT_PTR watchdog_ = 0;
};

}  // namespace tessary::win32
