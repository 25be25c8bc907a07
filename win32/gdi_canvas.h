#pragma once
// The drawing canvas over a GDI device context, the label font as a GDI font, and the
// caption-strip glyph buttons.
#include <windows.h>

#include "keyboard/canvas.h"
#include "ui/caption_button.h"

namespace tessary::win32 {

class GdiFont final : public Font {
 public:
  explicit GdiFont(HFONT font) : font_(font) {}
  ~GdiFont() override { DeleteObject(font_); }
  GdiFont(const GdiFont&) = delete;
  GdiFont& operator=(const GdiFont&) = delete;
  HFONT get() const { return font_; }

 private:
  HFONT font_;
};

// Draws on a device context it does not own.
class GdiCanvas final : public Canvas {
 public:
  explicit GdiCanvas(HDC dc) : dc_(dc) {}
  void FillSolid(const KeyRect& rect, uint32_t color) override;
  void RoundRect(const KeyRect& rect, int32_t ellipseWidth, int32_t ellipseHeight, uint32_t border,
                 uint32_t face) override;
  void FillRoundedPart(const KeyRect& rounded, int32_t ellipse, const KeyRect& part, uint32_t color) override;
  void DrawLabel(const std::string& text, const KeyRect& rect, uint32_t color, const Font* font) override;
  std::unique_ptr<Font> CreateLabelFont(const LabelFont& description) override;
  TextExtent MeasureLabel(const std::string& text, const Font* font) override;
  void DrawLines(const std::vector<std::vector<CanvasPoint>>& lines, uint32_t color, int32_t thickness) override;

 private:
  HDC dc_;
};

// A window's own device context for the time of one drawing.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

class GdiGlyphPainter final : public GlyphPainter {
 public:
  void PaintGlyphButton(WindowId owner, const KeyRect& rect, char glyph, GlyphLook look) override;
  void PaintGlyphFill(WindowId owner, const KeyRect& rect, char glyph, const KeyRect& part,
                      uint32_t color) override;
};

// The label font description as the platform's record, and back (the face converted
// between CP949 and UTF-16).
LOGFONTW ToLogFont(const LabelFont& description);
void FromLogFont(const LOGFONTW& font, LabelFont& description);

inline RECT ToRect(const KeyRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace tessary::win32
