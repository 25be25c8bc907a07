#include "cli/cli.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "config/settings.h"
#include "fakes.h"
#include "posix/iconv_codec.h"
#include "posix/us_layout.h"

namespace tessary {
namespace {

class CliTest : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CliPlatform platform{files, texts, codec, layout, out, err, notCp949};
    const int status = RunCli(args, platform);
    stdoutText = Slurp(out);
    stderrText = Slurp(err);
    return status;
  }
  static std::string Slurp(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    return text;
  }

  testing::FakeFileSystem files;
  testing::TestTextResources texts;
  std::vector<size_t> notCp949;
  IconvCodec codec;
  UsEnglishLayout layout;
  std::string stdoutText, stderrText;
};

TEST_F(CliTest, AMissingInputGivesTheDefaults) {
  EXPECT_EQ(Run({"config", "nothing.cfg"}), 0);
  EXPECT_EQ(stdoutText, FormatSettings(Settings{}));
  EXPECT_EQ(stderrText, "");
}

TEST_F(CliTest, WritesWhatTheProgramWouldWriteAtExit) {
  files.files["in.cfg"] = FormatSettings(Settings{}) + "left = -5\nkbdName = 5\n";
  EXPECT_EQ(Run({"config", "in.cfg", "out.cfg"}), 0);
  EXPECT_EQ(stdoutText, "");
  Settings expected;
  expected.left = -5;
  expected.kbdName = "5";
  EXPECT_EQ(files.files["out.cfg"], FormatSettings(expected));
}

TEST_F(CliTest, AMessageBoxBecomesStatusTwoWithItsTextInUtf8) {
  files.files["in.cfg"] = "left = (";
  EXPECT_EQ(Run({"config", "in.cfg"}), kCliMessageShown);
  EXPECT_EQ(stderrText.substr(0, stderrText.find('\n') + 1), "\xEC\xB9\x98\xEB\xAA\x85\xEC\xA0\x81 \xEC\x98\xA4\xEB\xA5\x98: "
                        "\xEC\x84\xA4\xEC\xA0\x95 \xED\x8C\x8C\xEC\x9D\xBC\xEC\x97\x90 "
                        "\xEB\xAC\xB8\xEC\xA0\x9C\xEA\xB0\x80 \xEC\x9E\x88\xEC\x8A\xB5"
                        "\xEB\x8B\x88\xEB\x8B\xA4.\n");  // 치명적 오류: 설정 파일에 문제가 있습니다.
  // Then the interpreter's reason, naming the file and line.
  EXPECT_NE(stderrText.find("in.cfg:1:"), std::string::npos) << stderrText;
  EXPECT_EQ(stdoutText, FormatSettings(Settings{}));
}

TEST_F(CliTest, ComposeAndJamo) {
  EXPECT_EQ(Run({"compose", "rkfrk"}), 0);
  EXPECT_EQ(stdoutText, "\xEA\xB0\x88\xEA\xB0\x80\n");  // 갈가 in UTF-8
  EXPECT_EQ(Run({"jamo", "--escape", "\xB0\xA1+"}), 0);  // 가+ in CP949, as RunCli gets it
  EXPECT_EQ(stdoutText, "82 96 B3 7B 2B 7D\n");
  EXPECT_EQ(Run({"jamo", "\xFF\xFF"}), kCliMessageShown);
  EXPECT_EQ(Run({"jamo"}), kCliUsage);
}

TEST_F(CliTest, PredictPrintsEachKeysCandidates) {
  // 가방, weight 50: its JamoCode reversed, a space, the weight.
  files.files["hangul.lex"] = "\xC8\x96\x89\xB3\x96\x82 50\n";
  EXPECT_EQ(Run({"predict", "rk", "--type", "\xB0\xA1\xB9\xE6"}), 0);  // 가방 in CP949
  // 가방 after r, and still after r k.
  EXPECT_EQ(stdoutText, "\xEA\xB0\x80\xEB\xB0\xA9\n\xEA\xB0\x80\xEB\xB0\xA9\nSendStrokes qkd\n");
  EXPECT_EQ(Run({"predict", "--dict", "none.lex", "r"}), kCliMessageShown);
  EXPECT_EQ(stdoutText, "\n");
  EXPECT_EQ(Run({"predict"}), kCliUsage);
}

