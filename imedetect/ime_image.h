#pragma once
// Hangul/English detection by the image method: the indicator glyph on the system's
// language bar, recognised from its column profile.
#include <cstdint>
#include <memory>
#include <vector>

namespace tessary {

// The pixels of a window's client area, 0x00BBGGRR.
class PixelSource {
 public:
  virtual ~PixelSource() = default;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual uint32_t Pixel(int32_t x, int32_t y) const = 0;
};

// The language bar, when there is one to look at.
class LanguageBarFinder {
 public:
  virtual ~LanguageBarFinder() = default;
  // The bar's pixels; null when no docked bar and no visible floating bar exists.
  virtual std::unique_ptr<PixelSource> FindLanguageBar() = 0;
};

inline const std::vector<int32_t> HANGUL_TEMPLATE = {1, 2, 2, 3, 2, 3, 4, 8, 5, 14, 14, 1};
inline const std::vector<int32_t> ENGLISH_TEMPLATE = {1, 2, 4, 5, 5, 5, 5, 5, 5, 5, 5, 4, 2, 1};
inline constexpr int32_t INK_THRESHOLD = 80;
inline constexpr int64_t MATCH_LIMIT = 15;
// What MatchTemplate gives when nothing could be compared.
inline constexpr int64_t kNoMatch = 16777215;

// (30 R + 59 G + 11 B) / 100.
int32_t Brightness(uint32_t color);
// For each column, the number of pixels whose brightness differs from that of pixel
// (0, 0) by more than INK_THRESHOLD; columns without ink are left out.
std::vector<int32_t> BuildColumnProfile(const PixelSource& pixels);
// The smallest sum of absolute differences of the template against the profile at any
// offset (the first smallest wins); kNoMatch when the profile is shorter.
int64_t MatchTemplate(const std::vector<int32_t>& profile, const std::vector<int32_t>& templ);
// 1 when the profile matches the Hangul glyph (tested first), 0 the English glyph, -1
// neither.
int32_t StateFromProfile(const std::vector<int32_t>& profile);
// -1 without a language bar.
int32_t DetectImeByImage(LanguageBarFinder& finder);

}  // namespace tessary
