#include "win32/keyboard_window.h"

#include <mmsystem.h>

#include "platform/window_messages.h"
#include "win32/gdi_canvas.h"
#include "win32/input_hooks.h"
#include "win32/resource_ids.h"
#include "win32/window_support.h"

namespace tessary::win32 {

Win32KeyboardWindow::~Win32KeyboardWindow() { DropBackBuffer(); }

bool Win32KeyboardWindow::Register(HINSTANCE instance) {
  HCURSOR pointer = LoadCursorW(instance, MAKEINTRESOURCEW(IDC_TESSARY_POINTER));
  return RegisterWindowClass(instance, kKeyboardWindowClass, ObjectWindowProcedure<Win32KeyboardWindow>, pointer);
}

void Win32KeyboardWindow::Create(HWND frame) {
  CreateWindowExW(0, WideAscii(kKeyboardWindowClass).c_str(), L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                  nullptr, instance_, this);
}

void Win32KeyboardWindow::Destroy() {
  if (handle_ != nullptr) DestroyWindow(handle_);
}

void Win32KeyboardWindow::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
  HWND window = handleForPosts_.load();
  if (window != nullptr) PostMessageW(window, message, wParam, lParam);
}

void Win32KeyboardWindow::PostImeState(int32_t state) const { Post(WM_IMESTATE, 0, state); }
void Win32KeyboardWindow::PostReloadLayout() const { Post(WM_RELOADLAYOUT, 0, 0); }
void Win32KeyboardWindow::PostScanSwitch(int which, bool released) const {
  Post(WM_SCANSWITCH, which == 2 ? 1 : 0, released ? 1 : 0);
}
void Win32KeyboardWindow::PostClickElsewhere() const { Post(WM_CLICKELSEWHERE, 0, 0); }

void CALLBACK Win32KeyboardWindow::RepeatTimer(HWND window, UINT, UINT_PTR, DWORD) {
  auto* self = reinterpret_cast<Win32KeyboardWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && self->parts_) self->parts_->repeat.Tick();
}

void Win32KeyboardWindow::DropBackBuffer() {
  if (backBuffer_ != nullptr) {
    DeleteObject(backBuffer_);
    backBuffer_ = nullptr;
  }
}

// The paint pipeline: the keyboard into a fresh off-screen bitmap, copied in one go,
// then the key under the pointer straight onto the window.
void Win32KeyboardWindow::Paint() {
  DropBackBuffer();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(handle_, &paint);
  RECT client{};
  GetClientRect(handle_, &client);
  HDC memory = CreateCompatibleDC(dc);
  backBuffer_ = CreateCompatibleBitmap(dc, client.right, client.bottom);
  if (memory != nullptr && backBuffer_ != nullptr) {
    HGDIOBJ old = SelectObject(memory, backBuffer_);
    GdiCanvas image(memory);
    parts_->controller.PaintImage(image, {client.left, client.top, client.right, client.bottom});
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    GdiCanvas screen(dc);
    parts_->controller.PaintPointerKey(screen);
    SelectObject(memory, old);
  }
  if (memory != nullptr) DeleteDC(memory);
  EndPaint(handle_, &paint);
}

