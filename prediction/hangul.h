#pragma once
// Korean text in the three spellings word prediction uses: CP949 bytes, UTF-16, and
// JamoCode (the dictionaries' byte alphabet: a syllable is always three bytes, initial,
// medial and final or "no final"); and the 2-set keyboard in both directions.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

class TextCodec;

inline constexpr uint8_t JAMO_INITIAL_BASE = 0x82;
inline constexpr uint8_t JAMO_MEDIAL_BASE = 0x96;
inline constexpr uint8_t JAMO_FINAL_BASE = 0xB3;  // alone: no final consonant

// The precomposed Hangul syllables of UTF-16 (가 … 힣), 28 to a vowel: a syllable
// without a final is a multiple of 28 from the first.
inline constexpr char16_t kFirstSyllable = 0xAC00, kLastSyllable = 0xD7A3;
inline constexpr bool isHangulSyllable(char16_t c) { return c >= kFirstSyllable && c <= kLastSyllable; }
inline constexpr bool hasFinal(char16_t syllable) { return (syllable - kFirstSyllable) % 28 != 0; }

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
// The 2-set key letter of a letter key (its code 'A' to 'Z') in a shift state (bit value
// 1 Shift, 2 Caps Lock; only Shift gives the shifted jamo): capitals for the shifted
// jamo, 0 for a key that is no letter.
char twoSetLetter(int32_t code, int32_t shiftState);
// Whether a 2-set key letter types a vowel (any other letter types a consonant).
bool isVowelLetter(char letter);

// What the keyboard changes in the text when it composes itself: the last `erase`
// characters it typed go, then `insert` is typed.
struct TextReplacement {
  size_t erase = 0;
  std::u16string insert;
  bool empty() const { return erase == 0 && insert.empty(); }
  bool operator==(const TextReplacement&) const = default;
};

// The 2-set keyboard composed by the keyboard itself: the syllable in progress, and what
// it typed of the current word, so that every change is a replacement of exactly that.
// Nothing typed is ever dropped: a consonant or vowel that joins no syllable stands as
// a jamo of its own (a lone consonant followed by another stays two jamo: ㄱㅅㅎ).
class SyllableComposer {
 public:
  // A 2-set key letter: what changes on screen (각 + ㅏ: one character goes, 가가 comes).
  TextReplacement Type(char letter);
  // Backspace: the syllable in progress loses its last jamo. Without a syllable in
  // progress there is nothing to replace (nullopt): the Backspace key itself goes, and
  // the character it removes leaves the word.
  std::optional<TextReplacement> Backspace();
  // A chosen word in place of what was typed of the current word; the word ends.
  TextReplacement ReplaceWord(std::u16string_view word);
  // Space, Enter, punctuation, a language switch, a click elsewhere, a focus change: the
  // syllable and the word end where they stand.
  void End();

  bool composing() const { return !stack_.empty(); }
  // What the keyboard typed of the current word, the syllable in progress included.
  std::u16string wordText() const;

 private:
  struct Entry {
    int stateBefore;
    char16_t jamo;
  };
  void Feed(char16_t jamo);
  void Push(char16_t jamo, int next);
  void Commit();
  void CarryOver(char16_t vowel);
  TextReplacement Since(const std::u16string& before) const;

  int state_ = 0;
  std::vector<Entry> stack_;
  std::u16string committed_;  // the word's syllables and jamo before the one in progress
};

}  // namespace tessary
