#pragma once
// The four looks of a key (rest, pressed, hover, dwell progress) and the full drawing
// of the keyboard, against a Canvas.
#include <cstdint>

#include "keyboard/canvas.h"

namespace tessary {

struct Settings;

// The corner ellipse of the dwell fill, whatever the keys' own corners are.
inline constexpr int32_t kDwellFillEllipse = 5;

// The top of the dwell fill for a key spanning rows top..bottom: bottom - round((bottom -
// top) × fraction), held between top and bottom.
int32_t DwellFillLine(int32_t top, int32_t bottom, double fraction);

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
  void DrawPressedLook(Canvas& canvas, const KeyDef& key);

  Keyboard& keyboard_;
  const Settings& settings_;
};

}  // namespace tessary
