#include "config/settings.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fakes.h"

namespace tessary {
namespace {

using testing::FakeFileSystem;
using testing::RecordingMessageBoxes;
using testing::ShownMessage;
using testing::TestTextResources;

// The file the program writes with every default, line for line.
const char* const kDefaultFile =
    "left             =  30\n"
    "top              =  30\n"
    "width            = 522\n"
    "height           = 200\n"
    "\n"
    "usePrediction   = false\n"
    "useClickSound   = true\n"
    "useKeyRepeat    = true\n"
    "useTransparency = true\n"
    "useShiftRelease = true\n"
    "opacity           =  80      -- 0 = transparent,  255 = opaque\n"
    "transparencyDelay = 100\n"
    "\n"
    "inputMode        = IM_CLICK\n"
    "imeDetectMethod  = IDM_CBT\n"
    "idmImgDelay      = 2000\n"
    "\n"
    "keyRepeatDelay        = 300\n"
    "keyRepeatAcceleration = 1\n"
    "dwellDelay            = 500\n"
    "scanDelay             = 3000\n"
    "scanMaxLoop           =   2\n"
    "\n"
    "bgndColor        = RGB(247, 239, 222)\n"
    "hoverFaceColor   = RGB(255, 204, 204)\n"
    "hoverBorderColor = RGB(255, 102, 153)\n"
    "dwellFillColor   = RGB(255, 160,  85)\n"
    "\n"
    "ellipseWidth     =   5\n"
    "ellipseHeight    =   5\n"
    "\n"
    "kbdName          = \"누리꽃(기본)\"\n"
    "\n"
    "lfHeight         =  12\n"
    "lfWidth          =   0\n"
    "lfEscapement     =   0\n"
    "lfOrientation    =   0\n"
    "lfWeight         = 400\n"
    "lfItalic         =   0\n"
    "lfUnderline      =   0\n"
    "lfStrikeOut      =   0\n"
    "lfCharSet        =   0\n"
    "lfOutPrecision   =   0\n"
    "lfClipPrecision  =   0\n"
    "lfQuality        =   0\n"
    "lfPitchAndFamily =   2\n"
    "lfFaceName       = \"굴림\"\n"
    "useWordLearning  = false\n"
    "hangulComposition = HC_AUTO\n"
    "scanMode         = SCAN_AUTO\n"
    "scanSwitch       = SWITCH_SPACE\n"
    "scanSwitch2      = SWITCH_ENTER\n"
    "scanFirstDelay   = 0\n"
    "useScanTick      = false\n";

class SettingsTest : public ::testing::Test {
 protected:
  // Reads a configuration file holding the defaults with `edits` appended (later
  // assignments win in Lua).
  Settings ReadWith(const std::string& edits) {
    files.files[kConfigFileName] = std::string(kDefaultFile) + edits;
    Settings settings;
    result = ReadSettings(settings, files, texts, messages);
    return settings;
  }
  std::string Line(const Settings& s, int number) {
    const std::string text = FormatSettings(s);
    size_t start = 0;
    for (int i = 1; i < number; ++i) start = text.find('\n', start) + 1;
    return text.substr(start, text.find('\n', start) - start);
  }

