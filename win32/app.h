#pragma once
// The program's Win32 windows: the hidden window, the frame window and the keyboard
// window. Their procedures decode messages and hand them to the core.
#include <windows.h>

#include "input/key_activation.h"
#include "input/key_repeat.h"
#include "keyboard/keyboard_model.h"
#include "layout/layout_loader.h"
#include "shell/shell.h"

namespace tessary::win32 {

// Handles and objects that live for the whole process; one instance of each window.
struct App {
  HINSTANCE instance = nullptr;
  HWND hidden = nullptr;
  HWND frame = nullptr;
  HWND keyboard = nullptr;
  HHOOK focusHook = nullptr;
  HANDLE instanceSemaphore = nullptr;
  Settings settings;
  Shell* shell = nullptr;
  Keyboard* keyboardModel = nullptr;
  LayoutEnvironment* layouts = nullptr;
  int32_t lastImeState = -1;
  KeyActivator* activator = nullptr;
  KeyRepeat* repeat = nullptr;
};

// The keyboard window's side of key repeat: timer 112, the pointer, repainting.
class Win32RepeatHost final : public RepeatHost {
 public:
  void SetRepeatTimer(uint32_t periodMs) override;
  void KillRepeatTimer() override;
  void PointerPosition(int32_t& x, int32_t& y) override;
  void InvalidateKeyboard() override;
};

App& TheApp();

// ShellHost over the Win32 window manager, tray and hooks.
class Win32ShellHost final : public ShellHost {
 public:
  bool IsWindows2000OrLater() override;
  bool IsAlreadyRunning(const char* name) override;
  bool RegisterWindowClasses() override;
  bool CreateHiddenWindow() override;
  int RunMessageLoop() override;
  void AddTrayIcon() override;
  void DeleteTrayIcon() override;
  void CreateFrameWindow(int32_t left, int32_t top, int32_t width, int32_t height) override;
  bool InstallFocusHook() override;
  void StartTransparency() override;
  void DestroyHiddenWindow() override;
  void PostQuit(int exitCode) override;
};

// The low-level hooks of click and scan mode. Until those modes arrive, installing
// one succeeds without hooking anything.
class Win32InputModeHooks final : public InputModeHooks {
 public:
  bool InstallMouseHook() override { return true; }
  void RemoveMouseHook() override {}
  bool InstallKeyboardHook() override { return true; }
  void RemoveKeyboardHook() override {}
};

}  // namespace tessary::win32
