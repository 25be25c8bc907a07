#include "win32/language_bar.h"

#include <cstring>

namespace tessary::win32 {

namespace {
constexpr const char* kBarClass = "CiceroUIWndFrame";
constexpr const char* kBarTitle = "TF_FloatingLangBar_WndTitle";

BOOL CALLBACK FindFloatingBar(HWND window, LPARAM found) {
  // Read whole (up to the platform's 256 characters) before comparing.
  char name[257] = {}, title[257] = {};
  if (!IsWindowVisible(window)) return TRUE;
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, kBarClass) != 0) return TRUE;
  GetWindowTextA(window, title, sizeof title);
  if (std::strcmp(title, kBarTitle) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}
}  // namespace

WindowPixels::WindowPixels(HWND window) : window_(window), dc_(GetDC(window)) {
  RECT client{};
  if (dc_ != nullptr && GetClientRect(window, &client)) {
    width_ = client.right;
    height_ = client.bottom;
  }
}

WindowPixels::~WindowPixels() {
  if (dc_ != nullptr) ReleaseDC(window_, dc_);
}

uint32_t WindowPixels::Pixel(int32_t x, int32_t y) const {
  const COLORREF color = GetPixel(dc_, x, y);
  return color == CLR_INVALID ? 0 : color;
}

std::unique_ptr<PixelSource> Win32LanguageBarFinder::FindLanguageBar() {
  HWND bar = nullptr;
  if (HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr)) {
    if (HWND rebar = FindWindowExA(taskbar, nullptr, "ReBarWindow32", nullptr)) {
      bar = FindWindowExA(rebar, nullptr, kBarClass, kBarTitle);
    }
  }
  if (bar == nullptr) EnumWindows(FindFloatingBar, reinterpret_cast<LPARAM>(&bar));
  if (bar == nullptr) return nullptr;
  return std::make_unique<WindowPixels>(bar);
}

}  // namespace tessary::win32
