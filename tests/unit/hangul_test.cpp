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