TEST_F(CliTest, KsrCountsTheKeystrokesOfASimulatedUser) {
  files.files["hangul.lex"] = "\xC8\x96\x89\xB3\x96\x82 50\n";  // 가방
  // 가방 (r k q k d), then a word that is not in the dictionary (각: r k r), then 가방 again.
  files.files["text.txt"] = "abc \xEA\xB0\x80\xEB\xB0\xA9, \xEA\xB0\x81 \xEA\xB0\x80\xEB\xB0\xA9.";
  EXPECT_EQ(Run({"ksr", "text.txt"}), 0);
  // 가방 is on a word key after r: r, the word key, the space. 각: r k r and the space.
  // The keys show nothing old when a word begins: the last 가방 takes r again.
  EXPECT_EQ(stdoutText, "words 3 letters 16 keystrokes 10 ksr 37.5%\n");
  EXPECT_EQ(Run({"ksr", "--keys", "0", "text.txt"}), kCliUsage);
  EXPECT_EQ(Run({"ksr", "missing.txt"}), kCliMessageShown);
}

TEST_F(CliTest, ActivateTypesWordKeysWithTheKeyboardsOwnPredictor) {
  files.directories["set"] = {{"k.kdf", false}};
  const std::string key = "pos = {}, normal = {}, press = {}, scan = {} }\n";
  files.files["set\\k.kdf"] =
      "Version = 1 Language = 1 Description = 'd' Prediction = true Width = 9 Height = 9 FontSize = 9\n"
      "Key { code = 82, stroke = 'r', label = { ncns = 'r', ncys = 'R', ycns = 'r', ycys = 'R' }, " + key +
      "Key { code = 0, type = TK_STRING, stroke = ' ', label = { ncns = ' ', ncys = ' ', ycns = ' ', ycys = ' ' }, " +
      key;
  files.files["hangul.lex"] = "\xC8\x96\x89\xB3\x96\x82 50\n";  // 가방
  EXPECT_EQ(Run({"activate", "set", "0", "1"}), 0);
  EXPECT_NE(stdoutText.find("activate 1\nSendStrokes kqkd\n"), std::string::npos) << stdoutText;
  files.files.erase("hangul.lex");  // a predicting layout without its dictionary is told
  EXPECT_EQ(Run({"activate", "set", "0"}), kCliMessageShown);
}

TEST_F(CliTest, ArgumentsThatAreNotCp949TextAreRefused) {
  // 캽 (in CP949) and ᇘ (a conjoining jamo CP949 lacks), as UTF-8 on a command line.
  std::vector<size_t> refused;
  const std::vector<std::string> args =
      Utf8ArgsToCp949(codec, {"jamo", "\xEC\xBA\xBD", "\xEC\xBA\xBD\xE1\x87\x98"}, refused);
  EXPECT_EQ(args[1], "\xB0\x63");  // 캽 in CP949
  EXPECT_EQ(refused, std::vector<size_t>{2});
  notCp949 = refused;
  EXPECT_EQ(Run(args), kCliMessageShown);
  EXPECT_EQ(stderrText, "argument 3 is not CP949 text (the keyboard works on CP949)\n");
  EXPECT_TRUE(stdoutText.empty());
}

TEST_F(CliTest, WrongArgumentsShowTheUsage) {
  EXPECT_EQ(Run({}), kCliUsage);
  EXPECT_EQ(Run({"config"}), kCliUsage);
  EXPECT_NE(stderrText.find("usage: tessary-cli config IN [OUT]"), std::string::npos);
  EXPECT_EQ(Run({"bogus", "x"}), kCliUsage);
}

TEST_F(CliTest, AnUnwritableOutputIsReported) {
  files.failWrites = true;
  EXPECT_EQ(Run({"config", "in.cfg", "out.cfg"}), kCliWriteFailed);
  EXPECT_EQ(files.files.count("out.cfg"), 0u);
}

TEST_F(CliTest, StrokesPrintTheOfferedEventsAndTheResult) {
  EXPECT_EQ(Run({"strokes", "^c"}), 0);
  EXPECT_EQ(stdoutText, "WM_KEYDOWN 17\nWM_KEYDOWN 67\nWM_KEYUP 67\nWM_KEYUP 17\nresult 0\n");
  EXPECT_EQ(Run({"strokes", "%{F4}"}), 0);
  EXPECT_EQ(stdoutText, "WM_SYSKEYDOWN 18\nWM_SYSKEYDOWN 115\nWM_SYSKEYUP 115\nWM_KEYUP 18\nresult 0\n");
  EXPECT_EQ(Run({"strokes", "{QUEUESYNC}"}), 0);
  EXPECT_EQ(stdoutText, "WM_QUEUESYNC\nresult 0\n");
  EXPECT_EQ(Run({"strokes", "{F1"}), 1);
  EXPECT_EQ(stdoutText, "result 1\n");
}

