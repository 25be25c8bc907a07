#pragma once
// Conversions of script numbers (doubles) to the record's integer fields.
#include <cstdint>

namespace tessary {

// Truncation toward zero, defined for every double: values beyond the int32 range
// saturate at its ends, and NaN gives 0.
int32_t TruncateToInt32(double value);

// Screen sizes are designed at 96 dots per inch and drawn at the monitor's density.
inline constexpr int32_t kDesignDpi = 96;
// `value` design pixels at `dpi`, rounded to the nearest pixel; a DPI of 0 or below
// (no answer from the platform) keeps the design size. Saturates at the int32 ends.
int32_t ScaleForDpi(int32_t value, int32_t dpi);
// The inverse: `value` pixels at `dpi` in design pixels.
int32_t UnscaleForDpi(int32_t value, int32_t dpi);

}  // namespace tessary
