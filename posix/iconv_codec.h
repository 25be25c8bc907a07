#pragma once
// CP949 conversions through the C library's iconv.
#include "platform/text_codec.h"

namespace tessary {

class IconvCodec final : public TextCodec {
 public:
  std::u16string Cp949ToUtf16(std::string_view text) const override;
  std::string Utf16ToCp949(std::u16string_view text) const override;
};

}  // namespace tessary
