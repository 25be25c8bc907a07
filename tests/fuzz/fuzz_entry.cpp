// The libFuzzer entry of one target, chosen by TESSARY_FUZZ_TARGET.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_targets.h"

namespace tessary::fuzz {
void PropertyFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
  std::abort();
}
}  // namespace tessary::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tessary::fuzz::TESSARY_FUZZ_TARGET(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