  FakeFileSystem files;
  TestTextResources texts;
  RecordingMessageBoxes messages;
  ConfigReadResult result = ConfigReadResult::kNoFile;
};

TEST_F(SettingsTest, TheDefaultsMatchTheirDocumentedNumbers) {
  Settings s;
  s.left = 99;
  SetDefaults(s);
  EXPECT_EQ(s.left, 30);
  EXPECT_EQ(s.bgndColor, 14610423u);
  EXPECT_EQ(s.hoverFaceColor, 13421823u);
  EXPECT_EQ(s.hoverBorderColor, 10053375u);
  EXPECT_EQ(s.dwellFillColor, 5611775u);
  EXPECT_EQ(s.kbdName.size(), 12u);  // CP949
  EXPECT_EQ(s.labelFont.lfFaceName.size(), 4u);
}

TEST_F(SettingsTest, WritesTheFortySevenLinesOfTheDefaults) {
  const std::string text = FormatSettings(Settings{});
  EXPECT_EQ(text, kDefaultFile);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 54);  // and word learning's, Hangul composition's and scanning's, last
}

// A file written before the choice of switch and scan mode scans as before: automatic,
// with the Space bar. What the dialog sets is written by name and read back.
TEST_F(SettingsTest, AnOlderFileWithoutTheScanLinesScansAsBefore) {
  std::string older = kDefaultFile;
  older.erase(older.find("scanMode"));
  files.files[kConfigFileName] = older + "left = 7\n";
  Settings s;
  s.scanMode = SCAN_HOLD;
  s.scanSwitch = SWITCH_MOUSE_LEFT;
  s.scanFirstDelay = 500;
  s.useScanTick = true;
  EXPECT_EQ(ReadSettings(s, files, texts, messages), ConfigReadResult::kRead);
  EXPECT_EQ(s.scanMode, SCAN_AUTO);
  EXPECT_EQ(s.scanSwitch, SWITCH_SPACE);
  EXPECT_EQ(s.scanSwitch2, SWITCH_ENTER);
  EXPECT_EQ(s.scanFirstDelay, 0);
  EXPECT_FALSE(s.useScanTick);  // silent, as before
  EXPECT_EQ(s.left, 7);

  Settings chosen;
  chosen.scanMode = SCAN_STEP;
  chosen.scanSwitch = SWITCH_MOUSE_MIDDLE;
  chosen.scanSwitch2 = SWITCH_F1 + 9;
  chosen.scanFirstDelay = 1500;
  chosen.scanMaxLoop = 4;
  chosen.useScanTick = true;
  const std::string text = FormatSettings(chosen);
  EXPECT_NE(text.find("scanMode         = SCAN_STEP\n"), std::string::npos);
  EXPECT_NE(text.find("scanSwitch       = SWITCH_MOUSE_MIDDLE\n"), std::string::npos);
  EXPECT_NE(text.find("scanSwitch2      = SWITCH_F10\n"), std::string::npos);
  EXPECT_NE(text.find("useScanTick      = true\n"), std::string::npos);
  files.files[kConfigFileName] = text;
  Settings back;
  EXPECT_EQ(ReadSettings(back, files, texts, messages), ConfigReadResult::kRead);
  EXPECT_EQ(back, chosen);

  ReadWith("scanSwitch = 'Space'\n");
  EXPECT_EQ(result, ConfigReadResult::kFileFailed);  // a word is not a switch
}

TEST_F(SettingsTest, AnOlderFileWithoutWordLearningReadsAsOff) {
  std::string older = kDefaultFile;
  older.erase(older.rfind("useWordLearning"));
  files.files[kConfigFileName] = older + "left = 7\n";
  Settings s;
  s.useWordLearning = true;
  EXPECT_EQ(ReadSettings(s, files, texts, messages), ConfigReadResult::kRead);
  EXPECT_FALSE(s.useWordLearning);
  EXPECT_EQ(s.left, 7);  // read to the end: no stop
  EXPECT_TRUE(ReadWith("useWordLearning = true\n").useWordLearning);
}

TEST_F(SettingsTest, AnOlderFileLeavesHangulToTheInputMethodAndANewOneComposesAutomatically) {
  std::string older = kDefaultFile;
  older.erase(older.rfind("hangulComposition"));
  files.files[kConfigFileName] = older;
  Settings s;
  EXPECT_EQ(ReadSettings(s, files, texts, messages), ConfigReadResult::kRead);
  EXPECT_EQ(s.hangulComposition, HC_IME);
  EXPECT_EQ(Settings{}.hangulComposition, HC_AUTO);  // no file: the defaults
  EXPECT_EQ(ReadWith("hangulComposition = HC_KEYBOARD\n").hangulComposition, HC_KEYBOARD);
  EXPECT_NE(FormatSettings(ReadWith("hangulComposition = HC_IME\n")).find("\nhangulComposition = HC_IME\n"),
            std::string::npos);
  ReadWith("hangulComposition = true\n");
  ASSERT_EQ(messages.shown.size(), 1u);  // a value of the wrong type is a broken file
  EXPECT_NE(messages.shown[0].text.find("(hangulComposition)"), std::string::npos);
}

TEST_F(SettingsTest, NoFileMeansDefaultsAndNoMessage) {
  Settings s;
  s.opacity = 1;
  EXPECT_EQ(ReadSettings(s, files, texts, messages), ConfigReadResult::kNoFile);
  EXPECT_EQ(s, Settings{});
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsTest, ReadsBackWhatItWrote) {
  Settings original;
  original.left = -5;
  original.opacity = 300;
  original.transparencyDelay = 150.5;
  original.inputMode = IM_SCAN;
  original.imeDetectMethod = IDM_IMG;
  original.keyRepeatAcceleration = 2.5;
  original.bgndColor = Rgb(1, 2, 3);
  original.kbdName = "내 자판";
  original.labelFont.lfItalic = 255;
  original.labelFont.lfFaceName = "돋움";
  original.usePrediction = true;
  original.useShiftRelease = false;
  files.files[kConfigFileName] = FormatSettings(original);
  Settings read;
  EXPECT_EQ(ReadSettings(read, files, texts, messages), ConfigReadResult::kRead);
  EXPECT_EQ(read, original);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SettingsTest, FormatsTheDocumentedExamples) {
  const Settings s = ReadWith("opacity = 300\nleft = -5\ntransparencyDelay = 150.5\n"
                              "keyRepeatAcceleration = 1\nlfItalic = 257\n");
  EXPECT_EQ(s.opacity, 300);
  EXPECT_EQ(Line(s, 1), "left             =  -5");
  EXPECT_EQ(Line(s, 11), "opacity           = 300      -- 0 = transparent,  255 = opaque");
  EXPECT_EQ(Line(s, 12), "transparencyDelay = 150.5");
  EXPECT_EQ(Line(s, 19), "keyRepeatAcceleration = 1");
  EXPECT_EQ(s.labelFont.lfItalic, 1);
  EXPECT_EQ(Line(s, 39), "lfItalic         =   1");
}

TEST_F(SettingsTest, AcceptsAnyLuaThatSetsTheValues) {
  const Settings s = ReadWith("kbdName = 5\nwidth = '600'\ninputMode = IM_SCAN\n"
                              "imeDetectMethod = IDM_IMG\nbgndColor = RGB(1, 2, 3)\n"
                              "height = width / 3 + 0.9\n");
  EXPECT_EQ(s.kbdName, "5");
  EXPECT_EQ(s.width, 600);
  EXPECT_EQ(s.height, 200);
  EXPECT_EQ(s.inputMode, IM_SCAN);
  EXPECT_EQ(s.imeDetectMethod, IDM_IMG);
  EXPECT_EQ(s.bgndColor, 0x030201u);
  EXPECT_EQ(result, ConfigReadResult::kRead);
}

TEST_F(SettingsTest, ByteFieldsKeepTheirLowEightBits) {
  const Settings s = ReadWith("lfCharSet = 129\nlfQuality = -1\nlfPitchAndFamily = 513\n");
  EXPECT_EQ(s.labelFont.lfCharSet, 129);
  EXPECT_EQ(s.labelFont.lfQuality, 255);
  EXPECT_EQ(s.labelFont.lfPitchAndFamily, 1);
}

TEST_F(SettingsTest, LongTextsAreCutToTheirBuffers) {
  const Settings s = ReadWith("kbdName = string.rep('k', 400)\nlfFaceName = string.rep('f', 40)\n");
  EXPECT_EQ(s.kbdName, std::string(255, 'k'));
  EXPECT_EQ(s.labelFont.lfFaceName, std::string(31, 'f'));
}

TEST_F(SettingsTest, NamesWithQuotesAndBackslashesSurviveTheRoundTrip) {
  Settings original;
  original.kbdName = "a \"quoted\" \\ name";
  files.files[kConfigFileName] = FormatSettings(original);
  Settings read;
  ReadSettings(read, files, texts, messages);
  EXPECT_EQ(read.kbdName, original.kbdName);
}

TEST_F(SettingsTest, RealsThatPrintfWritesAsWordsAreWrittenSoTheNextStartReadsThem) {
  // "inf" or "nan" in the file would be missing numbers, a broken file at every start.
  const Settings s = ReadWith("transparencyDelay = 1/0\nkeyRepeatAcceleration = -1/0\n");
  EXPECT_EQ(Line(s, 12), "transparencyDelay = 1/0");
  EXPECT_EQ(Line(s, 19), "keyRepeatAcceleration = -1/0");
  Settings odd;
  odd.transparencyDelay = std::nan("");
  odd.keyRepeatAcceleration = -0.0;
  EXPECT_EQ(Line(odd, 12), "transparencyDelay = 0/0");
  EXPECT_EQ(Line(odd, 19), "keyRepeatAcceleration = 0");
  files.files[kConfigFileName] = FormatSettings(s);
  Settings again;
  EXPECT_EQ(ReadSettings(again, files, texts, messages), ConfigReadResult::kRead);
  EXPECT_EQ(FormatSettings(again), FormatSettings(s));
}

TEST_F(SettingsTest, ModesWithoutANameAreWrittenAsNumbers) {
  Settings s;
  s.inputMode = 7;
  s.imeDetectMethod = 0;
  EXPECT_EQ(Line(s, 14), "inputMode        = 7");
  EXPECT_EQ(Line(s, 15), "imeDetectMethod  = 0");
}

TEST_F(SettingsTest, ABrokenFileShowsItsMessageAndKeepsTheDefaults) {
  const Settings s = ReadWith("left = 100\nthis is not lua\n");
  EXPECT_EQ(result, ConfigReadResult::kFileFailed);
  EXPECT_EQ(s, Settings{});
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (ShownMessage{"설정 파일에 문제가 있습니다.", "치명적 오류"}));

