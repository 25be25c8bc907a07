#pragma once
// Conversions of script numbers (doubles) to the record's integer fields.
#include <cstdint>

namespace tessary {

// Truncation toward zero, defined for every double: values beyond the int32 range
// saturate at its ends, and NaN gives 0.
int32_t TruncateToInt32(double value);

}  // namespace tessary
