#pragma once
// The program's Win32 windows: the hidden window, the frame window and the keyboard
// window. Their procedures decode messages and hand them to the core.
#include <windows.h>

#include <atomic>

#include "input/key_activation.h"
#include "input/key_repeat.h"
#include "ui/frame.h"
#include "keyboard/keyboard_model.h"
#include "input/scan.h"
#include "ui/keyboard_window.h"
#include "layout/layout_loader.h"
#include "shell/shell.h"
#include "shell/tray.h"

namespace tessary::win32 {

class Win32ScanTimer;

// Handles and objects that live for the whole process; one instance of each window.
struct App {
  HINSTANCE instance = nullptr;
  HWND hidden = nullptr;
  HWND frame = nullptr;
  HWND keyboard = nullptr;
  // The keyboard window for the timer thread's posts.
  std::atomic<HWND> keyboardForTimers{nullptr};
  HHOOK focusHook = nullptr;
  HANDLE instanceSemaphore = nullptr;
  Settings settings;
  Shell* shell = nullptr;
  Keyboard* keyboardModel = nullptr;
  LayoutEnvironment* layouts = nullptr;
  int32_t lastImeState = -1;
  KeyActivator* activator = nullptr;
  KeyRepeat* repeat = nullptr;
  Frame* frameController = nullptr;
  KeyboardWindow* keyboardWindow = nullptr;
  PointerInput* pointer = nullptr;
  ScanController* scan = nullptr;
  Tray* tray = nullptr;
  InputModeContext* modes = nullptr;
  Win32ScanTimer* scanTimer = nullptr;
  HBITMAP backBuffer = nullptr;  // the keyboard's last full repaint
};

// The keyboard window as the core drives it: timers 112 (repeat) and 213 (dwell), the
// pointer, direct drawing, the click sound.
class Win32KeyboardHost final : public KeyboardWindowHost {
 public:
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
};

// The tray menu, the dialogs and the keyboard's return to view.
class Win32TrayUi final : public TrayUi {
 public:
  void ShowKeyboard() override;
  void ShowMenu(const TrayMenu& menu) override;
  void RunAboutDialog() override;
  bool ChooseLabelFont(LabelFont& font) override;
  void RunSettingsDialog(Settings& settings) override;
  void RepaintFrame() override;
  void PostReloadLayout() override;
  void EndProgram() override;
};

// The frame window as the core drives it.
class Win32FrameHost final : public FrameHost {
 public:
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
  void PostTrayMessage(uint32_t mouseMessage) override;
  void SendLanguageSwitch() override;
  void HideFrame() override;
  void InvalidateCaption(int32_t width) override;
  void InvalidateFrame() override;
  void MoveKeyboardWindow(const KeyRect& rect) override;
  void PostImeState(int32_t state) override;
  void ForwardReloadLayout() override;
  bool SetTransparencyTimer(uint32_t periodMs) override;
  void KillTransparencyTimer() override;
  void SetCaptionDwellTimer(uint32_t periodMs) override;
  void KillCaptionDwellTimer() override;
  void StartImageDetection(uint32_t delayMs) override;
};

// The foreground as the focus keeper sees it.
class Win32FocusHost final : public FocusHost {
 public:
  WindowId Foreground() override;
  WindowKind KindOf(WindowId window) override;
  void SetForeground(WindowId window) override;
};

App& TheApp();

// ShellHost over the Win32 window manager, tray and hooks.
class Win32ShellHost final : public ShellHost {
 public:
  bool IsWindows2000OrLater() override;
  int32_t SystemDpi() override;
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
};


}  // namespace tessary::win32