  messages.shown.clear();
  const Settings raised = ReadWith("left = 100\nerror('stop')\n");
  EXPECT_EQ(raised, Settings{});
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(SettingsTest, ABrokenPreludeShowsItsMessage) {
  texts.overrides[kConfigPreludeText] = "IM_CLICK = (";
  const Settings s = ReadWith("");
  EXPECT_EQ(result, ConfigReadResult::kPreludeFailed);
  EXPECT_EQ(s, Settings{});
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (ShownMessage{"설정 파일을 읽는데 문제가 있습니다.", "치명적 오류"}));
}

TEST_F(SettingsTest, AMissingValueOrOneOfTheWrongTypeIsABrokenFileNamingTheKey) {
  const auto broken = [&](const std::string& text, const char* key) {
    messages.shown.clear();
    files.files[kConfigFileName] = text;
    Settings settings;
    settings.left = 99;
    result = ReadSettings(settings, files, texts, messages);
    EXPECT_EQ(settings, Settings{}) << text;
    EXPECT_EQ(result, ConfigReadResult::kFileFailed);
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{{std::string("설정 파일에 문제가 있습니다. (") + key + ")", "치명적 오류"}}));
  };
  broken(std::string(kDefaultFile) + "useClickSound = 1\n", "useClickSound");
  broken(std::string(kDefaultFile) + "useScanTick = 'yes'\n", "useScanTick");
  broken(std::string(kDefaultFile) + "opacity = 'lots'\n", "opacity");
  broken(std::string(kDefaultFile) + "lfFaceName = nil\n", "lfFaceName");
  broken("", "left");  // an empty file: every key is missing
  const std::string cut = std::string(kDefaultFile).substr(0, std::string(kDefaultFile).find("bgndColor"));
  broken(cut, "bgndColor");
  // What was broken is kept beside the defaults that replace it.
  ASSERT_TRUE(WriteSettings(Settings{}, files, kConfigFileName, true));
  EXPECT_EQ(files.files[std::string(kConfigFileName) + ".bak"], cut);
}

