#include "win32/frame_window.h"

#include "imedetect/ime_image.h"
#include "platform/window_messages.h"
#include "win32/gdi_canvas.h"
#include "win32/hidden_window.h"
#include "win32/keyboard_window.h"
#include "win32/language_bar.h"
#include "win32/resource_ids.h"
#include "win32/win32_platform.h"
#include "win32/window_support.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace tessary::win32 {

namespace {

constexpr DWORD kFrameStyle = WS_POPUP | WS_BORDER | WS_SYSMENU;  // WS_POPUPWINDOW
// Top-most, and never activated by the system: not when it is shown, not by a click.
constexpr DWORD kFrameExStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE;
constexpr UINT kInFrontFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

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

const wchar_t* CursorShape(FrameCursor cursor) {
  switch (cursor) {
    case FrameCursor::kSizeWestEast: return IDC_SIZEWE;
    case FrameCursor::kSizeNorthSouth: return IDC_SIZENS;
    case FrameCursor::kSizeNorthwestSoutheast: return IDC_SIZENWSE;
    case FrameCursor::kSizeNortheastSouthwest: return IDC_SIZENESW;
    case FrameCursor::kArrow: break;
  }
  return IDC_ARROW;
}

// The image method's one-shot timer. It runs on the multimedia-timer thread: it reads
// only the language bar's pixels and its own profile, and its one effect is the post.
// The timer callbacks of the program never run at the same time.
void CALLBACK ImageDetectionTimer(UINT, UINT, DWORD_PTR keyboard, DWORD_PTR, DWORD_PTR) {
  Win32LanguageBarFinder finder;
  const int32_t state = DetectImeByImage(finder);
  reinterpret_cast<const Win32KeyboardWindow*>(keyboard)->PostImeState(state);
}

// The sizing grip: on the buttons' white, three ridges across its top-right corner, the
// corner it sizes the frame by (the system's own grip draws them at a bottom-right one).
void DrawGrip(HDC dc, const RECT& r) {
  FillRect(dc, &r, GetSysColorBrush(COLOR_WINDOW));
  const int side = r.right - r.left;
  if (side < 6) return;
  const int thickness = side / 12 > 1 ? side / 12 : 1;
  HPEN pen = CreatePen(PS_SOLID, thickness, GetSysColor(COLOR_BTNSHADOW));
  if (pen == nullptr) return;
  HGDIOBJ old = SelectObject(dc, pen);
  const int inset = thickness + 1;
  for (int ridge = 1; ridge <= 3; ++ridge) {
    const int reach = (side - inset) * (ridge * 3 + 1) / 10;  // 40 %, 70 % and 100 % of the side
    MoveToEx(dc, r.right - inset - reach, r.top + inset, nullptr);
    LineTo(dc, r.right - inset, r.top + inset + reach);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

bool Win32FrameWindow::Register(HINSTANCE instance) {
  return RegisterWindowClass(instance, kFrameWindowClass, ObjectWindowProcedure<Win32FrameWindow>, nullptr);
}

void Win32FrameWindow::Create(HWND owner, int32_t left, int32_t top, int32_t width, int32_t height) {
  HWND frame = CreateWindowExW(kFrameExStyle, WideAscii(kFrameWindowClass).c_str(), L"", kFrameStyle, left, top,
                               width, height, owner, nullptr, instance_, this);
  if (frame == nullptr) return;
  // Shown without taking the foreground from the application started before it (the
  // first showing also lays the frame out), then in front of every other window.
  ShowWindow(frame, SW_SHOWNOACTIVATE);
  SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, kInFrontFlags);
}

int32_t Win32FrameWindow::CaptionHeight() const { return parts_ ? parts_->controller.Metrics().caption : 18; }

void Win32FrameWindow::StartTransparency() {
  if (parts_) parts_->controller.StartTransparency();
}

// The border area and the caption strip; the keys are the keyboard window's.
void Win32FrameWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle_, &paint);
  RECT client{};
  GetClientRect(handle_, &client);
  const FrameMetrics metrics = parts_->controller.Metrics();
  const FrameLayout layout = LayOutFrame(client.right, client.bottom, metrics);

  const RECT outerRect = ToRect(layout.borderOuter), innerRect = ToRect(layout.borderInner);
  HRGN outer = CreateRectRgnIndirect(&outerRect);
  HRGN inner = CreateRectRgnIndirect(&innerRect);
  HBRUSH border = CreateSolidBrush(parts_->settings.bgndColor);
  if (outer && inner && border && CombineRgn(outer, outer, inner, RGN_DIFF) != ERROR) FillRgn(dc, outer, border);
  if (border) DeleteObject(border);
  if (inner) DeleteObject(inner);
  if (outer) DeleteObject(outer);

