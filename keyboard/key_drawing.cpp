#include "keyboard/key_drawing.h"

#include "platform/numbers.h"

#include <cmath>

#include "config/settings.h"

namespace tessary {

int32_t DwellFillLine(int32_t top, int32_t bottom, double fraction) {
  const double filled = std::trunc(static_cast<double>(bottom - top) * fraction + 0.5);
  // Clamp in double first: a wild fraction must not overflow the conversion.
  double line = static_cast<double>(bottom) - filled;
  if (line < top) line = top;
  if (line > bottom) line = bottom;
  return static_cast<int32_t>(line);
}

const KeyDef* KeyDrawing::Key(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= keyboard_.keys.size()) return nullptr;
  return &keyboard_.keys[static_cast<size_t>(index)];
}

void KeyDrawing::DrawShape(Canvas& canvas, const KeyDef& key, uint32_t border, uint32_t face) {
  canvas.RoundRect(key.rect, settings_.ellipseWidth, settings_.ellipseHeight, border, face);
}

void KeyDrawing::DrawLabel(Canvas& canvas, const KeyDef& key, uint32_t color, bool pushedIn) {
  const std::string& label = key.Label(keyboard_.view);
  if (label.empty()) return;
  KeyRect rect = key.rect;
  if (pushedIn) {
    // Moving only the left and top edges shifts the centred label by one pixel.
    rect.left += 2;
    rect.top += 2;
  }
  canvas.DrawLabel(label, rect, color, keyboard_.font.get());
}

void KeyDrawing::DrawPressedLook(Canvas& canvas, const KeyDef& key) {
  DrawShape(canvas, key, key.press.border, key.press.face);
  DrawLabel(canvas, key, key.press.text, true);
}

void KeyDrawing::DrawKeyboard(Canvas& canvas, const KeyRect& client, uint32_t background) {
  canvas.FillSolid(client, background);
  keyboard_.font.reset();
  LabelFont font = settings_.labelFont;
  font.lfHeight = ScaleForDpi(font.lfHeight, keyboard_.dpi);
  keyboard_.font = canvas.CreateLabelFont(font);
  const int32_t w = client.right - client.left, h = client.bottom - client.top;
  keyboard_.ScaleKeys(static_cast<uint32_t>(w > 0 ? w : 0), static_cast<uint32_t>(h > 0 ? h : 0));
  for (size_t i = 0; i < keyboard_.keys.size(); ++i) DrawKeyNormal(canvas, static_cast<int>(i));
}

void KeyDrawing::DrawKeyNormal(Canvas& canvas, int index) {
  const KeyDef* key = Key(index);
  if (key == nullptr) return;
  if (key->latched) {
    DrawPressedLook(canvas, *key);
    return;
  }
  DrawShape(canvas, *key, key->normal.border, key->normal.face);
  DrawLabel(canvas, *key, key->normal.text, false);
}

void KeyDrawing::DrawKeyPressed(Canvas& canvas, int index) {
  if (const KeyDef* key = Key(index)) DrawPressedLook(canvas, *key);
}

void KeyDrawing::DrawKeyHover(Canvas& canvas, int index) {
  const KeyDef* key = Key(index);
  if (key == nullptr) return;
  DrawShape(canvas, *key, settings_.hoverBorderColor, settings_.hoverFaceColor);
  DrawLabel(canvas, *key, key->normal.text, key->latched);
}

void KeyDrawing::DrawDwellProgress(Canvas& canvas, int index, double fraction) {
  const KeyDef* key = Key(index);
  if (key == nullptr) return;
  const KeyRect& r = key->rect;
  const int32_t line = DwellFillLine(r.top, r.bottom, fraction);
  const KeyRect part{r.left + 1, line + 1, r.right, r.bottom};
  if (part.top < part.bottom && part.left < part.right) {
    canvas.FillRoundedPart(r, kDwellFillEllipse, part, settings_.dwellFillColor);
  }
  DrawLabel(canvas, *key, key->latched ? key->press.text : key->normal.text, key->latched);
}

}  // namespace tessary
