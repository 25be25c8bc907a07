#include "win32/gdi_canvas.h"

#include <vector>

#include "config/settings.h"
#include "win32/win32_platform.h"

namespace tessary::win32 {

void GdiCanvas::FillSolid(const KeyRect& rect, uint32_t color) {
  const RECT r = ToRect(rect);
  const COLORREF old = SetBkColor(dc_, color);
  ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &r, L"", 0, nullptr);
  SetBkColor(dc_, old);
}

void GdiCanvas::RoundRect(const KeyRect& rect, int32_t ellipseWidth, int32_t ellipseHeight, uint32_t border,
                          uint32_t face) {
  HPEN pen = CreatePen(PS_SOLID, 1, border);
  HBRUSH brush = CreateSolidBrush(face);
  HGDIOBJ oldPen = pen ? SelectObject(dc_, pen) : nullptr;
  HGDIOBJ oldBrush = brush ? SelectObject(dc_, brush) : nullptr;
  ::RoundRect(dc_, rect.left, rect.top, rect.right, rect.bottom, ellipseWidth, ellipseHeight);
  if (oldPen) SelectObject(dc_, oldPen);
  if (oldBrush) SelectObject(dc_, oldBrush);
  if (pen) DeleteObject(pen);
  if (brush) DeleteObject(brush);
}

void GdiCanvas::FillRoundedPart(const KeyRect& rounded, int32_t ellipse, const KeyRect& part, uint32_t color) {
  HRGN a = CreateRoundRectRgn(rounded.left, rounded.top, rounded.right, rounded.bottom, ellipse, ellipse);
  HRGN b = CreateRectRgn(part.left, part.top, part.right, part.bottom);
  HBRUSH brush = CreateSolidBrush(color);
  if (a && b && brush && CombineRgn(a, a, b, RGN_AND) != ERROR) FillRgn(dc_, a, brush);
  if (brush) DeleteObject(brush);
  if (b) DeleteObject(b);
  if (a) DeleteObject(a);
}

void GdiCanvas::DrawLabel(const std::string& text, const KeyRect& rect, uint32_t color, const Font* font) {
  RECT r = ToRect(rect);
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, color);
  const auto* gdiFont = dynamic_cast<const GdiFont*>(font);
  HGDIOBJ old = gdiFont ? SelectObject(dc_, gdiFont->get()) : nullptr;
  constexpr UINT kFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  const std::wstring wide = Wide(text);
  if (!wide.empty()) {
    DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, kFormat);
  } else {
    // Not CP949: the bytes as the ANSI code page reads them.
    DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, kFormat);
  }
  if (old) SelectObject(dc_, old);
}

TextExtent GdiCanvas::MeasureLabel(const std::string& text, const Font* font) {
  const auto* gdiFont = dynamic_cast<const GdiFont*>(font);
  HGDIOBJ old = gdiFont ? SelectObject(dc_, gdiFont->get()) : nullptr;
  SIZE size{};
  const std::wstring wide = Wide(text);
  if (!wide.empty()) {
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  } else {
    GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  }
  if (old) SelectObject(dc_, old);
  return {size.cx, size.cy};
}

void GdiCanvas::DrawLines(const std::vector<std::vector<CanvasPoint>>& lines, uint32_t color, int32_t thickness) {
  LOGBRUSH brush{BS_SOLID, color, 0};
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                          static_cast<DWORD>(thickness < 1 ? 1 : thickness), &brush, 0, nullptr);
  if (pen == nullptr) return;
  HGDIOBJ old = SelectObject(dc_, pen);
  for (const std::vector<CanvasPoint>& line : lines) {
    std::vector<POINT> points;
    points.reserve(line.size());
    for (const CanvasPoint& p : line) points.push_back({p.x, p.y});
    if (points.size() >= 2) Polyline(dc_, points.data(), static_cast<int>(points.size()));
  }
  SelectObject(dc_, old);
  DeleteObject(pen);
}

LOGFONTW ToLogFont(const LabelFont& d) {
  LOGFONTW lf{};
  lf.lfHeight = d.lfHeight;
  lf.lfWidth = d.lfWidth;
  lf.lfEscapement = d.lfEscapement;
  lf.lfOrientation = d.lfOrientation;
  lf.lfWeight = d.lfWeight;
  lf.lfItalic = d.lfItalic;
  lf.lfUnderline = d.lfUnderline;
  lf.lfStrikeOut = d.lfStrikeOut;
  lf.lfCharSet = d.lfCharSet;
  lf.lfOutPrecision = d.lfOutPrecision;
  lf.lfClipPrecision = d.lfClipPrecision;
  lf.lfQuality = d.lfQuality;
  lf.lfPitchAndFamily = d.lfPitchAndFamily;
  lstrcpynW(lf.lfFaceName, Wide(d.lfFaceName).c_str(), LF_FACESIZE);
  return lf;
}