  const COLORREF a = GetSysColor(GetActiveWindow() == handle_ ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
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

  parts_->controller.DrawButtons();
  DrawGrip(dc, ToRect(layout.grip));

  const int side = metrics.button;
  HICON icon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TESSARY), IMAGE_ICON, side, side, 0));
  if (icon != nullptr) {
    DrawIconEx(dc, 1, 1, icon, side, side, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
  }

  HFONT font = CreateFontW(metrics.caption, 0, 0, 0, 700, FALSE, FALSE, FALSE, 0, 0, 0, 0, 2, L"MS Sans Serif");
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  RECT title = ToRect(layout.title);
  const std::string& note = parts_->controller.titleNote();
  std::wstring text = Wide(note.empty() ? std::string(kProgramTitle) : std::string(kProgramTitle) + " - " + note);
  // The keyboard composes Hangul itself here: said beside the title, nothing more.
  if (parts_->controller.compositionMark()) text += L"   \u00B7 " + Wide(kCompositionMarkText);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &title, DT_SINGLELINE | DT_VCENTER);
  if (oldFont) SelectObject(dc, oldFont);
  if (font) DeleteObject(font);
  EndPaint(handle_, &paint);
}

LRESULT Win32FrameWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Frame& frame = parts_->controller;
  switch (message) {
    case WM_CREATE:
      handle_ = window;
      keyboard_.Create(window);
      frame.OnCreate(reinterpret_cast<WindowId>(window));
      parts_->keyboard.SetDpi(frame.dpi());
      return 0;
    case WM_SIZE:
      frame.OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      parts_->keyboard.SetDpi(HIWORD(wParam));
      frame.OnDpiChanged(HIWORD(wParam), {suggested->left, suggested->top, suggested->right, suggested->bottom});
      return 0;
    }
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEACTIVATE:
      // A click on the frame or the keys never takes the activation from the
      // application being typed into (the keyboard window asks its parent).
      return MA_NOACTIVATE;
    case WM_ACTIVATE: {
      HWND other = lParam != 0 ? GetAncestor(reinterpret_cast<HWND>(lParam), GA_ROOT) : nullptr;
      frame.OnActivate(LOWORD(wParam) == WA_CLICKACTIVE, reinterpret_cast<WindowId>(other));
      return 0;
    }
    case WM_MOUSEMOVE:
      frame.OnMouseMove(PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      frame.OnLButtonDown(PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONUP:
      frame.OnLButtonUp(PointX(lParam), PointY(lParam));
      return 0;
    case WM_MOUSEWHEEL:
      frame.OnMouseWheel(static_cast<int16_t>(HIWORD(wParam)));
      return 0;
    case WM_TIMER:
      if (wParam == kTransparencyTimerId) frame.OnTransparencyTick();
      if (wParam == kCaptionDwellTimerId) frame.OnCaptionDwellTick();
      if (wParam == kTitleNoteTimerId) frame.OnTitleNoteTick();
      return 0;
    case WM_IMESTATE:
      // From the focus hook: wParam is the window gaining the focus.
      if (wParam != 0) {
        HWND focused = GetAncestor(reinterpret_cast<HWND>(wParam), GA_ROOT);
        frame.OnFocusReport(reinterpret_cast<WindowId>(focused));
      }
      frame.OnImeState(static_cast<int32_t>(lParam));
      return 0;
    case WM_RELOADLAYOUT:
      frame.OnReloadLayout();
      return 0;
    case WM_DESTROY: {
      WINDOWINFO info{};
      info.cbSize = sizeof info;
      if (GetWindowInfo(window, &info)) {
        parts_->shell.OnFrameWindowDestroyed(
            {info.rcWindow.left, info.rcWindow.top, info.rcWindow.right, info.rcWindow.bottom});
      }
      keyboard_.Destroy();
      handle_ = nullptr;
      PostQuitMessage(0);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

int32_t Win32FrameHost::SizingFrame() { return GetSystemMetrics(SM_CXFRAME); }

int32_t Win32FrameHost::Dpi() { return WindowDpi(frame_.handle()); }

void Win32FrameHost::SetFrameRect(const KeyRect& r) {
  if (frame_.handle() != nullptr) {
    SetWindowPos(frame_.handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32FrameHost::PointerInClient(int32_t& x, int32_t& y) {
  POINT p{};
  GetCursorPos(&p);
  if (frame_.handle() != nullptr) ScreenToClient(frame_.handle(), &p);
  x = p.x;
  y = p.y;
}

void Win32FrameHost::ClientSize(int32_t& w, int32_t& h) {
  RECT r{};
  if (frame_.handle() != nullptr) GetClientRect(frame_.handle(), &r);
  w = r.right;
  h = r.bottom;
}

bool Win32FrameHost::IsVisible() { return frame_.handle() != nullptr && IsWindowVisible(frame_.handle()); }

bool Win32FrameHost::IsLayered() {
  return frame_.handle() != nullptr && (GetWindowLongW(frame_.handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

void Win32FrameHost::SetLayered(bool layered) {
  HWND frame = frame_.handle();
  if (frame == nullptr) return;
  const LONG style = GetWindowLongW(frame, GWL_EXSTYLE);
  const LONG wanted = layered ? (style | WS_EX_LAYERED) : (style & ~WS_EX_LAYERED);
  if (wanted != style) SetWindowLongW(frame, GWL_EXSTYLE, wanted);
}

void Win32FrameHost::SetAlpha(uint8_t alpha) {
  if (frame_.handle() != nullptr) SetLayeredWindowAttributes(frame_.handle(), 0, alpha, LWA_ALPHA);
}

void Win32FrameHost::SetCursor(FrameCursor cursor) { ::SetCursor(LoadCursorW(nullptr, CursorShape(cursor))); }

void Win32FrameHost::BeginMove() {
  // SC_MOVE with HTCAPTION in its low bits: the move follows the pointer from where it is.
  if (frame_.handle() != nullptr) SendMessageW(frame_.handle(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
}

void Win32FrameHost::BeginResize(int32_t zone) {
  // SC_SIZE with the edge (WMSZ_LEFT .. WMSZ_BOTTOMRIGHT) in its low bits.
  if (frame_.handle() != nullptr) SendMessageW(frame_.handle(), WM_SYSCOMMAND, SC_SIZE | SizingEdge(zone), 0);
}

void Win32FrameHost::PostOpenTrayMenu() {
  if (hidden_.handle() != nullptr) PostMessageW(hidden_.handle(), WM_TRAYICON, 0, WM_RBUTTONUP);
}

void Win32FrameHost::SendLanguageSwitch() {
  HWND keyboard = frame_.keyboardWindow().handle();
  if (keyboard != nullptr) SendMessageW(keyboard, WM_RBUTTONDOWN, 0, 0);
}

void Win32FrameHost::HideFrame() {
  if (frame_.handle() != nullptr) ShowWindow(frame_.handle(), SW_HIDE);
}

void Win32FrameHost::KeepInFront() {
  if (frame_.handle() != nullptr) SetWindowPos(frame_.handle(), HWND_TOPMOST, 0, 0, 0, 0, kInFrontFlags);
}

void Win32FrameHost::InvalidateCaption(int32_t width) {
  const RECT strip{0, 0, width, frame_.CaptionHeight()};
  if (frame_.handle() != nullptr) InvalidateRect(frame_.handle(), &strip, FALSE);
}

void Win32FrameHost::InvalidateFrame() {
  if (frame_.handle() != nullptr) InvalidateRect(frame_.handle(), nullptr, FALSE);
}

void Win32FrameHost::MoveKeyboardWindow(const KeyRect& r) {
  HWND keyboard = frame_.keyboardWindow().handle();
  if (keyboard != nullptr) MoveWindow(keyboard, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
}

void Win32FrameHost::PostImeState(int32_t state) { frame_.keyboardWindow().PostImeState(state); }

void Win32FrameHost::ForwardReloadLayout() { frame_.keyboardWindow().PostReloadLayout(); }

bool Win32FrameHost::SetTransparencyTimer(uint32_t periodMs) {
  return frame_.handle() != nullptr && SetTimer(frame_.handle(), kTransparencyTimerId, periodMs, nullptr) != 0;
}

void Win32FrameHost::KillTransparencyTimer() {
  if (frame_.handle() != nullptr) KillTimer(frame_.handle(), kTransparencyTimerId);
}

void Win32FrameHost::SetCaptionDwellTimer(uint32_t periodMs) {
  if (frame_.handle() != nullptr) SetTimer(frame_.handle(), kCaptionDwellTimerId, periodMs, nullptr);
}

void Win32FrameHost::KillCaptionDwellTimer() {
  if (frame_.handle() != nullptr) KillTimer(frame_.handle(), kCaptionDwellTimerId);
}

void Win32FrameHost::SetTitleNoteTimer(uint32_t periodMs) {
  if (frame_.handle() != nullptr) SetTimer(frame_.handle(), kTitleNoteTimerId, periodMs, nullptr);
}

void Win32FrameHost::KillTitleNoteTimer() {
  if (frame_.handle() != nullptr) KillTimer(frame_.handle(), kTitleNoteTimerId);
}

void Win32FrameHost::StartImageDetection(uint32_t delayMs) {
  StartOneShotTimer(delayMs, ImageDetectionTimer, reinterpret_cast<DWORD_PTR>(&frame_.keyboardWindow()));
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

}  // namespace tessary::win32
