#pragma once
// The four looks of a key (rest, pressed, hover, dwell progress) and the full drawing
// of the keyboard, against a Canvas.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "keyboard/canvas.h"

namespace tessary {

struct Settings;

// The corner ellipse of the dwell fill, whatever the keys' own corners are.
inline constexpr int32_t kDwellFillEllipse = 5;

// The top of the dwell fill for a key spanning rows top..bottom: bottom - round((bottom -
// top) × fraction), held between top and bottom.
int32_t DwellFillLine(int32_t top, int32_t bottom, double fraction);

// Label sizes. The user's label size (the label font's height, design pixels) sets the
// range a label's height may take on this screen: from three quarters of it to three
// times it. Within that range a label follows its key: 65 % of the key's height at the
// default size of 12 (80 % for a single character, such as a jamo, which its font draws
// small in its cell), in proportion to the label size. A word key's label takes the
// whole height of its key. Then the label shrinks until it fits inside its key (a margin
// of a tenth of the key's height, at least 2 pixels, on each side): it never clips.
inline constexpr int32_t kDefaultLabelSize = 12;
struct LabelBox {
  int32_t width = 0, height = 0;  // the room inside the key's margins
};
LabelBox LabelRoom(const KeyRect& key);
// The label height before it is fitted to its text.
int32_t PreferredLabelHeight(const KeyRect& key, int32_t labelSize, int32_t dpi, bool wordKey,
                             bool oneCharacter = false);
// The largest height not above `height` at which `measure(height)` fits in `room`; 1
// when none does.
int32_t FitLabelHeight(int32_t height, const LabelBox& room, const std::function<TextExtent(int32_t)>& measure);
// The average character width of a label's narrow form at `height` (the font's width
// setting): about two thirds of a usual face's own, so a long label on a narrow key
// keeps more of its height.
int32_t NarrowLabelWidth(int32_t height);

// Keys drawn as a symbol instead of their text: the arrows, Backspace, Enter and Tab; and
// the labels "<" and ">", which some Korean faces draw as tall angle brackets.
enum class LabelSymbol { kNone, kLeft, kRight, kUp, kDown, kBackspace, kEnter, kTab, kLess, kGreater };
LabelSymbol SymbolOf(const KeyDef& key, const std::string& label);
// The symbol's strokes, centred in `key`, `size` pixels high.
std::vector<std::vector<CanvasPoint>> SymbolLines(LabelSymbol symbol, const KeyRect& key, int32_t size);

class KeyDrawing {
 public:
  KeyDrawing(Keyboard& keyboard, const Settings& settings) : keyboard_(keyboard), settings_(settings) {}

  // Background, a fresh label font from the configured description, ScaleKeys to the
  // client size, then every key in index order.
  void DrawKeyboard(Canvas& canvas, const KeyRect& client, uint32_t background);
  // Every key operation ignores an index outside the key list.
  void DrawKeyNormal(Canvas& canvas, int index);
  void DrawKeyPressed(Canvas& canvas, int index);
  void DrawKeyHover(Canvas& canvas, int index);
  void DrawDwellProgress(Canvas& canvas, int index, double fraction);

 private:
  const KeyDef* Key(int index) const;
  void DrawShape(Canvas& canvas, const KeyDef& key, uint32_t border, uint32_t face);
  void DrawLabel(Canvas& canvas, const KeyDef& key, uint32_t color, bool pushedIn);
  const Font* LabelFontOf(Canvas& canvas, int32_t height, bool narrow = false);
  void DrawPressedLook(Canvas& canvas, const KeyDef& key);

  Keyboard& keyboard_;
  const Settings& settings_;
};

}  // namespace tessary
