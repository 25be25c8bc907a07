#include "keyboard/key_drawing.h"

#include "platform/numbers.h"

#include <cmath>

#include "config/settings.h"
#include "platform/key_codes.h"

namespace tessary {

int32_t DwellFillLine(int32_t top, int32_t bottom, double fraction) {
  const double filled = std::trunc(static_cast<double>(bottom - top) * fraction + 0.5);
  // Clamp in double first: a wild fraction must not overflow the conversion.
  double line = static_cast<double>(bottom) - filled;
  if (line < top) line = top;
  if (line > bottom) line = bottom;
  return static_cast<int32_t>(line);
}

LabelBox LabelRoom(const KeyRect& key) {
  const int64_t w = static_cast<int64_t>(key.right) - key.left, h = static_cast<int64_t>(key.bottom) - key.top;
  const int64_t margin = h / 10 > 2 ? h / 10 : 2;
  const auto room = [](int64_t v) { return static_cast<int32_t>(v < 0 ? 0 : (v > INT32_MAX ? INT32_MAX : v)); };
  return {room(w - 2 * margin), room(h - 2 * margin)};
}

int32_t PreferredLabelHeight(const KeyRect& key, int32_t labelSize, int32_t dpi, bool wordKey, bool oneCharacter) {
  const LabelBox room = LabelRoom(key);
  if (wordKey) return room.height;
  const int64_t size = labelSize < 0 ? -static_cast<int64_t>(labelSize) : labelSize;
  const int64_t base = ScaleForDpi(static_cast<int32_t>(size > 100000 ? 100000 : size), dpi);
  const int64_t keyHeight = static_cast<int64_t>(key.bottom) - key.top;
  int64_t height = keyHeight * (oneCharacter ? 80 : 65) * size / (100 * kDefaultLabelSize);
  const int64_t low = base * 3 / 4, high = base * 3;
  if (height < low) height = low;
  if (height > high) height = high;
  if (height > room.height) height = room.height;
  return static_cast<int32_t>(height < 1 ? 1 : height);
}

int32_t FitLabelHeight(int32_t height, const LabelBox& room, const std::function<TextExtent(int32_t)>& measure) {
  int32_t h = height < 1 ? 1 : height;
  if (h > room.height && room.height > 0) h = room.height;
  const auto fits = [&room](const TextExtent& e) { return e.width <= room.width && e.height <= room.height; };
  TextExtent extent = measure(h);
  if (fits(extent)) return h;
  // Text grows about in proportion to its height: jump near the answer, then step down.
  if (extent.width > room.width && extent.width > 0) {
    const int64_t guess = static_cast<int64_t>(h) * room.width / extent.width;
    if (guess < h) h = static_cast<int32_t>(guess < 1 ? 1 : guess);
    extent = measure(h);
  }
  while (h > 1 && !fits(extent)) extent = measure(--h);
  return h;
}

int32_t NarrowLabelWidth(int32_t height) {
  const int64_t width = static_cast<int64_t>(height) * 3 / 10;
  return static_cast<int32_t>(width < 1 ? 1 : width);
}

LabelSymbol SymbolOf(const KeyDef& key, const std::string& label) {
  if ((key.type & (TK_STRING | TK_MACRO)) != 0) return LabelSymbol::kNone;
  if (label == "<") return LabelSymbol::kLess;
  if (label == ">") return LabelSymbol::kGreater;
  switch (key.code) {
    case kBackspaceKey: return LabelSymbol::kBackspace;
    case kTabKey: return LabelSymbol::kTab;
    case kEnterKey: return LabelSymbol::kEnter;
    case kLeftArrowKey: return LabelSymbol::kLeft;
    case kUpArrowKey: return LabelSymbol::kUp;
    case kRightArrowKey: return LabelSymbol::kRight;
    case kDownArrowKey: return LabelSymbol::kDown;
    default: return LabelSymbol::kNone;
  }
}

std::vector<std::vector<CanvasPoint>> SymbolLines(LabelSymbol symbol, const KeyRect& key, int32_t size) {
  const int32_t s = size < 4 ? 4 : size;
  const int32_t cx = key.left + (key.right - key.left) / 2, cy = key.top + (key.bottom - key.top) / 2;
  const int32_t x0 = cx - s / 2, x1 = x0 + s, y0 = cy - s / 2, y1 = y0 + s, a = s / 3;
  switch (symbol) {
    case LabelSymbol::kLeft:
      return {{{x1, cy}, {x0, cy}}, {{x0 + a, cy - a}, {x0, cy}, {x0 + a, cy + a}}};
    case LabelSymbol::kRight:
      return {{{x0, cy}, {x1, cy}}, {{x1 - a, cy - a}, {x1, cy}, {x1 - a, cy + a}}};
    case LabelSymbol::kUp:
      return {{{cx, y1}, {cx, y0}}, {{cx - a, y0 + a}, {cx, y0}, {cx + a, y0 + a}}};
    case LabelSymbol::kDown:
      return {{{cx, y0}, {cx, y1}}, {{cx - a, y1 - a}, {cx, y1}, {cx + a, y1 - a}}};
    case LabelSymbol::kBackspace: {
      // A key cap pointing left with a cross in it, a little wider than high.
      const int32_t l = cx - s * 2 / 3, r = cx + s * 2 / 3, t = cy - s * 2 / 5, b = cy + s * 2 / 5, c = s / 5;
      const int32_t mx = (l + a + r) / 2;
      return {{{l, cy}, {l + a, t}, {r, t}, {r, b}, {l + a, b}, {l, cy}},
              {{mx - c, cy - c}, {mx + c, cy + c}},
              {{mx - c, cy + c}, {mx + c, cy - c}}};
    }
    case LabelSymbol::kEnter: {
      const int32_t y = cy + s / 5;
      return {{{x1, y0 + s / 6}, {x1, y}, {x0, y}}, {{x0 + a, y - a}, {x0, y}, {x0 + a, y + a}}};
    }
    case LabelSymbol::kTab:
      return {{{x0, cy}, {x1 - 2, cy}}, {{x1 - 2 - a, cy - a}, {x1 - 2, cy}, {x1 - 2 - a, cy + a}},
              {{x1, y0 + s / 6}, {x1, y1 - s / 6}}};
    case LabelSymbol::kLess:
    case LabelSymbol::kGreater: {
      // As wide as high, a little over half the label's height, like the sign in a text.
      const int32_t h = s * 3 / 10, dx = symbol == LabelSymbol::kLess ? h : -h;
      return {{{cx + dx, cy - h}, {cx - dx, cy}, {cx + dx, cy + h}}};
    }
    case LabelSymbol::kNone:
      break;
  }
  return {};
}

const KeyDef* KeyDrawing::Key(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= keyboard_.keys.size()) return nullptr;
  return &keyboard_.keys[static_cast<size_t>(index)];
}

