#pragma once
// The frame window around the keys: the caption strip with the icon and the two
// buttons, the sizing edges, and the keyboard window inside. Its procedure hands the
// pointer, the timers, the density and the program's own messages to the core's Frame;
// Win32FrameHost and Win32FocusHost are the core's way back to the desktop.
#include <windows.h>

#include <optional>

#include "config/settings.h"
#include "shell/shell.h"
#include "ui/focus_keeper.h"
#include "ui/frame.h"
#include "ui/keyboard_window.h"

namespace tessary::win32 {

class Win32KeyboardWindow;
class Win32HiddenWindow;

class Win32FrameWindow {
 public:
  // What the window drives; they outlive it.
  struct Parts {
    Frame& controller;
    KeyboardWindow& keyboard;  // told the screen's density
    Shell& shell;              // keeps the frame's place at the end
    const Settings& settings;  // the border's colour
  };

  Win32FrameWindow(HINSTANCE instance, Win32KeyboardWindow& keyboard) : instance_(instance), keyboard_(keyboard) {}
  Win32FrameWindow(const Win32FrameWindow&) = delete;
  Win32FrameWindow& operator=(const Win32FrameWindow&) = delete;

  // Before the window is made: the parts it drives.
  void Connect(const Parts& parts) { parts_.emplace(parts); }
  bool connected() const { return parts_.has_value(); }
  // The window's messages, once it is connected.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static bool Register(HINSTANCE instance);
  // Makes the frame, owned by `owner` (the hidden window), and with it the keyboard window.
  void Create(HWND owner, int32_t left, int32_t top, int32_t width, int32_t height);

  HWND handle() const { return handle_; }
  Win32KeyboardWindow& keyboardWindow() const { return keyboard_; }
  // The caption strip's height now.
  int32_t CaptionHeight() const;
  void StartTransparency();

 private:
  void Paint();

  HINSTANCE instance_;
  Win32KeyboardWindow& keyboard_;
  HWND handle_ = nullptr;
  std::optional<Parts> parts_;
};

// The frame window as the core drives it.
class Win32FrameHost final : public FrameHost {
 public:
  // `hidden`: the frame's owner, which shows the tray menu.
  Win32FrameHost(const Win32FrameWindow& frame, const Win32HiddenWindow& hidden) : frame_(frame), hidden_(hidden) {}
  int32_t SizingFrame() override;
  int32_t Dpi() override;
  void SetFrameRect(const KeyRect& rect) override;
  void PointerInClient(int32_t& x, int32_t& y) override;
  void ClientSize(int32_t& w, int32_t& h) override;
  bool IsVisible() override;
  bool IsLayered() override;
  void SetLayered(bool layered) override;
  void SetAlpha(uint8_t alpha) override;
  void SetCursor(FrameCursor cursor) override;
  void BeginMove() override;
  void BeginResize(int32_t zone) override;
  void PostOpenTrayMenu() override;
  void SendLanguageSwitch() override;
  void HideFrame() override;
  void KeepInFront() override;
  void InvalidateCaption(int32_t width) override;
  void InvalidateFrame() override;
  void MoveKeyboardWindow(const KeyRect& rect) override;
  void PostImeState(int32_t state) override;
  void ForwardReloadLayout() override;
  bool SetTransparencyTimer(uint32_t periodMs) override;
  void KillTransparencyTimer() override;
  void SetCaptionDwellTimer(uint32_t periodMs) override;
  void KillCaptionDwellTimer() override;
  void SetTitleNoteTimer(uint32_t periodMs) override;
  void KillTitleNoteTimer() override;
  void StartImageDetection(uint32_t delayMs) override;

 private:
  const Win32FrameWindow& frame_;
  const Win32HiddenWindow& hidden_;
};

// The foreground as the focus keeper sees it.
class Win32FocusHost final : public FocusHost {
 public:
  WindowId Foreground() override;
  WindowKind KindOf(WindowId window) override;
  void SetForeground(WindowId window) override;
};

}  // namespace tessary::win32
