#pragma once
// What the program's three windows share: their class registration, the way from a
// window's handle to the object that runs it, the points of mouse messages and the
// screen's density.
#include <windows.h>

#include <cstdint>
#include <string>

namespace tessary::win32 {

// The program's name in the frame's caption and the tray icon's tip.
inline constexpr const char* kProgramTitle = "테사리 3.1";

std::wstring WideAscii(const char* ascii);

// The signed client coordinates of a mouse message.
inline int32_t PointX(LPARAM lParam) { return static_cast<int16_t>(LOWORD(lParam)); }
inline int32_t PointY(LPARAM lParam) { return static_cast<int16_t>(HIWORD(lParam)); }

// The screen's density: the monitor's where the system knows it per window (Windows 10
// and later), otherwise the system's. `window` may be null.
int32_t WindowDpi(HWND window);

bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure, HCURSOR cursor);

// The object behind a window: the creation passes it in lpCreateParams, and the window
// keeps it in GWLP_USERDATA. Null before WM_NCCREATE.
template <typename Window>
Window* WindowObject(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    return self;
  }
  return reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The procedure of a window run by an object: until the object is connected to what it
// drives, the window behaves as a default one.
template <typename Window>
LRESULT CALLBACK ObjectWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = WindowObject<Window>(window, message, lParam);
  if (self == nullptr || !self->connected()) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(window, message, wParam, lParam);
}

}  // namespace tessary::win32