void KeyDrawing::DrawShape(Canvas& canvas, const KeyDef& key, uint32_t border, uint32_t face) {
  canvas.RoundRect(key.rect, settings_.ellipseWidth, settings_.ellipseHeight, border, face);
}

const Font* KeyDrawing::LabelFontOf(Canvas& canvas, int32_t height, bool narrow) {
  auto& fonts = narrow ? keyboard_.narrowLabelFonts : keyboard_.labelFonts;
  auto found = fonts.find(height);
  if (found == fonts.end()) {
    LabelFont font = settings_.labelFont;  // the face and the rest of the user's choice
    font.lfHeight = height;
    if (narrow) font.lfWidth = NarrowLabelWidth(height);
    found = fonts.emplace(height, canvas.CreateLabelFont(font)).first;
  }
  return found->second.get();
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
  // One character: one byte, or one CP949 pair.
  const bool oneCharacter =
      label.size() == 1 || (label.size() == 2 && static_cast<unsigned char>(label[0]) >= 0x81);
  const int32_t preferred = PreferredLabelHeight(key.rect, settings_.labelFont.lfHeight, keyboard_.dpi,
                                                 (key.type & TK_STRING) != 0, oneCharacter);
  if (const LabelSymbol symbol = SymbolOf(key, label); symbol != LabelSymbol::kNone) {
    const LabelBox room = LabelRoom(key.rect);
    // The symbols are a little wider than high (Backspace 4:3): they keep inside the room.
    int32_t size = preferred;
    if (size * 4 / 3 > room.width) size = room.width * 3 / 4;
    const int32_t thickness = size / (symbol == LabelSymbol::kLess || symbol == LabelSymbol::kGreater ? 12 : 8);
    canvas.DrawLines(SymbolLines(symbol, rect, size), color, thickness > 1 ? thickness : 1);
    return;
  }
  const LabelBox room = LabelRoom(key.rect);
  int32_t height = FitLabelHeight(preferred, room, [this, &canvas, &label](int32_t h) {
    return canvas.MeasureLabel(label, LabelFontOf(canvas, h));
  });
  // A label that shrank to fit its key's width (a long name on a narrow key) is drawn
  // in narrower letters instead where that keeps it a quarter higher or more, unless the
  // user chose a width.
  bool narrow = false;
  if (height < preferred && settings_.labelFont.lfWidth == 0) {
    const int32_t narrowHeight = FitLabelHeight(preferred, room, [this, &canvas, &label](int32_t h) {
      return canvas.MeasureLabel(label, LabelFontOf(canvas, h, true));
    });
    narrow = static_cast<int64_t>(narrowHeight) * 4 >= static_cast<int64_t>(height) * 5;
    if (narrow) height = narrowHeight;
  }
  canvas.DrawLabel(label, rect, color, LabelFontOf(canvas, height, narrow));
}

void KeyDrawing::DrawPressedLook(Canvas& canvas, const KeyDef& key) {
  DrawShape(canvas, key, key.press.border, key.press.face);
  DrawLabel(canvas, key, key.press.text, true);
}

void KeyDrawing::DrawKeyboard(Canvas& canvas, const KeyRect& client, uint32_t background) {
  canvas.FillSolid(client, background);
  keyboard_.labelFonts.clear();
  keyboard_.narrowLabelFonts.clear();
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
