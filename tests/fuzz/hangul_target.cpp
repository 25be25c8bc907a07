// Korean text in its three spellings, from dictionary bytes, labels and key letters.
#include "fuzz_targets.h"
#include "posix/iconv_codec.h"
#include "prediction/hangul.h"

namespace tessary::fuzz {

void FuzzHangul(std::string_view data) {
  IconvCodec codec;
  const std::u16string wide = widenKorean(codec, data);
  if (!wide.empty()) {
    const std::string narrow = narrowKorean(codec, wide);
    FUZZ_CHECK(!narrow.empty());
    FUZZ_CHECK(widenKorean(codec, narrow) == wide);
  }

  // The same bytes as UTF-16 code units.
  std::u16string units;
  for (size_t i = 0; i + 1 < data.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<uint8_t>(data[i]) | (static_cast<uint8_t>(data[i + 1]) << 8));
  }
  const std::u16string* texts[] = {&wide, &units};
  for (const std::u16string* text : texts) {
    const std::string code = textToJamoCode(*text, false);
    FUZZ_CHECK(textToJamoCode(jamoCodeToText(code), false) == code);  // JamoCode round trip
    const std::string escaped = textToJamoCode(*text, true);
    FUZZ_CHECK(escaped.size() >= code.size());
    FUZZ_CHECK(escaped.size() <= code.size() * 3);
  }

  // Arbitrary bytes as JamoCode, and as key letters.
  const std::u16string decoded = jamoCodeToText(data);
  FUZZ_CHECK(decoded.size() <= data.size());
  const std::string recoded = textToJamoCode(decoded, false);
  FUZZ_CHECK(textToJamoCode(jamoCodeToText(recoded), false) == recoded);
  std::string letters;
  for (char byte : data) {
    const std::string typed = jamoToKeyLetters(static_cast<uint8_t>(byte));
    FUZZ_CHECK(!typed.empty() && typed.size() <= 2);
    letters += typed;
  }
  FUZZ_CHECK(composeKeyLetters(data).size() <= data.size());
  FUZZ_CHECK(composeKeyLetters(letters).size() <= letters.size());
}

}  // namespace tessary::fuzz
