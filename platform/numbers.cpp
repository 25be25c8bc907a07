#include "platform/numbers.h"

#include <cmath>
#include <limits>

namespace tessary {

int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

namespace {
int32_t RoundedRatio(int64_t value, int64_t numerator, int64_t denominator) {
  const int64_t product = value * numerator;
  const int64_t half = denominator / 2;
  int64_t result = product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
  if (result > INT32_MAX) result = INT32_MAX;
  if (result < INT32_MIN) result = INT32_MIN;
  return static_cast<int32_t>(result);
}
}  // namespace

int32_t ScaleForDpi(int32_t value, int32_t dpi) {
  return dpi <= 0 ? value : RoundedRatio(value, dpi, kDesignDpi);
}

int32_t UnscaleForDpi(int32_t value, int32_t dpi) {
  return dpi <= 0 ? value : RoundedRatio(value, kDesignDpi, dpi);
}

}  // namespace tessary