TEST_F(CliTest, StrokesOfHangulPlayTheCp949BytesAsTheKeyboardReadsThemFromALayout) {
  // 가한 typed on a UTF-8 command line: the keyboard reads the same stroke from a layout
  // file as the four CP949 bytes B0 A1 C7 D1, not as the six UTF-8 ones.
  const std::vector<std::string> args = Utf8ArgsToCp949(codec, {"strokes", "\xEA\xB0\x80\xED\x95\x9C"}, notCp949);
  ASSERT_TRUE(notCp949.empty());
  ASSERT_EQ(Run(args), 0);
  const std::string fromCommandLine = stdoutText;
  ASSERT_EQ(Run({"strokes", "\xB0\xA1\xC7\xD1"}), 0);
  EXPECT_EQ(fromCommandLine, stdoutText);
  size_t keyDowns = 0;
  for (size_t at = 0; (at = stdoutText.find("WM_KEYDOWN 255\n", at)) != std::string::npos; ++at) ++keyDowns;
  EXPECT_EQ(keyDowns, 4u) << stdoutText;
}

TEST_F(CliTest, LayoutPrintsTheBuiltInKoreanKeyboardAsJson) {
  EXPECT_EQ(Run({"layout"}), 0);
  EXPECT_EQ(stdoutText.rfind("{\"version\":3,\"language\":1,\"description\":\"\xED\x95\x9C", 0), 0u)
      << stdoutText.substr(0, 80);
  EXPECT_NE(stdoutText.find("\n{\"code\":27,\"type\":0,\"stroke\":\"{ESC}\",\"labels\":[\"Esc\",\"Esc\",\"Esc\","
                            "\"Esc\"],\"normal\":[0,15133397,13395558],\"press\":[13395558,14860966,13395558],"
                            "\"pos\":[2,5,30,22],\"scan\":[1,1]}"),
            std::string::npos);
  size_t keys = 0;
  for (size_t at = stdoutText.find("{\"code\""); at != std::string::npos; at = stdoutText.find("{\"code\"", at + 1)) ++keys;
  EXPECT_EQ(keys, 90u);
  EXPECT_EQ(Run({"layout", "--lang", "0"}), 0);
  EXPECT_NE(stdoutText.find("\"language\":0"), std::string::npos);
}

TEST_F(CliTest, LayoutReportsABrokenSetWithTheInterpretersReason) {
  files.directories["set"] = {{"k.kdf", false}};
  files.files["set\\k.kdf"] = "Language = 1\nVersion = (";
  EXPECT_EQ(Run({"layout", "set"}), kCliMessageShown);
  EXPECT_NE(stderrText.find("k.kdf:2:"), std::string::npos) << stderrText;
  EXPECT_NE(stdoutText.find("\"language\":1"), std::string::npos);  // the built-ins it fell back to
  files.files["set\\k.kdf"] = "Version = 1 Language = 1 Description = 'd' Prediction = false Width = 1 "
                              "Height = 1 FontSize = 1 Key { label = 5 }";
  EXPECT_EQ(Run({"layout", "set"}), kCliMessageShown);
  // The keyboard held nothing yet: it took the built-in layouts rather than stay empty.
  EXPECT_NE(stdoutText.find("\"description\":\"\xED\x95\x9C\xEA\xB8\x80"), std::string::npos) << stdoutText;
  EXPECT_EQ(Run({"layout", "set", "--lang"}), kCliUsage);
}

TEST_F(CliTest, ActivatePrintsWhatEachKeySends) {
  EXPECT_EQ(Run({"activate", "66", "34"}), 0);
  EXPECT_EQ(stdoutText,
            "activate 66\nSendKeyEvent 16 down\nview 1 language 1 latched 66\n"
            "activate 34\nSendKeyStroke 81\nview 1 language 1 latched 66\n");
  EXPECT_EQ(Run({"activate", "--lang", "0", "63", "87", "-1"}), 0);
  EXPECT_EQ(stdoutText,
            "activate 63\nSendStrokes ^c\nview 0 language 0 latched\n"
            "activate 87\nSendKeyStroke 37 extended\nview 0 language 0 latched\n"
            "activate -1\nview 0 language 0 latched\n");
  EXPECT_EQ(Run({"activate"}), kCliUsage);
  EXPECT_EQ(Run({"activate", "dir", "x"}), kCliUsage);
}

