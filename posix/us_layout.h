#pragma once
// A stand-in for the platform's keyboard layout where there is none (the native build
// and tessary-cli on Linux): the US English layout, as VkKeyScanA and MapVirtualKeyA
// answer for it on Windows. Characters it has no key for give 0xFFFF.
#include "platform/key_output.h"

namespace tessary {

class UsEnglishLayout final : public KeyLayout {
 public:
  uint16_t VkKeyScan(char ch) const override;
  uint32_t MapVirtualKey(uint32_t code) const override;
};

}  // namespace tessary
