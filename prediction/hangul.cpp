#include "prediction/hangul.h"

#include <array>
#include <vector>

#include "platform/text_codec.h"

namespace tessary {

namespace {

// Compatibility jamo in the Unicode order of each role.
constexpr std::array<char16_t, 19> kInitials = {0x3131, 0x3132, 0x3134, 0x3137, 0x3138, 0x3139, 0x3141,
                                                0x3142, 0x3143, 0x3145, 0x3146, 0x3147, 0x3148, 0x3149,
                                                0x314A, 0x314B, 0x314C, 0x314D, 0x314E};
constexpr char16_t kFirstVowel = 0x314F, kLastVowel = 0x3163;  // the 21 vowels, in order
constexpr std::array<char16_t, 27> kFinals = {0x3131, 0x3132, 0x3133, 0x3134, 0x3135, 0x3136, 0x3137,
                                              0x3139, 0x313A, 0x313B, 0x313C, 0x313D, 0x313E, 0x313F,
                                              0x3140, 0x3141, 0x3142, 0x3144, 0x3145, 0x3146, 0x3147,
                                              0x3148, 0x314A, 0x314B, 0x314C, 0x314D, 0x314E};

struct Combination {
  char16_t first, second, compound;
};
constexpr std::array<Combination, 18> kCombinations = {{
    {0x3131, 0x3145, 0x3133}, {0x3134, 0x3148, 0x3135}, {0x3134, 0x314E, 0x3136}, {0x3139, 0x3131, 0x313A},
    {0x3139, 0x3141, 0x313B}, {0x3139, 0x3142, 0x313C}, {0x3139, 0x3145, 0x313D}, {0x3139, 0x314C, 0x313E},
    {0x3139, 0x314D, 0x313F}, {0x3139, 0x314E, 0x3140}, {0x3142, 0x3145, 0x3144}, {0x3157, 0x314F, 0x3158},
    {0x3157, 0x3150, 0x3159}, {0x3157, 0x3163, 0x315A}, {0x315C, 0x3153, 0x315D}, {0x315C, 0x3154, 0x315E},
    {0x315C, 0x3163, 0x315F}, {0x3161, 0x3163, 0x3162},
}};

// Key letter to jamo on the 2-set keyboard; 0 for none.
char16_t LetterJamo(char letter) {
  switch (letter) {
    case 'a': return 0x3141;
    case 'b': return 0x3160;
    case 'c': return 0x314A;
    case 'd': return 0x3147;
    case 'e': return 0x3137;
    case 'f': return 0x3139;
    case 'g': return 0x314E;
    case 'h': return 0x3157;
    case 'i': return 0x3151;
    case 'j': return 0x3153;
    case 'k': return 0x314F;
    case 'l': return 0x3163;
    case 'm': return 0x3161;
    case 'n': return 0x315C;
    case 'o': return 0x3150;
    case 'p': return 0x3154;
    case 'q': return 0x3142;
    case 'r': return 0x3131;
    case 's': return 0x3134;
    case 't': return 0x3145;
    case 'u': return 0x3155;
    case 'v': return 0x314D;
    case 'w': return 0x3148;
    case 'x': return 0x314C;
    case 'y': return 0x315B;
    case 'z': return 0x314B;
    case 'E': return 0x3138;
    case 'O': return 0x3152;
    case 'P': return 0x3156;
    case 'Q': return 0x3143;
    case 'R': return 0x3132;
    case 'T': return 0x3146;
    case 'W': return 0x3149;
    default: return 0;
  }
}

template <size_t N>
int PlaceIn(const std::array<char16_t, N>& list, char16_t jamo) {
  for (size_t i = 0; i < N; ++i) {
    if (list[i] == jamo) return static_cast<int>(i);
  }
  return -1;
}
bool IsInitial(char16_t j) { return PlaceIn(kInitials, j) >= 0; }
bool IsFinal(char16_t j) { return PlaceIn(kFinals, j) >= 0; }
bool IsVowel(char16_t j) { return j >= kFirstVowel && j <= kLastVowel; }
char16_t Compound(char16_t first, char16_t second) {
  for (const Combination& c : kCombinations) {
    if (c.first == first && c.second == second) return c.compound;
  }
  return 0;
}

// The letters that type one compatibility jamo (a compound: its two parts).
std::string JamoLetters(char16_t jamo) {
  for (char letter : std::string_view("abcdefghijklmnopqrstuvwxyzEOPQRTW")) {
    if (LetterJamo(letter) == jamo) return std::string(1, letter);
  }
  for (const Combination& c : kCombinations) {
    if (c.compound == jamo) return JamoLetters(c.first) + JamoLetters(c.second);
  }
  return {};
}

class Composer {
 public:
  std::u16string Compose(std::string_view letters) {
    for (char letter : letters) Feed(LetterJamo(letter));
    std::u16string result = output_;
    if (!stack_.empty()) result += StackText();
    return result;
  }

