#pragma once
// Korean text in the three spellings word prediction uses: CP949 bytes, UTF-16, and
// JamoCode (the dictionaries' byte alphabet: a syllable is always three bytes, initial,
// medial and final or "no final"); and the 2-set keyboard in both directions.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

class TextCodec;

inline constexpr uint8_t JAMO_INITIAL_BASE = 0x82;
inline constexpr uint8_t JAMO_MEDIAL_BASE = 0x96;
inline constexpr uint8_t JAMO_FINAL_BASE = 0xB3;  // alone: no final consonant

// CP949 to UTF-16 and back; empty text when the input cannot be converted.
std::u16string widenKorean(const TextCodec& codec, std::string_view cp949);
std::string narrowKorean(const TextCodec& codec, std::u16string_view text);

// Syllables give three bytes, initial-capable consonants their initial byte, printable
// ASCII itself ("%", "+", "^", "{", "}" and "~" as "{c}" when `escape` is set);
// everything else is dropped.
std::string textToJamoCode(std::u16string_view text, bool escape);
// The reverse; malformed code never stalls and never reads past its end.
std::u16string jamoCodeToText(std::string_view code);
// The 2-set key letters that type one JamoCode byte; other bytes give themselves.
std::string jamoToKeyLetters(uint8_t jamo);
// How many Backspaces remove what consonant letters typed without a vowel show in an
// input method: a lone consonant each, but a pair that makes a double consonant (r, t:
// ㄳ) shows as one, which takes two while it is still being composed.
size_t consonantBackspaces(std::string_view letters);
// The Hangul an input method composes from 2-set key letters.
std::u16string composeKeyLetters(std::string_view letters);
// The 2-set key letters that type a run of syllables (capitals for the shifted jamo).
std::string syllablesToKeyLetters(std::u16string_view syllables);
// The runs of Hangul syllables in a text: the words a simulated user types.
std::vector<std::u16string_view> hangulWords(std::u16string_view text);

}  // namespace tessary
