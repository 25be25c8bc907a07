#pragma once
// The keyboard window, the keys: a child of the frame window. Its procedure hands the
// pointer, the timers and the program's own messages to the core's KeyboardWindow,
// PointerInput and ScanController; Win32KeyboardHost is the core's way back to it.
#include <windows.h>

#include <atomic>
#include <optional>

#include "input/input_modes.h"
#include "input/key_repeat.h"
#include "input/scan.h"
#include "ui/keyboard_window.h"

namespace tessary::win32 {

class Win32ScanTimer;

class Win32KeyboardWindow {
 public:
  // What the window drives; they outlive it.
  struct Parts {
    KeyboardWindow& controller;
    PointerInput& pointer;
    ScanController& scan;
    KeyRepeat& repeat;
    InputModeContext& modes;
    Win32ScanTimer& scanTimer;
  };

  explicit Win32KeyboardWindow(HINSTANCE instance) : instance_(instance) {}
  Win32KeyboardWindow(const Win32KeyboardWindow&) = delete;
  Win32KeyboardWindow& operator=(const Win32KeyboardWindow&) = delete;
  ~Win32KeyboardWindow();

  // Before the window is made: the parts it drives.
  void Connect(const Parts& parts) { parts_.emplace(parts); }
  bool connected() const { return parts_.has_value(); }
  // The window's messages, once it is connected.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static bool Register(HINSTANCE instance);
  // Makes the window inside the frame window; its size comes with the frame's layout.
  void Create(HWND frame);
  void Destroy();

  HWND handle() const { return handle_; }
  HINSTANCE instance() const { return instance_; }

  // Posts from any thread (the timer threads' included); nothing while there is no window.
  void PostImeState(int32_t state) const;
  void PostReloadLayout() const;
  // `which` 1 or 2.
  void PostScanSwitch(int which, bool released) const;
  void PostClickElsewhere() const;

  // The key repeat's window timer (a TIMERPROC: the repeat runs without a message of its own).
  static void CALLBACK RepeatTimer(HWND window, UINT, UINT_PTR, DWORD);

 private:
  void Paint();
  void DropBackBuffer();
  void Post(UINT message, WPARAM wParam, LPARAM lParam) const;

  HINSTANCE instance_;
  HWND handle_ = nullptr;
  // The same handle for the posts of other threads.
  std::atomic<HWND> handleForPosts_{nullptr};
  HBITMAP backBuffer_ = nullptr;  // the last full repaint
  std::optional<Parts> parts_;
};

// The keyboard window as the core drives it: timers 112 (repeat) and 213 (dwell), the
// pointer, direct drawing, the click sound.
class Win32KeyboardHost final : public KeyboardWindowHost {
 public:
  explicit Win32KeyboardHost(const Win32KeyboardWindow& window) : window_(window) {}
  void SetRepeatTimer(uint32_t periodMs) override;
  void KillRepeatTimer() override;
  void PointerPosition(int32_t& x, int32_t& y) override;
  void InvalidateKeyboard() override;
  void SetDwellTimer(uint32_t periodMs) override;
  void KillDwellTimer() override;
  void PostClick(int32_t x, int32_t y) override;
  void RequestHoverNotice(uint32_t ms) override;
  void RequestLeaveNotice() override;
  void DrawDirect(const std::function<void(Canvas&)>& draw) override;
  void PlayClickSound() override;
  void PlayTickSound() override;

 private:
  const Win32KeyboardWindow& window_;
};

}  // namespace tessary::win32