 private:
  struct Entry {
    int stateBefore;
    char16_t jamo;
  };

  void Push(char16_t a, int next) {
    stack_.push_back({state_, a});
    state_ = next;
  }
  void Commit() {
    if (!stack_.empty()) output_ += StackText();
    stack_.clear();
    state_ = 0;
  }
  void Reset() {
    output_.clear();
    stack_.clear();
    state_ = 0;
  }
  bool Combines(char16_t a) const { return !stack_.empty() && Compound(stack_.back().jamo, a) != 0; }
  void CarryOver(char16_t vowel) {
    const char16_t last = stack_.back().jamo;
    stack_.pop_back();
    Commit();
    Feed(last);   // in state 0: the consonant starts the next syllable (state 1)
    Feed(vowel);
  }

  void Feed(char16_t a) {
    switch (state_) {
      case 0:
        if (IsInitial(a)) Push(a, 1);
        return;
      case 1:
        if (IsVowel(a)) return Push(a, 2);
        Reset();
        return Feed(a);
      case 2:
        if (IsFinal(a)) return Push(a, 3);
        if (IsVowel(a)) {
          if (Combines(a)) return Push(a, 5);
          Reset();
          return Feed(a);
        }
        Commit();
        return Feed(a);
      case 3:
        if (IsFinal(a) && Combines(a)) return Push(a, 4);
        if (IsVowel(a)) return CarryOver(a);
        Commit();
        return Feed(a);
      case 4:
      case 7:
        if (IsVowel(a)) return CarryOver(a);
        Commit();
        return Feed(a);
      case 5:
        if (IsFinal(a)) return Push(a, 6);
        Reset();
        return Feed(a);
      case 6:
        if (IsFinal(a) && Combines(a)) return Push(a, 7);
        if (IsVowel(a)) return CarryOver(a);
        Commit();
        return Feed(a);
      default:
        Reset();
        return;
    }
  }

  std::u16string StackText() const {
    if (stack_.size() == 1) return std::u16string(1, stack_[0].jamo);
    const int initial = PlaceIn(kInitials, stack_[0].jamo);
    char16_t vowel = stack_[1].jamo;
    size_t next = 2;
    if (next < stack_.size() && IsVowel(stack_[next].jamo)) vowel = Compound(vowel, stack_[next++].jamo);
    if (initial < 0 || !IsVowel(vowel)) return {};  // cannot happen through the automaton
    int syllable = 0xAC00 + initial * 588 + (vowel - kFirstVowel) * 28;
    if (next < stack_.size()) {
      char16_t final = stack_[next++].jamo;
      if (next < stack_.size() && IsFinal(stack_[next].jamo)) {
        const char16_t compound = Compound(final, stack_[next].jamo);
        if (compound != 0) final = compound;
      }
      const int place = PlaceIn(kFinals, final);
      if (place >= 0) syllable += place + 1;
    }
    return std::u16string(1, static_cast<char16_t>(syllable));
  }

