#include "imedetect/ime_image.h"

#include <cstdlib>

namespace tessary {

int32_t Brightness(uint32_t color) {
  const int32_t r = static_cast<int32_t>(color & 0xFF), g = static_cast<int32_t>((color >> 8) & 0xFF),
                b = static_cast<int32_t>((color >> 16) & 0xFF);
  return (30 * r + 59 * g + 11 * b) / 100;
}

std::vector<int32_t> BuildColumnProfile(const PixelSource& pixels) {
  std::vector<int32_t> profile;
  const int32_t width = pixels.Width(), height = pixels.Height();
  if (width <= 0 || height <= 0) return profile;
  const int32_t background = Brightness(pixels.Pixel(0, 0));
  for (int32_t x = 0; x < width; ++x) {
    int32_t ink = 0;
    for (int32_t y = 0; y < height; ++y) {
      if (std::abs(Brightness(pixels.Pixel(x, y)) - background) > INK_THRESHOLD) ++ink;
    }
    if (ink != 0) profile.push_back(ink);
  }
  return profile;
}

int64_t MatchTemplate(const std::vector<int32_t>& profile, const std::vector<int32_t>& templ) {
  if (profile.size() < templ.size()) return kNoMatch;
  int64_t best = kNoMatch;
  for (size_t k = 0; k + templ.size() <= profile.size(); ++k) {
    int64_t distance = 0;
    for (size_t i = 0; i < templ.size(); ++i) {
      distance += std::llabs(static_cast<int64_t>(profile[k + i]) - templ[i]);
    }
    if (distance < best) best = distance;
  }
  return best;
}

int32_t StateFromProfile(const std::vector<int32_t>& profile) {
  if (MatchTemplate(profile, HANGUL_TEMPLATE) < MATCH_LIMIT) return 1;
  if (MatchTemplate(profile, ENGLISH_TEMPLATE) < MATCH_LIMIT) return 0;
  return -1;
}

int32_t DetectImeByImage(LanguageBarFinder& finder) {
  const std::unique_ptr<PixelSource> bar = finder.FindLanguageBar();
  if (!bar) return -1;
  return StateFromProfile(BuildColumnProfile(*bar));
}

}  // namespace tessary
