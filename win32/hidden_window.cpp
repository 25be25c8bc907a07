#include "win32/hidden_window.h"

#include <shellapi.h>

#include "hooklib/tyhook.h"
#include "platform/window_messages.h"
#include "win32/dialogs.h"
#include "win32/frame_window.h"
#include "win32/key_output.h"
#include "win32/keyboard_window.h"
#include "win32/resource_ids.h"
#include "win32/win32_platform.h"
#include "win32/window_support.h"

namespace tessary::win32 {

bool Win32HiddenWindow::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kHiddenWindowClass, ObjectWindowProcedure<Win32HiddenWindow>, nullptr);
}

bool Win32HiddenWindow::Create() {
  HWND hidden = CreateWindowExW(0, WideAscii(kHiddenWindowClass).c_str(), L"", WS_OVERLAPPEDWINDOW, 10, 10, 0, 0,
                                nullptr, nullptr, instance_, this);
  if (hidden == nullptr) return false;
  ShowWindow(hidden, SW_HIDE);
  return true;
}

void Win32HiddenWindow::Destroy() {
  if (handle_ != nullptr) DestroyWindow(handle_);
}

LRESULT Win32HiddenWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Shell& shell = parts_->shell;
  switch (message) {
    case WM_CREATE:
      handle_ = window;
      shell.OnHiddenWindowCreate();
      return 0;
    case WM_DESTROY:
      shell.OnHiddenWindowDestroy();
      handle_ = nullptr;
      return 0;
    case WM_COMMAND:
      parts_->tray.OnCommand(LOWORD(wParam));
      return 0;
    case WM_TRAYICON:
      parts_->tray.OnTrayIcon(lParam == WM_LBUTTONDOWN  ? TrayClick::kLeftButtonDown
                              : lParam == WM_RBUTTONUP ? TrayClick::kRightButtonUp
                                                       : TrayClick::kOther);
      return 0;
    case WM_QUERYENDSESSION:
      shell.OnEndSession();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) shell.OnEndSession();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

int32_t Win32ShellHost::SystemDpi() { return WindowDpi(nullptr); }

WindowRect Win32ShellHost::WorkArea() {
  RECT area{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) return {};
  return {area.left, area.top, area.right, area.bottom};
}

bool Win32ShellHost::IsWindows2000OrLater() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return true;
  return version.dwMajorVersion >= 5;
}

bool Win32ShellHost::IsAlreadyRunning(const char* name) {
  HANDLE semaphore = CreateSemaphoreA(nullptr, 0, 1, name);
  if (semaphore != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(semaphore);
    return true;
  }
  // Held until the process ends: never closed.
  return false;
}

bool Win32ShellHost::RegisterWindowClasses() {
  const HINSTANCE instance = hidden_.instance();
  return Win32HiddenWindow::Register(instance) && Win32FrameWindow::Register(instance) &&
         Win32KeyboardWindow::Register(instance);
}

bool Win32ShellHost::CreateHiddenWindow() { return hidden_.Create(); }

int Win32ShellHost::RunMessageLoop() {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    if (message.hwnd == nullptr && message.message == WM_CANCELJOURNAL) {
      // Posted to the thread, not to a window: the system cancelled a playback.
      Win32KeyOutput::OnCancelJournal();
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void Win32ShellHost::AddTrayIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = hidden_.handle();
  data.uID = 0;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = WM_TRAYICON;
  data.hIcon =
      static_cast<HICON>(LoadImageW(hidden_.instance(), MAKEINTRESOURCEW(IDI_TESSARY), IMAGE_ICON, 0, 0, 0));
  const std::wstring tip = Wide(kProgramTitle);
  lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(std::size(data.szTip)));
  Shell_NotifyIconW(NIM_ADD, &data);
}

void Win32ShellHost::DeleteTrayIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = hidden_.handle();
  data.uID = 0;
  Shell_NotifyIconW(NIM_DELETE, &data);
}

void Win32ShellHost::CreateFrameWindow(int32_t left, int32_t top, int32_t width, int32_t height) {
  frame_.Create(hidden_.handle(), left, top, width, height);
}

