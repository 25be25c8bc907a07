#pragma once
// The two small buttons of the frame's caption strip, drawn by their owner window.
#include <cstdint>
#include <optional>

#include "keyboard/keyboard_model.h"
#include "platform/key_output.h"

namespace tessary {

class CaptionButton {
 public:
  CaptionButton() = default;
  virtual ~CaptionButton() = default;
  CaptionButton(const CaptionButton&) = delete;
  CaptionButton& operator=(const CaptionButton&) = delete;

  // Draws the button in its present state and records its hit area.
  virtual void Draw() = 0;
  virtual void DrawPressed() = 0;
  // The dwell fill: the button filled from its bottom over `fraction` of its height in
  // `color`, the glyph over it, as a key fills.
  virtual void DrawDwellProgress(double fraction, uint32_t color) = 0;

  void Init(WindowId owner, int32_t left, int32_t top, int32_t width, int32_t height, char glyph);
  void Place(int32_t left, int32_t top, int32_t width, int32_t height);
  // Whether the point lies in the hit area of the last Draw (none before the first).
  bool Contains(int32_t x, int32_t y) const;
  // Redraws when the pointer enters or leaves the button.
  void Track(int32_t x, int32_t y);

  KeyRect Rect() const { return {left, top, left + width, top + height}; }

  WindowId owner = 0;
  std::optional<KeyRect> region;
  bool hot = false;
  int32_t left = 0, top = 0, width = 0, height = 0;
  char glyph = 0;
};

enum class GlyphLook { kPlain, kHot, kPressed };

// The platform side of a glyph button: draws on the owner window's own drawing context.
// Plain: the button rectangle filled with the context's default brush; hot: a raised
// one-pixel edge, inside untouched; pressed: filled, a sunken edge, the glyph one pixel
// right and down. The glyph is one character of the caption glyph font.
class GlyphPainter {
 public:
  virtual ~GlyphPainter() = default;
  virtual void PaintGlyphButton(WindowId owner, const KeyRect& rect, char glyph, GlyphLook look) = 0;
  // `part` of the button filled with `color`, then the glyph over the whole button.
  virtual void PaintGlyphFill(WindowId owner, const KeyRect& rect, char glyph, const KeyRect& part,
                              uint32_t color) = 0;
};

class GlyphButton final : public CaptionButton {
 public:
  explicit GlyphButton(GlyphPainter& painter) : painter_(painter) {}
  void Draw() override;
  void DrawPressed() override;
  void DrawDwellProgress(double fraction, uint32_t color) override;

 private:
  GlyphPainter& painter_;
};

inline constexpr char kLanguageGlyph = 'a';
inline constexpr char kHideGlyph = '0';

}  // namespace tessary
