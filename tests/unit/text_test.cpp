#include <gtest/gtest.h>

#include "platform/numbers.h"
#include "platform/text_codec.h"
#include "platform/timers.h"
#include "posix/embedded_texts.h"
#include "posix/iconv_codec.h"

namespace tessary {
namespace {

TEST(TextTest, StringLiteralsAreCp949) {
  const std::string name = "누리꽃(기본)";
  EXPECT_EQ(name, "\xB4\xA9\xB8\xAE\xB2\xC9(\xB1\xE2\xBA\xBB)");
}

TEST(TextTest, Cp949ConvertsToUtf16AndBack) {
  IconvCodec codec;
  const std::string korean = "테사리 3.1";
  EXPECT_EQ(codec.Cp949ToUtf16(korean), u"테사리 3.1");
  EXPECT_EQ(codec.Utf16ToCp949(u"한/영"), "한/영");
  EXPECT_EQ(Cp949ToUtf8(codec, "굴림"), u8"굴림" == std::u8string_view(u8"굴림") ? "\xEA\xB5\xB4\xEB\xA6\xBC" : "");
  // Text that is not CP949 gives an empty text, not a partial one.
  EXPECT_EQ(codec.Cp949ToUtf16("ab\xFF"), u"");
  EXPECT_EQ(codec.Utf16ToCp949(u"\u00E9t\u00E9 \U0001F600"), "");
}

TEST(TextTest, Utf8AndUtf16RoundTripAndMalformedInputIsReplaced) {
  const std::u16string text = u"a\u00E9\u4E2D\U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xE0\x80\x80z"), u"\uFFFDz");  // overlong
  EXPECT_EQ(Utf8ToUtf16("\xFFz"), u"\uFFFDz");
}

TEST(TextTest, EmbeddedPreludesAreThereAndUnknownIdsAreEmpty) {
  EmbeddedTextResources texts;
  EXPECT_NE(texts.LoadTextResource(kLayoutPreludeText).find("function Key(data)"), std::string::npos);
  EXPECT_NE(texts.LoadTextResource(kConfigPreludeText).find("IDM_IMG = 2"), std::string::npos);
  EXPECT_EQ(texts.LoadTextResource(1), "");
}

TEST(TextTest, TimerResolutionIsAtLeastAHundredAndCappedByTheMaximum) {
  EXPECT_EQ(TimerResolution({1, 1000000}), 100u);
  EXPECT_EQ(TimerResolution({150, 1000000}), 150u);
  EXPECT_EQ(TimerResolution({1, 50}), 50u);
}

TEST(TextTest, TruncationIsDefinedForEveryDouble) {
  EXPECT_EQ(TruncateToInt32(65.9), 65);
  EXPECT_EQ(TruncateToInt32(-0.5), 0);
  EXPECT_EQ(TruncateToInt32(2147483647.5), 2147483647);
  EXPECT_EQ(TruncateToInt32(-2147483648.9), -2147483647 - 1);
  EXPECT_EQ(TruncateToInt32(1.0 / 0.0), 2147483647);
}

}  // namespace
}  // namespace tessary
