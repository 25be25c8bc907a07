#include "win32/app.h"

#include <shellapi.h>

#include <cstdlib>

#include "hooklib/tyhook.h"
#include "input/stroke_player.h"
#include "prediction/word_predictor.h"
#include "win32/dialogs.h"
#include "win32/gdi_canvas.h"
#include "win32/input_hooks.h"
#include "win32/key_output.h"
#include "win32/language_bar.h"
#include "win32/resource_ids.h"
#include "win32/win32_platform.h"

namespace tessary::win32 {

namespace {

constexpr const char* kTrayTip = "테사리 3.1";
constexpr DWORD kFrameStyle = WS_POPUP | WS_BORDER | WS_SYSMENU | WS_VISIBLE;  // WS_POPUPWINDOW

std::wstring WideAscii(const char* ascii) { return std::wstring(ascii, ascii + strlen(ascii)); }

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The screen's density: the monitor's where the system knows it per window (Windows 10
// and later), otherwise the system's.
int32_t WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (window != nullptr && getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int32_t>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// The sizing edge of a frame zone, as the system's sizing command takes it.
WPARAM SizingEdge(int32_t zone) {
  switch (zone) {
    case ZONE_LEFT: return WMSZ_LEFT;
    case ZONE_RIGHT: return WMSZ_RIGHT;
    case ZONE_TOP: return WMSZ_TOP;
    case ZONE_TOPLEFT: return WMSZ_TOPLEFT;
    case ZONE_TOPRIGHT: return WMSZ_TOPRIGHT;
    case ZONE_BOTTOM: return WMSZ_BOTTOM;
    case ZONE_BOTTOMLEFT: return WMSZ_BOTTOMLEFT;
    default: return WMSZ_BOTTOMRIGHT;
  }
}

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
      if (app.tray != nullptr) app.tray->OnCommand(LOWORD(wParam));
      return 0;
    case WM_TRAYICON:
      if (app.tray != nullptr) app.tray->OnTrayIcon(static_cast<uint32_t>(lParam));
      return 0;
    case WM_QUERYENDSESSION:
      app.shell->OnEndSession();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) app.shell->OnEndSession();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

int32_t PointX(LPARAM lParam) { return static_cast<int16_t>(LOWORD(lParam)); }
int32_t PointY(LPARAM lParam) { return static_cast<int16_t>(HIWORD(lParam)); }

// The paint pipeline: the keyboard into a fresh off-screen bitmap, copied in one go,
// then the key under the pointer straight onto the window.
void PaintKeyboard(HWND window) {
  App& app = TheApp();
  if (app.backBuffer != nullptr) {
    DeleteObject(app.backBuffer);
    app.backBuffer = nullptr;
  }
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  HDC memory = CreateCompatibleDC(dc);
  app.backBuffer = CreateCompatibleBitmap(dc, client.right, client.bottom);
  if (memory != nullptr && app.backBuffer != nullptr) {
    HGDIOBJ old = SelectObject(memory, app.backBuffer);
    GdiCanvas image(memory);
    app.keyboardWindow->PaintImage(image, {client.left, client.top, client.right, client.bottom});
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    GdiCanvas screen(dc);
    app.keyboardWindow->PaintPointerKey(screen);
    SelectObject(memory, old);
  }
  if (memory != nullptr) DeleteDC(memory);
  EndPaint(window, &paint);
}

LRESULT CALLBACK KeyboardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  App& app = TheApp();
  switch (message) {
    case WM_CREATE:
      app.keyboard = window;
      app.keyboardForTimers.store(window);
      if (app.modes != nullptr) app.modes->keyboardWindow = reinterpret_cast<WindowId>(window);
      if (app.scanTimer != nullptr) app.scanTimer->SetTarget(window);
      app.keyboardWindow->OnCreate(reinterpret_cast<WindowId>(window));
      return 0;
    case WM_SIZE:
      app.keyboardWindow->OnSize(LOWORD(lParam));
      return 0;
    case WM_PAINT:
      PaintKeyboard(window);
      return 0;
    case WM_MOUSEMOVE:
      app.pointer->OnMouseMove(PointX(lParam), PointY(lParam));
      return 0;
    case WM_MOUSEHOVER:
      app.pointer->OnMouseHover();
      return 0;
    case WM_MOUSELEAVE:
      app.pointer->OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
      app.pointer->OnButtonDown(PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONUP:
      app.pointer->OnButtonUp(PointX(lParam), PointY(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kDwellTimerId) app.pointer->OnDwellTick();
      return 0;
    case WM_RBUTTONDOWN:
      app.keyboardWindow->OnRightButtonDown();
      return 0;
    case WM_IMESTATE:
      app.keyboardWindow->OnImeState(static_cast<int32_t>(lParam));
      return 0;
    case WM_RELOADLAYOUT:
      app.keyboardWindow->OnReloadLayout();
      return 0;
    case WM_SCANSWITCH:
      app.keyboardWindow->OnScanSwitch();
      return 0;
    case WM_SCANTICK:
      if (app.scan != nullptr) app.scan->OnTimerTick(static_cast<uint32_t>(wParam));
      return 0;
    case WM_DESTROY:
      if (app.keyboardWindow != nullptr) app.keyboardWindow->OnDestroy();
      if (app.backBuffer != nullptr) {
        DeleteObject(app.backBuffer);
        app.backBuffer = nullptr;
      }
      app.keyboard = nullptr;
      app.keyboardForTimers.store(nullptr);
      if (app.scanTimer != nullptr) app.scanTimer->SetTarget(nullptr);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The border area and the caption strip; the keys are the keyboard window's.
void PaintFrame(HWND window) {
  App& app = TheApp();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  const FrameMetrics metrics = app.frameController->Metrics();
  const FrameLayout layout = LayOutFrame(client.right, client.bottom, metrics);

  const RECT outerRect = ToRect(layout.borderOuter), innerRect = ToRect(layout.borderInner);
  HRGN outer = CreateRectRgnIndirect(&outerRect);
  HRGN inner = CreateRectRgnIndirect(&innerRect);
  HBRUSH border = CreateSolidBrush(app.settings.bgndColor);
  if (outer && inner && border && CombineRgn(outer, outer, inner, RGN_DIFF) != ERROR) FillRgn(dc, outer, border);
  if (border) DeleteObject(border);
  if (inner) DeleteObject(inner);
  if (outer) DeleteObject(outer);

  const COLORREF a = GetSysColor(GetActiveWindow() == window ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  const COLORREF b = GetSysColor(COLOR_WINDOW);
  TRIVERTEX vertices[2] = {
      {layout.caption.left, layout.caption.top, static_cast<COLOR16>(GetRValue(a) << 8),
       static_cast<COLOR16>(GetGValue(a) << 8), static_cast<COLOR16>(GetBValue(a) << 8), 0},
      {layout.caption.right, layout.caption.bottom, static_cast<COLOR16>(GetRValue(b) << 8),
       static_cast<COLOR16>(GetGValue(b) << 8), static_cast<COLOR16>(GetBValue(b) << 8), 0}};
  GRADIENT_RECT gradient{0, 1};
  GradientFill(dc, vertices, 2, &gradient, 1, GRADIENT_FILL_RECT_H);

  HPEN line = CreatePen(PS_SOLID, 1, RGB(180, 180, 180));
  HGDIOBJ oldPen = line ? SelectObject(dc, line) : nullptr;
  MoveToEx(dc, layout.lineLeft, layout.lineY, nullptr);
  LineTo(dc, layout.lineRight, layout.lineY);
  if (oldPen) SelectObject(dc, oldPen);
  if (line) DeleteObject(line);

  app.frameController->DrawButtons();

  const int side = metrics.button;
  HICON icon = static_cast<HICON>(LoadImageW(app.instance, MAKEINTRESOURCEW(IDI_TESSARY), IMAGE_ICON, side, side, 0));
  if (icon != nullptr) {
    DrawIconEx(dc, 1, 1, icon, side, side, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
  }

  HFONT font = CreateFontW(metrics.caption, 0, 0, 0, 700, FALSE, FALSE, FALSE, 0, 0, 0, 0, 2, L"MS Sans Serif");
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  RECT title = ToRect(layout.title);
  const std::wstring text = Wide(kTrayTip);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &title, DT_SINGLELINE | DT_VCENTER);
  if (oldFont) SelectObject(dc, oldFont);
  if (font) DeleteObject(font);
  EndPaint(window, &paint);
}

LRESULT CALLBACK FrameWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  App& app = TheApp();
  switch (message) {
    case WM_CREATE:
      app.frame = window;
      CreateWindowExW(0, WideAscii(kKeyboardWindowClass).c_str(), L"", WS_CHILD | WS_VISIBLE, 0, 0, 0,
                      0, window, nullptr, app.instance, nullptr);
      app.frameController->OnCreate(reinterpret_cast<WindowId>(window));
      app.keyboardWindow->SetDpi(app.frameController->dpi());
      return 0;
    case WM_SIZE:
      app.frameController->OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      app.keyboardWindow->SetDpi(HIWORD(wParam));
      app.frameController->OnDpiChanged(HIWORD(wParam),
                                        {suggested->left, suggested->top, suggested->right, suggested->bottom});
      return 0;
    }
    case WM_PAINT:
      PaintFrame(window);
      return 0;
    case WM_MOUSEACTIVATE:
      // A click on the frame or the keys never takes the activation from the
      // application being typed into (the keyboard window asks its parent).
      return MA_NOACTIVATE;
    case WM_ACTIVATE: {
      HWND other = lParam != 0 ? GetAncestor(reinterpret_cast<HWND>(lParam), GA_ROOT) : nullptr;
      app.frameController->OnActivate(LOWORD(wParam) == WA_CLICKACTIVE, reinterpret_cast<WindowId>(other));
      return 0;
    }
    case WM_MOUSEMOVE:
      app.frameController->OnMouseMove(PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      app.frameController->OnLButtonDown(PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONUP:
      app.frameController->OnLButtonUp(PointX(lParam), PointY(lParam));
      return 0;
    case WM_MOUSEWHEEL:
      app.frameController->OnMouseWheel(static_cast<int16_t>(HIWORD(wParam)));
      return 0;
    case WM_TIMER:
      if (wParam == kTransparencyTimerId) app.frameController->OnTransparencyTick();
      if (wParam == kCaptionDwellTimerId) app.frameController->OnCaptionDwellTick();
      return 0;
    case WM_IMESTATE:
      // From the focus hook: wParam is the window gaining the focus.
      if (wParam != 0) {
        HWND focused = GetAncestor(reinterpret_cast<HWND>(wParam), GA_ROOT);
        app.frameController->OnFocusReport(reinterpret_cast<WindowId>(focused));
      }
      app.frameController->OnImeState(static_cast<int32_t>(lParam));
      return 0;
    case WM_RELOADLAYOUT:
      app.frameController->OnReloadLayout();
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

int32_t Win32ShellHost::SystemDpi() { return WindowDpi(nullptr); }

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

void Win32ShellHost::RemoveFocusHook() {
  if (TheApp().focusHook != nullptr) UnhookWindowsHookEx(TheApp().focusHook);
  TheApp().focusHook = nullptr;
}

void Win32ShellHost::StartTransparency() {
  if (TheApp().frameController != nullptr) TheApp().frameController->StartTransparency();
}

void Win32TrayUi::ShowKeyboard() {
  HWND frame = TheApp().frame;
  if (frame == nullptr) return;
  SetWindowLongW(frame, GWL_EXSTYLE, GetWindowLongW(frame, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  SetLayeredWindowAttributes(frame, 0, 255, LWA_ALPHA);
  ShowWindow(frame, SW_SHOWNA);
  // In front of the others without taking the foreground from the application.
  SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Win32TrayUi::ShowMenu(const TrayMenu& model) {
  App& app = TheApp();
  HMENU loaded = LoadMenuW(app.instance, MAKEINTRESOURCEW(kTrayMenuResource));
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
    SetForegroundWindow(app.frame != nullptr && IsWindowVisible(app.frame) ? app.frame : app.hidden);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, p.x, p.y, 0, app.hidden, nullptr);
    SetForegroundWindow(app.hidden);
  }
  DestroyMenu(loaded);
}

void Win32TrayUi::RunAboutDialog() { win32::RunAboutDialog(TheApp().hidden); }

bool Win32TrayUi::ChooseLabelFont(LabelFont& font) { return win32::ChooseLabelFont(TheApp().hidden, font); }

void Win32TrayUi::RunSettingsDialog(Settings& settings) { win32::RunSettingsDialog(TheApp().hidden, settings); }

void Win32TrayUi::RepaintFrame() {
  if (TheApp().frame != nullptr) InvalidateRect(TheApp().frame, nullptr, FALSE);
}

void Win32TrayUi::PostReloadLayout() {
  if (TheApp().frame != nullptr) PostMessageW(TheApp().frame, WM_RELOADLAYOUT, 0, 0);
}

void Win32TrayUi::EndProgram() { Win32ShellHost().DestroyHiddenWindow(); }

void Win32ShellHost::DestroyHiddenWindow() {
  if (TheApp().hidden != nullptr) DestroyWindow(TheApp().hidden);
}

void Win32ShellHost::PostQuit(int exitCode) { PostQuitMessage(exitCode); }

bool Win32ShellHost::FrameWindowRect(WindowRect& outer) {
  WINDOWINFO info{};
  info.cbSize = sizeof info;
  if (TheApp().frame == nullptr || !GetWindowInfo(TheApp().frame, &info)) return false;
  outer = {info.rcWindow.left, info.rcWindow.top, info.rcWindow.right, info.rcWindow.bottom};
  return true;
}

namespace {
void CALLBACK RepeatTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (TheApp().repeat != nullptr) TheApp().repeat->Tick();
}

// Forgets the keyboard before it goes away at the end of WinMain.
struct KeyboardRegistration {
  ~KeyboardRegistration() {
    TheApp().keyboardModel = nullptr;
    TheApp().activator = nullptr;
    TheApp().repeat = nullptr;
    TheApp().frameController = nullptr;
    TheApp().keyboardWindow = nullptr;
    TheApp().pointer = nullptr;
    TheApp().scan = nullptr;
    TheApp().tray = nullptr;
    TheApp().modes = nullptr;
    TheApp().scanTimer = nullptr;
  }
};
}  // namespace

void Win32KeyboardHost::SetRepeatTimer(uint32_t periodMs) {
  if (TheApp().keyboard != nullptr) SetTimer(TheApp().keyboard, KEY_REPEAT_TIMER_ID, periodMs, RepeatTimerProc);
}

void Win32KeyboardHost::KillRepeatTimer() {
  if (TheApp().keyboard != nullptr) KillTimer(TheApp().keyboard, KEY_REPEAT_TIMER_ID);
}

void Win32KeyboardHost::PointerPosition(int32_t& x, int32_t& y) {
  POINT p{};
  GetCursorPos(&p);
  if (TheApp().keyboard != nullptr) ScreenToClient(TheApp().keyboard, &p);
  x = p.x;
  y = p.y;
}

void Win32KeyboardHost::InvalidateKeyboard() {
  if (TheApp().keyboard != nullptr) InvalidateRect(TheApp().keyboard, nullptr, FALSE);
}

void Win32KeyboardHost::SetDwellTimer(uint32_t periodMs) {
  if (TheApp().keyboard != nullptr) SetTimer(TheApp().keyboard, kDwellTimerId, periodMs, nullptr);
}

void Win32KeyboardHost::KillDwellTimer() {
  if (TheApp().keyboard != nullptr) KillTimer(TheApp().keyboard, kDwellTimerId);
}

void Win32KeyboardHost::PostClick(int32_t x, int32_t y) {
  HWND keyboard = TheApp().keyboard;
  if (keyboard == nullptr) return;
  const LPARAM lParam = MAKELPARAM(x, y);
  PostMessageW(keyboard, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
  PostMessageW(keyboard, WM_LBUTTONUP, MK_LBUTTON, lParam);
}

void Win32KeyboardHost::RequestHoverNotice(uint32_t ms) {
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER, TheApp().keyboard, ms};
  TrackMouseEvent(&track);
}

void Win32KeyboardHost::RequestLeaveNotice() {
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, TheApp().keyboard, 0};
  TrackMouseEvent(&track);
}

void Win32KeyboardHost::DrawDirect(const std::function<void(Canvas&)>& draw) {
  if (TheApp().keyboard == nullptr) return;
  WindowDc dc(TheApp().keyboard);
  if (dc.get() == nullptr) return;
  GdiCanvas canvas(dc.get());
  draw(canvas);
}

void Win32KeyboardHost::PlayClickSound() {
  PlaySoundA(MAKEINTRESOURCEA(IDW_CLICK), TheApp().instance, SND_RESOURCE | SND_ASYNC);
}

int32_t Win32FrameHost::SizingFrame() { return GetSystemMetrics(SM_CXFRAME); }

int32_t Win32FrameHost::Dpi() { return WindowDpi(TheApp().frame); }

void Win32FrameHost::SetFrameRect(const KeyRect& r) {
  if (TheApp().frame != nullptr) {
    SetWindowPos(TheApp().frame, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32FrameHost::PointerInClient(int32_t& x, int32_t& y) {
  POINT p{};
  GetCursorPos(&p);
  if (TheApp().frame != nullptr) ScreenToClient(TheApp().frame, &p);
  x = p.x;
  y = p.y;
}

void Win32FrameHost::ClientSize(int32_t& w, int32_t& h) {
  RECT r{};
  if (TheApp().frame != nullptr) GetClientRect(TheApp().frame, &r);
  w = r.right;
  h = r.bottom;
}

bool Win32FrameHost::IsVisible() { return TheApp().frame != nullptr && IsWindowVisible(TheApp().frame); }

bool Win32FrameHost::IsLayered() {
  return TheApp().frame != nullptr && (GetWindowLongW(TheApp().frame, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

void Win32FrameHost::SetLayered(bool layered) {
  HWND frame = TheApp().frame;
  if (frame == nullptr) return;
  const LONG style = GetWindowLongW(frame, GWL_EXSTYLE);
  const LONG wanted = layered ? (style | WS_EX_LAYERED) : (style & ~WS_EX_LAYERED);
  if (wanted != style) SetWindowLongW(frame, GWL_EXSTYLE, wanted);
}

void Win32FrameHost::SetAlpha(uint8_t alpha) {
  if (TheApp().frame != nullptr) SetLayeredWindowAttributes(TheApp().frame, 0, alpha, LWA_ALPHA);
}

void Win32FrameHost::SetCursor(FrameCursor cursor) {
  const wchar_t* shape = IDC_ARROW;
  switch (cursor) {
    case FrameCursor::kSizeWestEast: shape = IDC_SIZEWE; break;
    case FrameCursor::kSizeNorthSouth: shape = IDC_SIZENS; break;
    case FrameCursor::kSizeNorthwestSoutheast: shape = IDC_SIZENWSE; break;
    case FrameCursor::kSizeNortheastSouthwest: shape = IDC_SIZENESW; break;
    case FrameCursor::kArrow: break;
  }
  ::SetCursor(LoadCursorW(nullptr, shape));
}

void Win32FrameHost::BeginMove() {
  // SC_MOVE with HTCAPTION in its low bits: the move follows the pointer from where it is.
  if (TheApp().frame != nullptr) SendMessageW(TheApp().frame, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void Win32FrameHost::BeginResize(int32_t zone) {
  // SC_SIZE with the edge (WMSZ_LEFT .. WMSZ_BOTTOMRIGHT) in its low bits.
  if (TheApp().frame != nullptr) SendMessageW(TheApp().frame, WM_SYSCOMMAND, SC_SIZE | SizingEdge(zone), 0);
}

void Win32FrameHost::PostTrayMessage(uint32_t mouseMessage) {
  if (TheApp().hidden != nullptr) PostMessageW(TheApp().hidden, WM_TRAYICON, 0, mouseMessage);
}

void Win32FrameHost::SendLanguageSwitch() {
  if (TheApp().keyboard != nullptr) SendMessageW(TheApp().keyboard, WM_RBUTTONDOWN, 0, 0);
}

WindowId Win32FocusHost::Foreground() { return reinterpret_cast<WindowId>(GetForegroundWindow()); }

WindowKind Win32FocusHost::KindOf(WindowId id) {
  HWND window = reinterpret_cast<HWND>(id);
  if (window == nullptr || !IsWindow(window)) return WindowKind::kNone;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  HWND top = GetAncestor(window, GA_ROOT);
  if (top == nullptr) top = window;
  char name[64] = {};
  GetClassNameA(top, name, sizeof name);
  return ClassifyWindow(process == GetCurrentProcessId(), IsWindowVisible(top) != FALSE, name);
}

void Win32FocusHost::SetForeground(WindowId id) {
  HWND window = GetAncestor(reinterpret_cast<HWND>(id), GA_ROOT);
  if (window != nullptr) SetForegroundWindow(window);
}

void Win32FrameHost::HideFrame() {
  if (TheApp().frame != nullptr) ShowWindow(TheApp().frame, SW_HIDE);
}

void Win32FrameHost::InvalidateCaption(int32_t width) {
  const int32_t height = TheApp().frameController != nullptr ? TheApp().frameController->Metrics().caption : 18;
  const RECT strip{0, 0, width, height};
  if (TheApp().frame != nullptr) InvalidateRect(TheApp().frame, &strip, FALSE);
}

void Win32FrameHost::InvalidateFrame() {
  if (TheApp().frame != nullptr) InvalidateRect(TheApp().frame, nullptr, FALSE);
}

void Win32FrameHost::MoveKeyboardWindow(const KeyRect& r) {
  if (TheApp().keyboard != nullptr) {
    MoveWindow(TheApp().keyboard, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  }
}

void Win32FrameHost::PostImeState(int32_t state) {
  if (TheApp().keyboard != nullptr) PostMessageW(TheApp().keyboard, WM_IMESTATE, 0, state);
}

void Win32FrameHost::ForwardReloadLayout() {
  if (TheApp().keyboard != nullptr) PostMessageW(TheApp().keyboard, WM_RELOADLAYOUT, 0, 0);
}

bool Win32FrameHost::SetTransparencyTimer(uint32_t periodMs) {
  return TheApp().frame != nullptr && SetTimer(TheApp().frame, kTransparencyTimerId, periodMs, nullptr) != 0;
}

void Win32FrameHost::KillTransparencyTimer() {
  if (TheApp().frame != nullptr) KillTimer(TheApp().frame, kTransparencyTimerId);
}

void Win32FrameHost::SetCaptionDwellTimer(uint32_t periodMs) {
  if (TheApp().frame != nullptr) SetTimer(TheApp().frame, kCaptionDwellTimerId, periodMs, nullptr);
}

void Win32FrameHost::KillCaptionDwellTimer() {
  if (TheApp().frame != nullptr) KillTimer(TheApp().frame, kCaptionDwellTimerId);
}

namespace {
// The image method's one-shot timer. It runs on the multimedia-timer thread: it reads
// only the language bar's pixels and its own profile, and its one effect is the post.
// The timer callbacks of the program never run at the same time.
void CALLBACK ImageDetectionTimer(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  Win32LanguageBarFinder finder;
  const int32_t state = DetectImeByImage(finder);
  HWND keyboard = TheApp().keyboardForTimers.load();
  if (keyboard != nullptr) PostMessageW(keyboard, WM_IMESTATE, 0, state);
}
}  // namespace

void Win32FrameHost::StartImageDetection(uint32_t delayMs) { StartOneShotTimer(delayMs, ImageDetectionTimer, 0); }

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
  win32::Cp949Codec codec;
  WordPredictor predictor(codec);
  KeyActivator activator(keyboard, strokes, predictor, layouts);
  const auto activate = [&activator](int index) {
    activator.ActivateKey(reinterpret_cast<WindowId>(win32::TheApp().keyboard), index);
  };
  win32::Win32KeyboardHost keyboardHost;
  KeyRepeat repeat(keyboardHost, keyboard, activate);
  KeyDrawing drawing(keyboard, app.settings);
  PointerInput pointer(keyboardHost, keyboard, drawing, app.settings, repeat, activate);
  win32::Win32ScanTimer scanTimer;
  ScanController scan(keyboardHost, keyboard, drawing, app.settings, scanTimer,
                      [&activator](WindowId window, int index) { activator.ActivateKey(window, index); });
  KeyboardWindow keyboardWindow(keyboardHost, keyboard, layouts, app.settings, drawing, pointer, &scan);
  win32::Win32FrameHost frameHost;
  win32::GdiGlyphPainter glyphs;
  GlyphButton languageButton(glyphs), hideButton(glyphs);
  win32::Win32FocusHost focusHost;
  FocusKeeper focus(focusHost);
  Frame frame(frameHost, app.settings, languageButton, hideButton, &focus);
  app.keyboardModel = &keyboard;
  app.layouts = &layouts;
  app.activator = &activator;
  app.repeat = &repeat;
  app.pointer = &pointer;
  app.keyboardWindow = &keyboardWindow;
  app.frameController = &frame;
  app.scan = &scan;
  InputModeContext modes{app.settings, hooks, messages, &scan, [&frame] { frame.StopTransparency(); }, 0};
  win32::Win32TrayUi trayUi;
  Tray tray(app.settings, files, trayUi, modes, &frame, &focus);
  app.modes = &modes;
  app.tray = &tray;
  app.scanTimer = &scanTimer;
  win32::KeyboardRegistration registration;
  // Should anything end the process through exit(), the keyboard still releases what it
  // holds down.
  ModifierReleaseAtExit releaseAtExit(keyboard);
  tray.onWordLearning = [&predictor](bool on) { predictor.setLearning(on); };
  tray.onForgetWords = [&predictor, &files] { predictor.forgetLearnedWords(files); };
  Shell shell(app.settings, ShellServices{host, hooks, messages, files, texts,
                                          [&predictor, &files, &app] {
                                            predictor.loadLearnedWords(files);
                                            predictor.setLearning(app.settings.useWordLearning);
                                            return predictor.loadDictionaries(files);
                                          },
                                          [&predictor, &files] { predictor.saveLearnedWords(files); }});
  app.shell = &shell;
  return shell.Run();
}