TEST_F(SettingsTest, WritingReplacesTheFileOnlyWhenTheNewOneIsComplete) {
  files.files[kConfigFileName] = "old content";
  files.failWrites = true;
  EXPECT_FALSE(WriteSettings(Settings{}, files));
  EXPECT_EQ(files.files[kConfigFileName], "old content");
  EXPECT_EQ(files.files.count(TemporaryPathFor(kConfigFileName)), 0u);

  files.failWrites = false;
  files.failReplace = true;
  EXPECT_FALSE(WriteSettings(Settings{}, files));
  EXPECT_EQ(files.files[kConfigFileName], "old content");
  EXPECT_EQ(files.files.size(), 1u);

  files.failReplace = false;
  files.lineEnd = "\r\n";
  EXPECT_TRUE(WriteSettings(Settings{}, files));
  const std::string& written = files.files[kConfigFileName];
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 54);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\r'), 54);
  EXPECT_EQ(written.substr(0, 24), "left             =  30\r\n");
}

TEST_F(SettingsTest, ABrokenFileIsKeptBesideTheNewOne) {
  files.files[kConfigFileName] = "my settings with a typo (";
  EXPECT_TRUE(WriteSettings(Settings{}, files, kConfigFileName, true));
  EXPECT_EQ(files.files[std::string(kConfigFileName) + ".bak"], "my settings with a typo (");
  EXPECT_EQ(files.files[kConfigFileName], kDefaultFile);
}

}  // namespace
}  // namespace tessary
