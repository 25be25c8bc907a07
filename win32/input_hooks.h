#pragma once
// The low-level hooks of click and scan mode, and the scan timer.
#include <windows.h>

#include <atomic>

#include "input/scan.h"
#include "shell/shell.h"

namespace tessary::win32 {

class Win32InputModeHooks final : public InputModeHooks {
 public:
  ~Win32InputModeHooks() override;
  bool InstallMouseHook() override;
  void RemoveMouseHook() override;
  bool InstallKeyboardHook() override;
  void RemoveKeyboardHook() override;
};

// A periodic multimedia timer whose callback, on the timer thread, only posts
// WM_SCANTICK with its generation to the keyboard window.
class Win32ScanTimer final : public ScanTimer {
 public:
  ~Win32ScanTimer() override { Stop(); }
  void Start(uint32_t periodMs, uint32_t generation) override;
  void Stop() override;
  void SetTarget(HWND keyboard) { target_.store(keyboard); }

 private:
  static void CALLBACK OnTimer(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
  std::atomic<HWND> target_{nullptr};
  std::atomic<uint32_t> generation_{0};
  UINT timer_ = 0;
};

}  // namespace tessary::win32
