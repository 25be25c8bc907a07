#include "ui/caption_button.h"

#include "keyboard/key_drawing.h"

namespace tessary {

void CaptionButton::Init(WindowId newOwner, int32_t newLeft, int32_t newTop, int32_t newWidth,
                         int32_t newHeight, char newGlyph) {
  owner = newOwner;
  Place(newLeft, newTop, newWidth, newHeight);
  glyph = newGlyph;
  hot = false;
}

void CaptionButton::Place(int32_t newLeft, int32_t newTop, int32_t newWidth, int32_t newHeight) {
  left = newLeft;
  top = newTop;
  width = newWidth;
  height = newHeight;
}

bool CaptionButton::Contains(int32_t x, int32_t y) const { return region && region->Contains(x, y); }

void CaptionButton::Track(int32_t x, int32_t y) {
  if (Contains(x, y) != hot) {
    hot = !hot;
    Draw();
  }
}

void GlyphButton::Draw() {
  region = Rect();
  painter_.PaintGlyphButton(owner, *region, glyph, hot ? GlyphLook::kHot : GlyphLook::kPlain);
}

void GlyphButton::DrawPressed() {
  // The sunken look fills the recorded hit area; before any Draw there is none.
  if (!region) return;
  painter_.PaintGlyphButton(owner, *region, glyph, GlyphLook::kPressed);
}

}  // namespace tessary

namespace tessary {

void GlyphButton::DrawDwellProgress(double fraction, uint32_t color) {
  if (!region) return;
  const KeyRect r = *region;
  painter_.PaintGlyphFill(owner, r, glyph, {r.left, DwellFillLine(r.top, r.bottom, fraction), r.right, r.bottom},
                          color);
}

}  // namespace tessary
