#include "win32/window_support.h"

#include <cstring>

namespace tessary::win32 {

std::wstring WideAscii(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

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

bool RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC procedure, HCURSOR cursor) {
  const std::wstring className = WideAscii(name);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.lpszClassName = className.c_str();
  return RegisterClassExW(&wc) != 0;
}

}  // namespace tessary::win32
