// Hangul/English detection: the focus hook's decision and the image method.
#include <gtest/gtest.h>

#include "hooklib/cbt_decision.h"
#include "imedetect/ime_image.h"

namespace tessary {
namespace {

TEST(CbtDecisionTest, ReportsTheNativeBitOfTheFocusedWindow) {
  constexpr int kSetFocus = 9;  // HCBT_SETFOCUS
  TyhookReport r = TyhookDecide(kSetFocus, 1, 0x1, 1, 0);
  EXPECT_TRUE(r.post);
  EXPECT_EQ(r.state, 1);
  r = TyhookDecide(kSetFocus, 1, 0x0, 1, 0);
  EXPECT_TRUE(r.post);
  EXPECT_EQ(r.state, 0);
  r = TyhookDecide(kSetFocus, 1, 0x1 | 0x8 | 0x10, 1, 0);  // other bits dropped
  EXPECT_EQ(r.state, 1);
  r = TyhookDecide(kSetFocus, 1, 0xFFFFFFFE, 1, 0);
  EXPECT_EQ(r.state, 0);
  r = TyhookDecide(kSetFocus, 0, 0x1, 1, 0);  // no input context
  EXPECT_TRUE(r.post);
  EXPECT_EQ(r.state, -1);
}

TEST(CbtDecisionTest, PostsNothingToOrAboutTheFrameOrForOtherEvents) {
  EXPECT_FALSE(TyhookDecide(9, 1, 1, 1, 1).post);  // the frame itself gains the focus
  EXPECT_FALSE(TyhookDecide(9, 1, 1, 0, 0).post);  // no frame window
  // Creation, destruction, activation (5), moving, system commands: nothing.
  for (int code : {0, 1, 3, 4, 5, 6, 8}) EXPECT_FALSE(TyhookDecide(code, 1, 1, 1, 0).post) << code;
}

// An image of `w` × `h` pixels of one background colour, with columns of ink.
class Bitmap : public PixelSource {
 public:
  Bitmap(int32_t w, int32_t h, uint32_t background) : w_(w), h_(h), pixels_(static_cast<size_t>(w * h), background) {}
  int32_t Width() const override { return w_; }
  int32_t Height() const override { return h_; }
  uint32_t Pixel(int32_t x, int32_t y) const override { return pixels_[static_cast<size_t>(y * w_ + x)]; }
  void Set(int32_t x, int32_t y, uint32_t color) { pixels_[static_cast<size_t>(y * w_ + x)] = color; }
  // Draws a glyph whose column heights are `profile`, in adjacent columns from `x0`.
  void DrawProfile(int32_t x0, const std::vector<int32_t>& profile, uint32_t ink) {
    for (size_t i = 0; i < profile.size(); ++i) {
      for (int32_t y = 0; y < profile[i]; ++y) Set(x0 + static_cast<int32_t>(i), 1 + y, ink);
    }
  }

 private:
  int32_t w_, h_;
  std::vector<uint32_t> pixels_;
};

TEST(ImageDetectTest, ColumnProfileCountsInkAgainstTheCornerPixel) {
  Bitmap bar(40, 20, 0xFFFFFF);
  bar.DrawProfile(5, HANGUL_TEMPLATE, 0x000000);
  bar.DrawProfile(25, {3, 3}, 0x000000);
  std::vector<int32_t> expected = HANGUL_TEMPLATE;
  expected.push_back(3);
  expected.push_back(3);
  EXPECT_EQ(BuildColumnProfile(bar), expected);  // empty columns are dropped

  // Exactly at the threshold is background, one above is ink. Background brightness 0.
  Bitmap dark(4, 4, 0x000000);
  dark.Set(1, 1, 0x505050);  // brightness 80
  dark.Set(2, 1, 0x515151);  // 81
  dark.Set(2, 2, 0x515151);
  EXPECT_EQ(BuildColumnProfile(dark), (std::vector<int32_t>{2}));
  EXPECT_EQ(Brightness(0x0000FF), 76);  // red is the low byte: 30 × 255 / 100
  EXPECT_EQ(Brightness(0xFF0000), 28);

  Bitmap empty(0, 0, 0);
  EXPECT_TRUE(BuildColumnProfile(empty).empty());
}

TEST(ImageDetectTest, MatchingExactShiftedShortAndNearProfiles) {
  EXPECT_EQ(MatchTemplate(HANGUL_TEMPLATE, HANGUL_TEMPLATE), 0);
  std::vector<int32_t> shifted = {7, 7, 7};
  shifted.insert(shifted.end(), ENGLISH_TEMPLATE.begin(), ENGLISH_TEMPLATE.end());
  shifted.push_back(9);
  EXPECT_EQ(MatchTemplate(shifted, ENGLISH_TEMPLATE), 0);
  EXPECT_EQ(StateFromProfile(shifted), 0);
  const std::vector<int32_t> tooShort(HANGUL_TEMPLATE.begin(), HANGUL_TEMPLATE.end() - 1);
  EXPECT_EQ(MatchTemplate(tooShort, HANGUL_TEMPLATE), kNoMatch);
  EXPECT_EQ(StateFromProfile(tooShort), -1);

  std::vector<int32_t> near = HANGUL_TEMPLATE;
  near[9] += 7;
  near[10] -= 7;  // distance 14: still Hangul
  EXPECT_EQ(MatchTemplate(near, HANGUL_TEMPLATE), 14);
  EXPECT_EQ(StateFromProfile(near), 1);
  near[0] += 1;  // 15: no longer below the limit
  EXPECT_EQ(StateFromProfile(near), -1);

  // Huge counts neither overflow nor match.
  EXPECT_EQ(StateFromProfile(std::vector<int32_t>(20, INT32_MAX)), -1);
}

TEST(ImageDetectTest, HangulWinsWhenBothMatch) {
  // A profile near both glyphs.
  std::vector<int32_t> both = HANGUL_TEMPLATE;
  both.insert(both.end(), ENGLISH_TEMPLATE.begin(), ENGLISH_TEMPLATE.end());
  EXPECT_EQ(StateFromProfile(both), 1);
}

class FakeFinder : public LanguageBarFinder {
 public:
  std::unique_ptr<Bitmap> bar;
  std::unique_ptr<PixelSource> FindLanguageBar() override { return std::move(bar); }
};

TEST(ImageDetectTest, DetectionFromTheBar) {
  FakeFinder finder;
  EXPECT_EQ(DetectImeByImage(finder), -1);  // no bar
  finder.bar = std::make_unique<Bitmap>(30, 18, 0xD8E9EC);
  finder.bar->DrawProfile(3, ENGLISH_TEMPLATE, 0x202020);
  EXPECT_EQ(DetectImeByImage(finder), 0);
  finder.bar = std::make_unique<Bitmap>(30, 18, 0xD8E9EC);
  finder.bar->DrawProfile(3, HANGUL_TEMPLATE, 0x202020);
  EXPECT_EQ(DetectImeByImage(finder), 1);
}

}  // namespace
}  // namespace tessary