LRESULT Win32KeyboardWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Parts& parts = *parts_;
  switch (message) {
    case WM_CREATE:
      handle_ = window;
      handleForPosts_.store(window);
      parts.modes.keyboardWindow = reinterpret_cast<WindowId>(window);
      parts.scanTimer.SetTarget(window);
      parts.controller.OnCreate(reinterpret_cast<WindowId>(window));
      return 0;
    case WM_SIZE:
      // The labels follow their keys' size at the next paint.
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE:
      parts.pointer.OnMouseMove(PointX(lParam), PointY(lParam));
      return 0;
    case WM_MOUSEHOVER:
      parts.pointer.OnMouseHover();
      return 0;
    case WM_MOUSELEAVE:
      parts.pointer.OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
      parts.pointer.OnButtonDown(PointX(lParam), PointY(lParam));
      return 0;
    case WM_LBUTTONUP:
      parts.pointer.OnButtonUp(PointX(lParam), PointY(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kDwellTimerId) parts.pointer.OnDwellTick();
      return 0;
    case WM_RBUTTONDOWN:
      parts.controller.OnRightButtonDown();
      return 0;
    case WM_IMESTATE:
      parts.controller.OnImeState(static_cast<int32_t>(lParam));
      return 0;
    case WM_RELOADLAYOUT:
      parts.controller.OnReloadLayout();
      return 0;
    case WM_SCANSWITCH:
      parts.controller.OnScanSwitch(wParam == 1 ? 2 : 1, lParam == 1);
      return 0;
    case WM_CLICKELSEWHERE:
      parts.controller.OnClickElsewhere();
      return 0;
    case WM_SCANTICK:
      parts.scan.OnTimerTick(static_cast<uint32_t>(wParam));
      return 0;
    case WM_DESTROY:
      parts.controller.OnDestroy();
      DropBackBuffer();
      handle_ = nullptr;
      handleForPosts_.store(nullptr);
      parts.scanTimer.SetTarget(nullptr);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void Win32KeyboardHost::SetRepeatTimer(uint32_t periodMs) {
  if (window_.handle() != nullptr) {
    SetTimer(window_.handle(), KEY_REPEAT_TIMER_ID, periodMs, Win32KeyboardWindow::RepeatTimer);
  }
}

void Win32KeyboardHost::KillRepeatTimer() {
  if (window_.handle() != nullptr) KillTimer(window_.handle(), KEY_REPEAT_TIMER_ID);
}

void Win32KeyboardHost::PointerPosition(int32_t& x, int32_t& y) {
  POINT p{};
  GetCursorPos(&p);
  if (window_.handle() != nullptr) ScreenToClient(window_.handle(), &p);
  x = p.x;
  y = p.y;
}

void Win32KeyboardHost::InvalidateKeyboard() {
  if (window_.handle() != nullptr) InvalidateRect(window_.handle(), nullptr, FALSE);
}

void Win32KeyboardHost::SetDwellTimer(uint32_t periodMs) {
  if (window_.handle() != nullptr) SetTimer(window_.handle(), kDwellTimerId, periodMs, nullptr);
}

void Win32KeyboardHost::KillDwellTimer() {
  if (window_.handle() != nullptr) KillTimer(window_.handle(), kDwellTimerId);
}

void Win32KeyboardHost::PostClick(int32_t x, int32_t y) {
  HWND keyboard = window_.handle();
  if (keyboard == nullptr) return;
  const LPARAM point = MAKELPARAM(x, y);
  PostMessageW(keyboard, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageW(keyboard, WM_LBUTTONUP, MK_LBUTTON, point);
}

void Win32KeyboardHost::RequestHoverNotice(uint32_t ms) {
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER, window_.handle(), ms};
  TrackMouseEvent(&track);
}

void Win32KeyboardHost::RequestLeaveNotice() {
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_.handle(), 0};
  TrackMouseEvent(&track);
}

void Win32KeyboardHost::DrawDirect(const std::function<void(Canvas&)>& draw) {
  if (window_.handle() == nullptr) return;
  WindowDc dc(window_.handle());
  if (dc.get() == nullptr) return;
  GdiCanvas canvas(dc.get());
  draw(canvas);
}

void Win32KeyboardHost::PlayClickSound() {
  PlaySoundA(MAKEINTRESOURCEA(IDW_CLICK), window_.instance(), SND_RESOURCE | SND_ASYNC);
}

void Win32KeyboardHost::PlayTickSound() {
  // No default sound in its place: a missing tick must not become a beep at every step.
  PlaySoundA(MAKEINTRESOURCEA(IDW_TICK), window_.instance(), SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace tessary::win32
