#pragma once
// The system's language bar, for the image method of Hangul/English detection.
#include <windows.h>

#include "imedetect/ime_image.h"

namespace tessary::win32 {

// The client-area pixels of a window, read with GetPixel on its own drawing context.
class WindowPixels final : public PixelSource {
 public:
  explicit WindowPixels(HWND window);
  ~WindowPixels() override;
  WindowPixels(const WindowPixels&) = delete;
  WindowPixels& operator=(const WindowPixels&) = delete;
  int32_t Width() const override { return width_; }
  int32_t Height() const override { return height_; }
  uint32_t Pixel(int32_t x, int32_t y) const override;

 private:
  HWND window_;
  HDC dc_;
  int32_t width_ = 0, height_ = 0;
};

// The bar docked in the taskbar, else the first visible floating one.
class Win32LanguageBarFinder final : public LanguageBarFinder {
 public:
  std::unique_ptr<PixelSource> FindLanguageBar() override;
};

}  // namespace tessary::win32
