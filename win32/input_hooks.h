#pragma once
// The low-level hooks of click and scan mode, and the scan timer.
#include <windows.h>

#include <atomic>

#include "input/scan.h"
#include "shell/shell.h"

namespace tessary::win32 {

class Win32KeyboardWindow;

// One instance: the hook procedures take no data of their own, so the keyboard window
// the scan switch goes to is the file's.
class Win32InputModeHooks final : public InputModeHooks {
 public:
  // `keyboard`: where the scan switch goes; it outlives the hooks.
  Win32InputModeHooks(HINSTANCE instance, const Win32KeyboardWindow& keyboard);
  ~Win32InputModeHooks() override;
  Win32InputModeHooks(const Win32InputModeHooks&) = delete;
  Win32InputModeHooks& operator=(const Win32InputModeHooks&) = delete;
  bool InstallMouseHook() override;
  void RemoveMouseHook() override;
  bool InstallKeyboardHook(int32_t firstSwitch, int32_t secondSwitch) override;
  void RemoveKeyboardHook() override;

 private:
  HINSTANCE instance_;
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
