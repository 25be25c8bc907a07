#pragma once
// The hidden window: the owner of the frame, the tray icon's and the tray menu's
// window, and the end of the program. Its procedure hands the tray's and the session's
// messages to the core's Tray and Shell; Win32ShellHost (start-up, the windows, the
// focus hook) and Win32TrayUi (the menu, the dialogs) are the core's way back.
#include <windows.h>

#include <optional>

#include "shell/shell.h"
#include "shell/tray.h"

namespace tessary::win32 {

class Win32FrameWindow;
class Win32KeyboardWindow;

class Win32HiddenWindow {
 public:
  // What the window drives; they outlive it.
  struct Parts {
    Shell& shell;
    Tray& tray;
  };

  explicit Win32HiddenWindow(HINSTANCE instance) : instance_(instance) {}
  Win32HiddenWindow(const Win32HiddenWindow&) = delete;
  Win32HiddenWindow& operator=(const Win32HiddenWindow&) = delete;

  // Before the window is made: the parts it drives.
  void Connect(const Parts& parts) { parts_.emplace(parts); }
  bool connected() const { return parts_.has_value(); }
  // The window's messages, once it is connected.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static bool Register(HINSTANCE instance);
  // False when no window could be made.
  bool Create();
  void Destroy();

  HWND handle() const { return handle_; }
  HINSTANCE instance() const { return instance_; }

 private:

  HINSTANCE instance_;
  HWND handle_ = nullptr;
  std::optional<Parts> parts_;
};

// ShellHost over the Win32 window manager, tray and hooks.
class Win32ShellHost final : public ShellHost {
 public:
  Win32ShellHost(Win32HiddenWindow& hidden, Win32FrameWindow& frame) : hidden_(hidden), frame_(frame) {}
  bool IsWindows2000OrLater() override;
  int32_t SystemDpi() override;
  WindowRect WorkArea() override;
  bool IsAlreadyRunning(const char* name) override;
  bool RegisterWindowClasses() override;
  bool CreateHiddenWindow() override;
  int RunMessageLoop() override;
  void AddTrayIcon() override;
  void DeleteTrayIcon() override;
  void CreateFrameWindow(int32_t left, int32_t top, int32_t width, int32_t height) override;
  bool InstallFocusHook() override;
  void RemoveFocusHook() override;
  void StartTransparency() override;
  void DestroyHiddenWindow() override;
  void PostQuit(int exitCode) override;
  bool FrameWindowRect(WindowRect& outer) override;

 private:
  Win32HiddenWindow& hidden_;
  Win32FrameWindow& frame_;
  HHOOK focusHook_ = nullptr;
};

// The tray menu, the dialogs and the keyboard's return to view.
class Win32TrayUi final : public TrayUi {
 public:
  Win32TrayUi(Win32HiddenWindow& hidden, const Win32FrameWindow& frame) : hidden_(hidden), frame_(frame) {}
  void ShowKeyboard() override;
  void ShowMenu(const TrayMenu& menu) override;
  void RunAboutDialog() override;
  bool ChooseLabelFont(LabelFont& font) override;
  void RunSettingsDialog(Settings& settings) override;
  void RepaintFrame() override;
  void PostReloadLayout() override;
  void EndProgram() override;

 private:
  Win32HiddenWindow& hidden_;
  const Win32FrameWindow& frame_;
};

}  // namespace tessary::win32
