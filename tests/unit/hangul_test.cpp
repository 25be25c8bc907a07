// Hangul text processing: JamoCode, the 2-set keyboard and the composition automaton.
#include "prediction/hangul.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/text_codec.h"
#include "posix/iconv_codec.h"

namespace tessary {
namespace {

// The sources' narrow literals are CP949 (the execution character set): Korean text is
// written here as UTF-16 literals.
std::u16string Compose(std::string_view letters) { return composeKeyLetters(letters); }

TEST(ComposeTest, TheExamplesOfTheTwoSetKeyboard) {
  EXPECT_EQ(Compose("rk"), u"가");
  EXPECT_EQ(Compose("rkr"), u"각");
  EXPECT_EQ(Compose("rkrk"), u"가가");  // the final moves to the next syllable
  EXPECT_EQ(Compose("rkfr"), u"갉");
  EXPECT_EQ(Compose("rkfrk"), u"갈가");
  EXPECT_EQ(Compose("hk"), u"");        // a vowel first is ignored
  EXPECT_EQ(Compose("rs"), u"ㄴ");      // a second consonant before a vowel discards the first
  EXPECT_EQ(Compose("rkj"), u"");       // a vowel that cannot join resets
  EXPECT_EQ(Compose("rhkE"), u"ㄸ");    // state 5 resets on ㄸ
  EXPECT_EQ(Compose("rkE"), u"가ㄸ");   // state 2 commits
  EXPECT_EQ(Compose("dnlfrt"), u"윍ㅅ");
  EXPECT_EQ(Compose("dkssudgktpdy"), u"안녕하세요");
  EXPECT_EQ(Compose("rhkdgkrwlfk"), u"광학지라");
  EXPECT_EQ(Compose("qnpfr"), u"뷁");
  EXPECT_EQ(Compose("qnpfrk"), u"뷀가");
  EXPECT_EQ(Compose("Tkd"), u"쌍");
  EXPECT_EQ(Compose("rk1rk"), u"가가");  // a letter without a jamo commits
  EXPECT_EQ(Compose(""), u"");
}

TEST(ComposeTest, RandomLettersNeverBreakTheAutomaton) {
  std::mt19937 random(7);
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyzEOPQRTW1 ";
  for (int round = 0; round < 3000; ++round) {
    std::string letters;
    const int length = static_cast<int>(random() % 24);
    for (int i = 0; i < length; ++i) letters += alphabet[random() % alphabet.size()];
    const std::u16string text = composeKeyLetters(letters);
    for (char16_t c : text) {
      EXPECT_TRUE((c >= 0xAC00 && c <= 0xD7A3) || (c >= 0x3131 && c <= 0x314E)) << letters;
    }
  }
}

// What the keyboard sends when it composes itself: each letter as a replacement of
// what it typed.
TextReplacement Change(size_t erase, std::u16string insert) { return {erase, std::move(insert)}; }

TEST(SyllableComposerTest, EachLetterReplacesTheSyllableInProgress) {
  SyllableComposer c;
  EXPECT_EQ(c.Type('r'), Change(0, u"ㄱ"));
  EXPECT_EQ(c.Type('k'), Change(1, u"가"));
  EXPECT_EQ(c.Type('r'), Change(1, u"각"));
  EXPECT_EQ(c.Type('k'), Change(1, u"가가"));  // the final moves on
  EXPECT_EQ(c.wordText(), u"가가");
  // 닭이: the second half of the double final moves on; 안녕하세요 arrives whole.
  SyllableComposer d;
  std::u16string shown;
  for (char letter : std::string_view("ekfrdl")) {
    const TextReplacement r = d.Type(letter);
    shown = shown.substr(0, shown.size() - r.erase) + r.insert;
  }
  EXPECT_EQ(shown, u"닭이");
  d.End();
  shown.clear();
  for (char letter : std::string_view("dkssudgktpdy")) {
    const TextReplacement r = d.Type(letter);
    shown = shown.substr(0, shown.size() - r.erase) + r.insert;
  }
  EXPECT_EQ(shown, u"안녕하세요");
  // Nothing typed is dropped: vowels alone, consonants alone, ㄸ after a vowel.
  SyllableComposer e;
  for (char letter : std::string_view("hkrthkE")) e.Type(letter);  // ㅘ, ㄱ, 솨, ㄸ
  EXPECT_EQ(e.wordText(), u"ㅘㄱ솨ㄸ");
}

TEST(SyllableComposerTest, BackspaceTakesTheLastJamoThenWholeCharacters) {
  SyllableComposer c;
  for (char letter : std::string_view("ekfr")) c.Type(letter);  // 닭
  EXPECT_EQ(c.Backspace(), Change(1, u"달"));
  EXPECT_EQ(c.Backspace(), Change(1, u"다"));
  EXPECT_EQ(c.Type('f'), Change(1, u"달"));
  EXPECT_EQ(c.Backspace(), Change(1, u"다"));
  EXPECT_EQ(c.Backspace(), Change(1, u"ㄷ"));
  EXPECT_EQ(c.Backspace(), Change(1, u""));
  EXPECT_EQ(c.Backspace(), std::nullopt);  // nothing in progress: the key itself goes
  // After a move the syllable before is settled: Backspace takes it as a whole.
  SyllableComposer d;
  for (char letter : std::string_view("rkrk")) d.Type(letter);
  EXPECT_EQ(d.Backspace(), Change(1, u"ㄱ"));
  EXPECT_EQ(d.Backspace(), Change(1, u""));
  EXPECT_EQ(d.Backspace(), std::nullopt);
  EXPECT_EQ(d.wordText(), u"");  // the key removed the 가 before
}

TEST(SyllableComposerTest, AnEndSettlesTheSyllableAndAWordReplacesExactlyWhatWasTyped) {
  SyllableComposer c;
  c.Type('r');
  c.Type('k');
  c.End();  // Space, Enter, a focus change...
  EXPECT_FALSE(c.composing());
  EXPECT_EQ(c.Type('k'), Change(0, u"ㅏ"));  // a new word: 가 stays as it was
  c.End();
  for (char letter : std::string_view("rkr")) c.Type(letter);  // 각
  EXPECT_EQ(c.ReplaceWord(u"가게"), Change(1, u"가게"));
  EXPECT_EQ(c.wordText(), u"");
  for (char letter : std::string_view("rtg")) c.Type(letter);  // initials: ㄱㅅㅎ
  EXPECT_EQ(c.wordText(), u"ㄱㅅㅎ");
  EXPECT_EQ(c.ReplaceWord(u"감사합니다"), Change(3, u"감사합니다"));
  for (char letter : std::string_view("rk")) c.Type(letter);
  EXPECT_EQ(c.ReplaceWord(u"가방"), Change(0, u"방"));  // what stands already stays
}

TEST(SyllableComposerTest, RandomKeysLeaveOnScreenWhatItTyped) {
  std::mt19937 random(11);
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyzEOPQRTW<.";
  for (int round = 0; round < 2000; ++round) {
    SyllableComposer c;
    std::u16string screen, before;  // the word's characters, and what stood before it
    for (int i = 0; i < 20; ++i) {
      const char key = alphabet[random() % alphabet.size()];
      if (key == '.') {  // a word end
        c.End();
        before = screen;
        continue;
      }
      const std::optional<TextReplacement> r = key == '<' ? c.Backspace() : c.Type(key);
      if (!r) {  // the Backspace key itself
        if (!screen.empty()) screen.pop_back();
        if (screen.size() < before.size()) before = screen;
        continue;
      }
      ASSERT_LE(r->erase, screen.size() - before.size());  // never more than it typed
      screen = screen.substr(0, screen.size() - r->erase) + r->insert;
    }
    EXPECT_EQ(screen, before + c.wordText());
  }
}

TEST(SyllableComposerTest, TwoSetLettersOfTheLetterKeys) {
  EXPECT_EQ(twoSetLetter('R', 0), 'r');
  EXPECT_EQ(twoSetLetter('R', 1), 'R');  // Shift: ㄲ
  EXPECT_EQ(twoSetLetter('R', 2), 'r');  // Caps Lock alone shifts no jamo
  EXPECT_EQ(twoSetLetter('A', 1), 'a');  // ㅁ has no shifted jamo
  EXPECT_EQ(twoSetLetter(0x20, 0), 0);
}

TEST(JamoCodeTest, SyllablesConsonantsAndEscapes) {
  EXPECT_EQ(textToJamoCode(u"가+", true), "\x82\x96\xB3{+}");
  EXPECT_EQ(textToJamoCode(u"가+", false), "\x82\x96\xB3+");
  EXPECT_EQ(textToJamoCode(u"각", false), "\x82\x96\xB4");
  EXPECT_EQ(textToJamoCode(u"ㄳ", false), "");
  EXPECT_EQ(textToJamoCode(u"ㄱ", false), "\x82");
  EXPECT_EQ(textToJamoCode(u"ㅎ", false), "\x94");
  EXPECT_EQ(textToJamoCode(u"%^{}~a", true), "{%}{^}{{}{}}{~}a");
  EXPECT_EQ(textToJamoCode(u"ㅏ\t\u4E2D\u00E9", false), "");  // vowels, controls, other scripts
}

TEST(JamoCodeTest, EverySyllableRoundTrips) {
  for (char16_t c = 0xAC00; c <= 0xD7A3; ++c) {
    const std::u16string text(1, c);
    const std::string code = textToJamoCode(text, false);
    ASSERT_EQ(code.size(), 3u);
    ASSERT_EQ(jamoCodeToText(code), text);
  }
  EXPECT_EQ(jamoCodeToText("\x82\x82\x96\xB3!\x94"), u"ㄱ가!ㅎ");
}

TEST(JamoCodeTest, MalformedCodeNeitherStallsNorOverreads) {
  for (const std::string& code : {std::string("\x82\x96"), std::string("\x82"), std::string("\x82\x96\x41"),
                                 std::string("\x96\xB3"), std::string("\x82\x96\xCF")}) {
    const std::u16string text = jamoCodeToText(code);
    EXPECT_LE(text.size(), code.size());
    EXPECT_FALSE(text.empty());
  }
}

TEST(JamoCodeTest, KeyLettersOfEachJamo) {
  EXPECT_EQ(jamoToKeyLetters(0x82), "r");       // initial ㄱ
  EXPECT_EQ(jamoToKeyLetters(0x83), "R");       // ㄲ
  EXPECT_EQ(jamoToKeyLetters(0xB4), "r");       // final ㄱ
  EXPECT_EQ(jamoToKeyLetters(0x99), "O");       // ㅒ
  EXPECT_EQ(jamoToKeyLetters(0x96 + 9), "hk");  // ㅘ
  EXPECT_EQ(jamoToKeyLetters(0x96 + 11), "hl"); // ㅚ
  EXPECT_EQ(jamoToKeyLetters(0x96 + 19), "ml"); // ㅢ
  EXPECT_EQ(jamoToKeyLetters(0xB3 + 3), "rt");  // ㄳ
  EXPECT_EQ(jamoToKeyLetters(0xB3 + 9), "fr");  // ㄺ
  EXPECT_EQ(jamoToKeyLetters(0xB3 + 15), "fg"); // ㅀ
  EXPECT_EQ(jamoToKeyLetters(0xB3 + 18), "qt"); // ㅄ
  EXPECT_EQ(jamoToKeyLetters(0xB3), "\xB3");    // no final: itself
  EXPECT_EQ(jamoToKeyLetters('a'), "a");
  // Typing every syllable's key letters composes it back.
  for (char16_t c = 0xAC00; c <= 0xD7A3; c += 7) {
    std::string letters;
    for (char b : textToJamoCode(std::u16string(1, c), false)) {
      if (static_cast<uint8_t>(b) != JAMO_FINAL_BASE) letters += jamoToKeyLetters(static_cast<uint8_t>(b));
    }
    ASSERT_EQ(composeKeyLetters(letters), std::u16string(1, c)) << letters;
  }
}

TEST(JamoCodeTest, CodePageConversionsGiveEmptyTextOnFailure) {
  const IconvCodec codec;
  EXPECT_EQ(narrowKorean(codec, u"가"), "\xB0\xA1");
  EXPECT_EQ(widenKorean(codec, "\xB0\xA1"), u"가");
  EXPECT_EQ(widenKorean(codec, "\xFF\xFF"), u"");
  EXPECT_EQ(widenKorean(codec, narrowKorean(codec, u"\u4E2D")), u"\u4E2D");  // hanja are in the code page
  EXPECT_EQ(narrowKorean(codec, u"\U0001F600"), "");
}

}  // namespace
}  // namespace tessary
