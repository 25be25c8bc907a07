#pragma once
// Conversions between the system's CP949 bytes and the wide characters of the screen.
// Both directions give an empty text when the input cannot be converted.
#include <string>
#include <string_view>

namespace tessary {

class TextCodec {
 public:
  virtual ~TextCodec() = default;
  virtual std::u16string Cp949ToUtf16(std::string_view text) const = 0;
  virtual std::string Utf16ToCp949(std::u16string_view text) const = 0;
};

// Plain Unicode transformations; unpaired surrogates and malformed bytes become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// CP949 to UTF-8 through a codec: for text that leaves the program as UTF-8 (the
// command-line tool's messages, file names on Linux).
std::string Cp949ToUtf8(const TextCodec& codec, std::string_view text);
std::string Utf8ToCp949(const TextCodec& codec, std::string_view text);

}  // namespace tessary