bool Win32ShellHost::InstallFocusHook() {
  focusHook_ = SetWindowsHookExA(WH_CBT, CbtProc, GetModuleHandleA("tyhook"), 0);
  return focusHook_ != nullptr;
}

void Win32ShellHost::RemoveFocusHook() {
  if (focusHook_ != nullptr) UnhookWindowsHookEx(focusHook_);
  focusHook_ = nullptr;
}

void Win32ShellHost::StartTransparency() { frame_.StartTransparency(); }

void Win32ShellHost::DestroyHiddenWindow() { hidden_.Destroy(); }

void Win32ShellHost::PostQuit(int exitCode) { PostQuitMessage(exitCode); }

bool Win32ShellHost::FrameWindowRect(WindowRect& outer) {
  WINDOWINFO info{};
  info.cbSize = sizeof info;
  if (frame_.handle() == nullptr || !GetWindowInfo(frame_.handle(), &info)) return false;
  outer = {info.rcWindow.left, info.rcWindow.top, info.rcWindow.right, info.rcWindow.bottom};
  return true;
}

void Win32TrayUi::ShowKeyboard() {
  HWND frame = frame_.handle();
  if (frame == nullptr) return;
  SetWindowLongW(frame, GWL_EXSTYLE, GetWindowLongW(frame, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  SetLayeredWindowAttributes(frame, 0, 255, LWA_ALPHA);
  ShowWindow(frame, SW_SHOWNA);
  // In front of the others without taking the foreground from the application.
  SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Win32TrayUi::ShowMenu(const TrayMenu& model) {
  HMENU loaded = LoadMenuW(hidden_.instance(), MAKEINTRESOURCEW(kTrayMenuResource));
  if (loaded == nullptr) return;
  HMENU popup = GetSubMenu(loaded, 0);
  HMENU layouts = popup != nullptr ? GetSubMenu(popup, kLayoutSubmenuPosition) : nullptr;
  if (layouts != nullptr) {
    for (const TrayMenu::LayoutItem& item : model.layouts) {
      if (item.id != IDM_DEFAULTLAYOUT) {
        AppendMenuW(layouts, MF_STRING, static_cast<UINT_PTR>(item.id), Wide(item.name).c_str());
      }
      if (item.checked) CheckMenuItem(layouts, static_cast<UINT>(item.id), MF_BYCOMMAND | MF_CHECKED);
    }
  }
  if (popup != nullptr) {
    for (const auto& [id, checked] : model.options) {
      CheckMenuItem(popup, static_cast<UINT>(id), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
    POINT p{};
    GetCursorPos(&p);
    // The menu takes the keyboard only while this program holds the foreground, and the
    // visible frame is what can hold it (the input then follows the frame, not the
    // application); the focus keeper hands it back when the menu has closed.
    HWND frame = frame_.handle();
    SetForegroundWindow(frame != nullptr && IsWindowVisible(frame) ? frame : hidden_.handle());
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, p.x, p.y, 0, hidden_.handle(), nullptr);
    SetForegroundWindow(hidden_.handle());
  }
  DestroyMenu(loaded);
}

void Win32TrayUi::RunAboutDialog() { win32::RunAboutDialog(hidden_.handle()); }

bool Win32TrayUi::ChooseLabelFont(LabelFont& font) { return win32::ChooseLabelFont(hidden_.handle(), font); }

void Win32TrayUi::RunSettingsDialog(Settings& settings) { win32::RunSettingsDialog(hidden_.handle(), settings); }

void Win32TrayUi::RepaintFrame() {
  if (frame_.handle() != nullptr) InvalidateRect(frame_.handle(), nullptr, FALSE);
}

void Win32TrayUi::PostReloadLayout() {
  if (frame_.handle() != nullptr) PostMessageW(frame_.handle(), WM_RELOADLAYOUT, 0, 0);
}

void Win32TrayUi::EndProgram() { hidden_.Destroy(); }

}  // namespace tessary::win32
