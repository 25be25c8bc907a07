#pragma once
// The drawing surface the keyboard is painted on: the off-screen image of a full repaint
// or the keyboard window itself for single keys. The platform's 2-D primitives sit
// behind it; colours are 0x00BBGGRR.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "keyboard/keyboard_model.h"

namespace tessary {

struct LabelFont;

// The extent of a line of text in a font, in pixels.
struct TextExtent {
  int32_t width = 0, height = 0;
};

struct CanvasPoint {
  int32_t x = 0, y = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  // Fills the rectangle with a solid colour (an opaque empty text output).
  virtual void FillSolid(const KeyRect& rect, uint32_t color) = 0;
  // A rounded rectangle: outline in a 1-pixel solid pen of `border`, inside filled
  // with a solid brush of `face`.
  virtual void RoundRect(const KeyRect& rect, int32_t ellipseWidth, int32_t ellipseHeight,
                         uint32_t border, uint32_t face) = 0;
  // Fills the part of the rounded rectangle region `rounded` (corner ellipse
  // `ellipse` × `ellipse`) that lies in `part`, with a solid colour.
  virtual void FillRoundedPart(const KeyRect& rounded, int32_t ellipse, const KeyRect& part,
                               uint32_t color) = 0;
  // One line of text centred in `rect`, clipped to it, transparent background, no
  // prefix processing ("&" stays "&"). `font` may be null: the surface's current font.
  virtual void DrawLabel(const std::string& text, const KeyRect& rect, uint32_t color,
                         const Font* font) = 0;
  // A font from the description; null when the platform cannot make it.
  virtual std::unique_ptr<Font> CreateLabelFont(const LabelFont& description) = 0;
  // The extent of `text` drawn in `font` (null: the surface's current font).
  virtual TextExtent MeasureLabel(const std::string& text, const Font* font) = 0;
  // Open polylines in a solid pen `thickness` pixels wide, with round ends.
  virtual void DrawLines(const std::vector<std::vector<CanvasPoint>>& lines, uint32_t color, int32_t thickness) = 0;
};

// The keyboard window as key repeat and scanning reach it.
class KeyboardSurface {
 public:
  virtual ~KeyboardSurface() = default;
  // The whole keyboard is painted again soon.
  virtual void InvalidateKeyboard() = 0;
  // Runs `draw` on the keyboard window's own drawing context.
  virtual void DrawDirect(const std::function<void(Canvas&)>& draw) = 0;
  // The click sound, asynchronously; a new one cuts off one still playing.
  virtual void PlayClickSound() = 0;
  // The scan tick, asynchronously: short and quiet, never waited for.
  virtual void PlayTickSound() = 0;
};

}  // namespace tessary
