#include "win32/app.h"

#include <shellapi.h>

#include <cstdlib>

#include "hooklib/tyhook.h"
#include "input/stroke_player.h"
#include "prediction/predictor.h"
#include "win32/key_output.h"
#include "win32/resource_ids.h"
#include "win32/win32_platform.h"

namespace tessary::win32 {

namespace {

constexpr const char* kTrayTip = "테사리 3.1";
constexpr DWORD kFrameStyle = WS_POPUP | WS_BORDER | WS_SYSMENU | WS_VISIBLE;  // WS_POPUPWINDOW

std::wstring WideAscii(const char* ascii) { return std::wstring(ascii, ascii + strlen(ascii)); }

LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  App& app = TheApp();
  switch (message) {
    case WM_CREATE:
      app.hidden = window;
      app.shell->OnHiddenWindowCreate();
      return 0;
    case WM_DESTROY:
      app.shell->OnHiddenWindowDestroy();
      app.hidden = nullptr;
      return 0;
    case WM_COMMAND:
      app.shell->OnCommand(LOWORD(wParam));
      return 0;
    case WM_TRAYICON:
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK KeyboardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      App& app = TheApp();
      app.keyboard = window;
      // The keyboard starts in Korean.
      ReloadLayout(*app.keyboardModel, *app.layouts, app.settings.kbdName, IL_KOREAN);
      return 0;
    }
    case WM_RBUTTONDOWN:
      ToggleLanguage(*TheApp().keyboardModel, *TheApp().layouts);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_IMESTATE: {
      App& app = TheApp();
      const auto state = static_cast<int32_t>(lParam);
      if (state != app.lastImeState) {
        SetLanguage(*app.keyboardModel, *app.layouts, state);
        InvalidateRect(window, nullptr, FALSE);
        app.lastImeState = state;
      }
      return 0;
    }
    case WM_RELOADLAYOUT: {
      App& app = TheApp();
      ReloadLayout(*app.keyboardModel, *app.layouts, app.settings.kbdName, app.keyboardModel->language);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      HBRUSH brush = CreateSolidBrush(TheApp().settings.bgndColor);
      FillRect(dc, &paint.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      TheApp().keyboard = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  App& app = TheApp();
  switch (message) {
    case WM_CREATE:
      app.frame = window;
      CreateWindowExW(0, WideAscii(kKeyboardWindowClass).c_str(), L"", WS_CHILD | WS_VISIBLE, 0, 0, 0,
                      0, window, nullptr, app.instance, nullptr);
      return 0;
    case WM_SIZE: {
      const int f = GetSystemMetrics(SM_CXFRAME);
      const int w = LOWORD(lParam), h = HIWORD(lParam);
      if (app.keyboard != nullptr) MoveWindow(app.keyboard, f, 19, w - 2 * f, h - f - 18, FALSE);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      HBRUSH brush = CreateSolidBrush(app.settings.bgndColor);
      FillRect(dc, &paint.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_IMESTATE:
    case WM_RELOADLAYOUT:
    case WM_SCANSWITCH:
      if (app.keyboard != nullptr) PostMessageW(app.keyboard, message, wParam, lParam);
      return 0;
    case WM_DESTROY: {
      WINDOWINFO info{};
      info.cbSize = sizeof info;
      if (GetWindowInfo(window, &info)) {
        app.shell->OnFrameWindowDestroyed(
            {info.rcWindow.left, info.rcWindow.top, info.rcWindow.right, info.rcWindow.bottom});
      }
      if (app.keyboard != nullptr) DestroyWindow(app.keyboard);
      app.frame = nullptr;
      PostQuitMessage(0);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool RegisterOne(const char* name, WNDPROC procedure, HCURSOR cursor) {
  const std::wstring className = WideAscii(name);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = TheApp().instance;
  wc.hCursor = cursor;
  wc.lpszClassName = className.c_str();
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

App& TheApp() {
  static App app;
  return app;
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
  TheApp().instanceSemaphore = semaphore;  // held until the process ends
  return false;
}

bool Win32ShellHost::RegisterWindowClasses() {
  HCURSOR pointer = LoadCursorW(TheApp().instance, MAKEINTRESOURCEW(IDC_TESSARY_POINTER));
  return RegisterOne(kHiddenWindowClass, HiddenWindowProc, nullptr) &&
         RegisterOne(kFrameWindowClass, FrameWindowProc, nullptr) &&
         RegisterOne(kKeyboardWindowClass, KeyboardWindowProc, pointer);
}

bool Win32ShellHost::CreateHiddenWindow() {
  HWND hidden = CreateWindowExW(0, WideAscii(kHiddenWindowClass).c_str(), L"", WS_OVERLAPPEDWINDOW, 10,
                                10, 0, 0, nullptr, nullptr, TheApp().instance, nullptr);
  if (hidden == nullptr) return false;
  ShowWindow(hidden, SW_HIDE);
  return true;
}

int Win32ShellHost::RunMessageLoop() {
  MSG message;
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return 1;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void Win32ShellHost::AddTrayIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = TheApp().hidden;
  data.uID = 0;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = WM_TRAYICON;
  data.hIcon = static_cast<HICON>(
      LoadImageW(TheApp().instance, MAKEINTRESOURCEW(IDI_TESSARY), IMAGE_ICON, 0, 0, 0));
  const std::wstring tip = Wide(kTrayTip);
  lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(std::size(data.szTip)));
  Shell_NotifyIconW(NIM_ADD, &data);
}

void Win32ShellHost::DeleteTrayIcon() {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = TheApp().hidden;
  data.uID = 0;
  Shell_NotifyIconW(NIM_DELETE, &data);
}

void Win32ShellHost::CreateFrameWindow(int32_t left, int32_t top, int32_t width, int32_t height) {
  CreateWindowExW(WS_EX_TOPMOST, WideAscii(kFrameWindowClass).c_str(), L"", kFrameStyle, left, top,
                  width, height, TheApp().hidden, nullptr, TheApp().instance, nullptr);
}

bool Win32ShellHost::InstallFocusHook() {
  TheApp().focusHook = SetWindowsHookExA(WH_CBT, CbtProc, GetModuleHandleA("tyhook"), 0);
  return TheApp().focusHook != nullptr;
}

void Win32ShellHost::StartTransparency() {
  // The translucent frame arrives with the on-screen keyboard; the frame stays opaque.
}

void Win32ShellHost::DestroyHiddenWindow() {
  if (TheApp().hidden != nullptr) DestroyWindow(TheApp().hidden);
}

void Win32ShellHost::PostQuit(int exitCode) { PostQuitMessage(exitCode); }

namespace {
void CALLBACK RepeatTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (TheApp().repeat != nullptr) TheApp().repeat->Tick();
}

// A Fatal stop ends the process through exit(): the keyboard still releases what it
// holds down.
void ReleaseModifiersAtExit() {
  if (TheApp().keyboardModel != nullptr) TheApp().keyboardModel->ReleaseModifiers();
}

// Forgets the keyboard before it goes away at the end of WinMain.
struct KeyboardRegistration {
  ~KeyboardRegistration() {
    TheApp().keyboardModel = nullptr;
    TheApp().activator = nullptr;
    TheApp().repeat = nullptr;
  }
};
}  // namespace

void Win32RepeatHost::SetRepeatTimer(uint32_t periodMs) {
  if (TheApp().keyboard != nullptr) SetTimer(TheApp().keyboard, KEY_REPEAT_TIMER_ID, periodMs, RepeatTimerProc);
}

void Win32RepeatHost::KillRepeatTimer() {
  if (TheApp().keyboard != nullptr) KillTimer(TheApp().keyboard, KEY_REPEAT_TIMER_ID);
}

void Win32RepeatHost::PointerPosition(int32_t& x, int32_t& y) {
  POINT p{};
  GetCursorPos(&p);
  if (TheApp().keyboard != nullptr) ScreenToClient(TheApp().keyboard, &p);
  x = p.x;
  y = p.y;
}

void Win32RepeatHost::InvalidateKeyboard() {
  if (TheApp().keyboard != nullptr) InvalidateRect(TheApp().keyboard, nullptr, FALSE);
}

}  // namespace tessary::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace tessary;
  win32::App& app = win32::TheApp();
  app.instance = instance;
  win32::Win32ShellHost host;
  win32::Win32InputModeHooks hooks;
  win32::Win32MessageBoxes messages;
  win32::Win32FileSystem files;
  win32::ResourceTexts texts;
  win32::Win32KeyLayout keyLayout;
  win32::Win32KeyOutput keyOutput;
  // Lives until WinMain returns: its end releases every modifier it may hold down.
  Keyboard keyboard(keyOutput, keyLayout);
  LayoutEnvironment layouts{files, texts, messages, app.settings, {}};
  StrokePlayer strokes(keyOutput, keyLayout);
  keyOutput.Attach(&strokes);
  NoPredictor predictor;  // word prediction arrives with the dictionaries
  KeyActivator activator(keyboard, strokes, predictor, layouts);
  win32::Win32RepeatHost repeatHost;
  KeyRepeat repeat(repeatHost, keyboard, [&activator](int index) {
    activator.ActivateKey(reinterpret_cast<WindowId>(win32::TheApp().keyboard), index);
  });
  app.keyboardModel = &keyboard;
  app.layouts = &layouts;
  app.activator = &activator;
  app.repeat = &repeat;
  win32::KeyboardRegistration registration;
  std::atexit(win32::ReleaseModifiersAtExit);
  // The dictionaries arrive with word prediction; until then there is nothing to load.
  Shell shell(app.settings, ShellServices{host, hooks, messages, files, texts, [] { return true; }});
  app.shell = &shell;
  return shell.Run();
}