TEST_F(CliTest, ScanCostCountsTheHighlightsStepsOfASwitchUser) {
  // Line 1: Space and r (ㄱ), then a word key in block 2; line 2: k (ㅏ). The dictionary
  // holds 가방 alone.
  auto key = [](const char* code, const char* type, int line, int block) {
    return std::string("Key { code = ") + code + ", type = " + type +
           ", stroke = 'x', label = { ncns = ' ', ncys = ' ', ycns = ' ', ycys = ' ' }, pos = { left = 0, top = 0, width = 9, height = 9 },"
           " normal = {}, press = {}, scan = { line = " + std::to_string(line) +
           ", block = " + std::to_string(block) + " } }\n";
  };
  const std::string head = "Version = 3 Language = IL_KOREAN Description = 'd' Prediction = true Width = 9 "
                           "Height = 9 FontSize = 9\n";
  files.directories["set"] = {{"k.kdf", false}};
  files.files["set\\k.kdf"] =
      head + key("32", "0", 1, 1) + key("82", "0", 1, 1) + key("0", "TK_STRING", 1, 2) + key("75", "0", 2, 1);
  files.files["hangul.lex"] = "\xC8\x96\x89\xB3\x96\x82 50\n";
  files.files["text"] = "\xEA\xB0\x80\xEB\xB0\xA9, \xEA\xB0\x80.";  // 가방, 가. in UTF-8
  // 가방: r after one step (Space comes first), the word key after one (block 1 first),
  // Space after none. 가: r after one, k after one (line 2), Space after one (round to
  // line 1); the word key shows only 가방.
  EXPECT_EQ(Run({"scan-cost", "set", "text"}), 0);
  EXPECT_EQ(stdoutText, "words 2 steps 5 steps-per-word 2.5\n");
  // Holding the switch makes the same steps; in step mode each of them is a press, on
  // top of the 19 choices (the first one wakes the scan).
  EXPECT_EQ(Run({"scan-cost", "--mode", "hold", "set", "text"}), 0);
  EXPECT_EQ(stdoutText, "words 2 steps 5 steps-per-word 2.5\n");
  EXPECT_EQ(Run({"scan-cost", "--mode", "step", "set", "text"}), 0);
  EXPECT_EQ(stdoutText, "words 2 presses 24 presses-per-word 12.0\n");
  EXPECT_EQ(Run({"scan-cost", "--mode", "fast", "set", "text"}), kCliUsage);
  // A word the dictionary lacks, twice: learnt the first time, a word key the second.
  files.files["twice"] = "\xEA\xB0\x80\xEA\xB0\x80 \xEA\xB0\x80\xEA\xB0\x80";  // 가가 가가
  size_t steps = 0, learning = 0;
  EXPECT_EQ(Run({"scan-cost", "set", "twice"}), 0);
  EXPECT_EQ(std::sscanf(stdoutText.c_str(), "words 2 steps %zu", &steps), 1);
  EXPECT_EQ(Run({"scan-cost", "--learn", "set", "twice"}), 0);
  EXPECT_EQ(std::sscanf(stdoutText.c_str(), "words 2 steps %zu", &learning), 1);
  EXPECT_LT(learning, steps);

  files.files["set\\k.kdf"] = head + key("32", "0", 1, 1) + key("82", "0", 1, 1) + key("75", "0", 0, 1);
  EXPECT_EQ(Run({"scan-cost", "set", "text"}), kCliMessageShown);  // k is out of the scan
  EXPECT_EQ(stdoutText, "");
  EXPECT_EQ(stderrText, "the scan never reaches the key k\n");
  EXPECT_EQ(Run({"scan-cost", kDefaultLayoutName, "text"}), 0);  // the built-in set by its name
  EXPECT_EQ(Run({"scan-cost", "set", "none"}), kCliMessageShown);
  EXPECT_EQ(Run({"scan-cost", "set"}), kCliUsage);
}

TEST_F(CliTest, AWrongTypeIsReportedLikeABrokenFile) {
  files.files["in.cfg"] = FormatSettings(Settings{}) + "useClickSound = 1\n";
  EXPECT_EQ(Run({"config", "in.cfg"}), kCliMessageShown);
  // The title and text in UTF-8, the key's name after the text, then the reason.
  EXPECT_NE(stderrText.find("\xEB\x8B\xA4. (useClickSound)\nuseClickSound: should be 'true' or 'false'\n"),
            std::string::npos) << stderrText;
  EXPECT_EQ(stdoutText, FormatSettings(Settings{}));
}

}  // namespace
}  // namespace tessary
