// Stroke strings come from layouts and from dictionary words: any bytes at all.
#include "fuzz_targets.h"

namespace tessary::fuzz {

void FuzzStrokes(std::string_view data) { CheckStrokeString(data); }

}  // namespace tessary::fuzz