  int state_ = 0;
  std::vector<Entry> stack_;
  std::u16string output_;
};

}  // namespace

std::u16string widenKorean(const TextCodec& codec, std::string_view cp949) { return codec.Cp949ToUtf16(cp949); }

std::string narrowKorean(const TextCodec& codec, std::u16string_view text) { return codec.Utf16ToCp949(text); }

std::string textToJamoCode(std::u16string_view text, bool escape) {
  std::string code;
  code.reserve(text.size() * 3);
  for (char16_t c : text) {
    if (isHangulSyllable(c)) {
      const int s = c - kFirstSyllable;
      code += static_cast<char>(JAMO_INITIAL_BASE + s / 588);
      code += static_cast<char>(JAMO_MEDIAL_BASE + (s % 588) / 28);
      code += static_cast<char>(JAMO_FINAL_BASE + s % 28);
    } else if (c >= 0x3131 && c <= 0x314E) {
      const int place = PlaceIn(kInitials, c);
      if (place >= 0) code += static_cast<char>(JAMO_INITIAL_BASE + place);
    } else if (c >= 0x20 && c <= 0x7E) {
      const char ch = static_cast<char>(c);
      if (escape && std::string_view("%+^{}~").find(ch) != std::string_view::npos) {
        code += '{';
        code += ch;
        code += '}';
      } else {
        code += ch;
      }
    }
  }
  return code;
}

std::u16string jamoCodeToText(std::string_view code) {
  std::u16string text;
  size_t i = 0;
  const auto byte = [&code](size_t at) { return static_cast<uint8_t>(code[at]); };
  while (i < code.size()) {
    const uint8_t b = byte(i);
    if (b < JAMO_INITIAL_BASE || b > 0x94) {
      text += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    const bool medial = i + 1 < code.size() && byte(i + 1) >= JAMO_MEDIAL_BASE && byte(i + 1) <= 0xAA;
    if (medial && i + 2 < code.size() && byte(i + 2) >= JAMO_FINAL_BASE && byte(i + 2) <= 0xCE) {
      text += static_cast<char16_t>(0xAC00 + (b - JAMO_INITIAL_BASE) * 588 + (byte(i + 1) - JAMO_MEDIAL_BASE) * 28 +
                                    (byte(i + 2) - JAMO_FINAL_BASE));
      i += 3;
      continue;
    }
    // An initial alone (or, in malformed code, one whose syllable is cut short: its
    // medial byte then follows as a byte of its own).
    text += kInitials[b - JAMO_INITIAL_BASE];
    ++i;
  }
  return text;
}

std::string jamoToKeyLetters(uint8_t jamo) {
  if (jamo >= JAMO_INITIAL_BASE && jamo <= 0x94) return JamoLetters(kInitials[jamo - JAMO_INITIAL_BASE]);
  if (jamo >= JAMO_MEDIAL_BASE && jamo <= 0xAA) {
    return JamoLetters(static_cast<char16_t>(kFirstVowel + (jamo - JAMO_MEDIAL_BASE)));
  }
  if (jamo > JAMO_FINAL_BASE && jamo <= 0xCE) return JamoLetters(kFinals[jamo - JAMO_FINAL_BASE - 1]);
  return std::string(1, static_cast<char>(jamo));
}

std::u16string composeKeyLetters(std::string_view letters) { return Composer().Compose(letters); }

}  // namespace tessary

namespace tessary {

size_t consonantBackspaces(std::string_view letters) {
  size_t shown = 0;
  char16_t composing = 0;  // the lone consonant still being composed, if it can take a second
  bool compound = false;   // whether the last one shown is a double consonant still composed
  for (char letter : letters) {
    const char16_t jamo = LetterJamo(letter);
    if (composing != 0 && Compound(composing, jamo) != 0) {
      composing = 0;
      compound = true;
    } else {
      ++shown;
      composing = jamo;
      compound = false;
    }
  }
  return shown + (compound ? 1 : 0);
}

std::string syllablesToKeyLetters(std::u16string_view syllables) {
  std::string letters;
  for (char b : textToJamoCode(syllables, false)) {
    if (static_cast<uint8_t>(b) != JAMO_FINAL_BASE) letters += jamoToKeyLetters(static_cast<uint8_t>(b));
  }
  return letters;
}

std::vector<std::u16string_view> hangulWords(std::u16string_view text) {
  std::vector<std::u16string_view> words;
  for (size_t at = 0; at < text.size();) {
    if (!isHangulSyllable(text[at])) {
      ++at;
      continue;
    }
    size_t end = at;
    while (end < text.size() && isHangulSyllable(text[end])) ++end;
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

}  // namespace tessary

namespace tessary {

char twoSetLetter(int32_t code, int32_t shiftState) {
  if (code < 'A' || code > 'Z') return 0;
  const bool shifted = shiftState == 1 || shiftState == 3;
  const char upper = static_cast<char>(code);
  if (shifted && std::string_view("QWERTOP").find(upper) != std::string_view::npos) return upper;
  return static_cast<char>(upper + ('a' - 'A'));
}

bool isVowelLetter(char letter) { return IsVowel(LetterJamo(letter)); }

namespace {

// The text of one syllable in progress from its jamo in typing order: initial, one or
// two vowels, one or two final consonants; a vowel without an initial stands alone.
std::u16string SyllableText(const std::vector<char16_t>& jamo) {
  if (jamo.empty()) return {};
  size_t next = 0;
  const char16_t initial = IsVowel(jamo[0]) ? 0 : jamo[next++];
  char16_t vowel = 0;
  if (next < jamo.size()) {
    vowel = jamo[next++];
    if (next < jamo.size() && IsVowel(jamo[next])) vowel = Compound(vowel, jamo[next++]);
  }
  if (initial == 0) return std::u16string(1, vowel);
  if (vowel == 0) return std::u16string(1, initial);
  int syllable = 0xAC00 + PlaceIn(kInitials, initial) * 588 + (vowel - kFirstVowel) * 28;
  if (next < jamo.size()) {
    char16_t final = jamo[next++];
    if (next < jamo.size()) final = Compound(final, jamo[next]);
    syllable += PlaceIn(kFinals, final) + 1;
  }
  return std::u16string(1, static_cast<char16_t>(syllable));
}

}  // namespace

// States: 0 nothing; 1 initial; 2 and a vowel; 3 and a final; 4 and a double final;
// 5 initial and a double vowel; 6 and a final; 7 and a double final; 8 a vowel alone;
// 9 a double vowel alone. Each entry of the stack keeps the state before it, so
// Backspace goes back one jamo.
void SyllableComposer::Push(char16_t jamo, int next) {
  stack_.push_back({state_, jamo});
  state_ = next;
}

void SyllableComposer::Commit() {
  committed_ += wordText().substr(committed_.size());
  stack_.clear();
  state_ = 0;
}

void SyllableComposer::CarryOver(char16_t vowel) {
  const Entry last = stack_.back();
  stack_.pop_back();
  state_ = last.stateBefore;
  Commit();
  Feed(last.jamo);  // the final consonant (or the second half of a double one) moves on
  Feed(vowel);
}

void SyllableComposer::Feed(char16_t a) {
  const bool vowel = IsVowel(a);
  const bool combines = !stack_.empty() && Compound(stack_.back().jamo, a) != 0;
  switch (state_) {
    case 0: return Push(a, vowel ? 8 : 1);
    case 1:
      if (vowel) return Push(a, 2);
      break;
    case 2:
    case 5:
      if (IsFinal(a)) return Push(a, state_ + 1);
      if (state_ == 2 && vowel && combines) return Push(a, 5);
      break;
    case 3:
    case 6:
      if (vowel) return CarryOver(a);
      if (combines) return Push(a, state_ + 1);
      break;
    case 4:
    case 7:
      if (vowel) return CarryOver(a);
      break;
    case 8:
      if (vowel && combines) return Push(a, 9);
      break;
    default: break;
  }
  Commit();
  Feed(a);  // from state 0 every jamo is taken
}

std::u16string SyllableComposer::wordText() const {
  std::vector<char16_t> jamo;
  for (const Entry& e : stack_) jamo.push_back(e.jamo);
  return committed_ + SyllableText(jamo);
}

TextReplacement SyllableComposer::Since(const std::u16string& before) const {
  const std::u16string after = wordText();
  size_t same = 0;
  while (same < before.size() && same < after.size() && before[same] == after[same]) ++same;
  return {before.size() - same, after.substr(same)};
}

TextReplacement SyllableComposer::Type(char letter) {
  const char16_t jamo = LetterJamo(letter);
  if (jamo == 0) return {};
  const std::u16string before = wordText();
  Feed(jamo);
  return Since(before);
}

std::optional<TextReplacement> SyllableComposer::Backspace() {
  if (stack_.empty()) {
    if (!committed_.empty()) committed_.pop_back();
    return std::nullopt;
  }
  const std::u16string before = wordText();
  state_ = stack_.back().stateBefore;
  stack_.pop_back();
  return Since(before);
}

TextReplacement SyllableComposer::ReplaceWord(std::u16string_view word) {
  const std::u16string before = wordText();
  stack_.clear();
  state_ = 0;
  committed_ = word;
  TextReplacement change = Since(before);
  End();
  return change;
}

void SyllableComposer::End() {
  stack_.clear();
  state_ = 0;
  committed_.clear();
}

}  // namespace tessary