void FromLogFont(const LOGFONTW& lf, LabelFont& d) {
  d.lfHeight = lf.lfHeight;
  d.lfWidth = lf.lfWidth;
  d.lfEscapement = lf.lfEscapement;
  d.lfOrientation = lf.lfOrientation;
  d.lfWeight = lf.lfWeight;
  d.lfItalic = lf.lfItalic;
  d.lfUnderline = lf.lfUnderline;
  d.lfStrikeOut = lf.lfStrikeOut;
  d.lfCharSet = lf.lfCharSet;
  d.lfOutPrecision = lf.lfOutPrecision;
  d.lfClipPrecision = lf.lfClipPrecision;
  d.lfQuality = lf.lfQuality;
  d.lfPitchAndFamily = lf.lfPitchAndFamily;
  // The face as CP949, cut to the setting's buffer.
  std::string face = Cp949Codec().Utf16ToCp949(std::u16string(reinterpret_cast<const char16_t*>(lf.lfFaceName)));
  if (face.size() >= kFaceNameBufferSize) face.resize(kFaceNameBufferSize - 1);
  d.lfFaceName = face;
}

std::unique_ptr<Font> GdiCanvas::CreateLabelFont(const LabelFont& d) {
  const LOGFONTW lf = ToLogFont(d);
  HFONT font = CreateFontIndirectW(&lf);
  if (font == nullptr) return nullptr;
  return std::make_unique<GdiFont>(font);
}

namespace {
// The glyph fills its button: 15 pixels in the 16 of the design size.
HFONT GlyphFont(BYTE charSet, int height) {
  return CreateFontW(height, 0, 0, 0, 600, FALSE, FALSE, FALSE, charSet, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     ANTIALIASED_QUALITY, 0, L"Marlett");
}

// One character of the caption glyph font, centred in `r`, over what is there, as high
// as the button.
void DrawGlyph(HDC dc, char glyph, RECT& r) {
  const int height = (r.bottom - r.top - 1) > 8 ? (r.bottom - r.top - 1) : 8;
  HFONT font = GlyphFont(DEFAULT_CHARSET, height);
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  wchar_t face[LF_FACESIZE] = {};
  if (font != nullptr && (GetTextFaceW(dc, LF_FACESIZE, face) == 0 || lstrcmpiW(face, L"Marlett") != 0)) {
    // Some systems map the default character set to a font of the locale's script,
    // which draws the glyph as a letter; the symbol set finds the glyph font itself.
    if (HFONT symbol = GlyphFont(SYMBOL_CHARSET, height)) {
      SelectObject(dc, symbol);
      DeleteObject(font);
      font = symbol;
    }
  }
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, &glyph, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (old) SelectObject(dc, old);
  if (font) DeleteObject(font);
}
}  // namespace

void GdiGlyphPainter::PaintGlyphButton(WindowId owner, const KeyRect& rect, char glyph, GlyphLook look) {
  const auto window = reinterpret_cast<HWND>(owner);
  WindowDc dc(window);
  if (dc.get() == nullptr) return;
  RECT r = ToRect(rect);
  if (look == GlyphLook::kHot) {
    DrawEdge(dc.get(), &r, BDR_RAISEDOUTER, BF_RECT);
  } else {
    // The current brush of a fresh window context: the default white brush.
    HRGN region = CreateRectRgnIndirect(&r);
    if (region) {
      PaintRgn(dc.get(), region);
      DeleteObject(region);
    }
    if (look == GlyphLook::kPressed) {
      DrawEdge(dc.get(), &r, BDR_SUNKENOUTER, BF_RECT);
      OffsetRect(&r, 1, 1);
    }
  }
  DrawGlyph(dc.get(), glyph, r);
}

void GdiGlyphPainter::PaintGlyphFill(WindowId owner, const KeyRect& rect, char glyph, const KeyRect& part,
                                     uint32_t color) {
  WindowDc dc(reinterpret_cast<HWND>(owner));
  if (dc.get() == nullptr) return;
  const RECT filled = ToRect(part);
  if (HBRUSH brush = CreateSolidBrush(color)) {
    FillRect(dc.get(), &filled, brush);
    DeleteObject(brush);
  }
  RECT r = ToRect(rect);
  DrawGlyph(dc.get(), glyph, r);
}

}  // namespace tessary::win32
