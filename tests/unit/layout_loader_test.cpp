#include "layout/layout_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/settings.h"
#include "fakes.h"
#include "keyboard/keyboard_model.h"
#include "keyboard_rig.h"
#include "posix/iconv_codec.h"
#include "posix/posix_file_system.h"
#include "posix/us_layout.h"

namespace tessary {
namespace {

using testing::FakeFileSystem;
using testing::FakeKeyOutput;
using testing::RecordingMessageBoxes;
using testing::ShownMessage;
using testing::TestTextResources;

const std::string kSetFolder = "C:\\work\\키보드\\Mine";

// A small layout script for language `language`.
std::string Script(int language, const std::string& extra = "", const std::string& key = "") {
  return "Version = 3.7\nLanguage = " + std::to_string(language) +
         "\nDescription = 'mine'\nPrediction = true\nWidth = 100\nHeight = 50\nFontSize = 10\n" + extra +
         (key.empty() ? std::string("Key { code = 65.9, type = 2, stroke = 'a', label = { ncns = 'a', "
                                    "ncys = 'A', ycns = 12, ycys = 'a' }, pos = { left = 1.5, top = 2, "
                                    "width = 3, height = 4 }, normal = { text = RGB(255, 255, 255), face = 1, "
                                    "border = 2 }, press = { text = 3, face = 4 }, scan = { line = 2 } }\n")
                      : key);
}

class LayoutLoaderTest : public ::testing::Test, protected testing::KeyboardRig {
 protected:
  void AddSet(std::vector<std::pair<std::string, std::string>> files_, std::vector<std::string> dirs = {}) {
    std::vector<DirectoryEntry>& entries = files.directories[kSetFolder];
    for (auto& [name, text] : files_) {
      entries.push_back({name, false});
      files.files[kSetFolder + "\\" + name] = text;
    }
    for (const std::string& d : dirs) entries.push_back({d, true});
  }

};

struct Row {
  int line, top;
  std::vector<std::vector<std::pair<int, int>>> blocks;  // (left, width) per key
};

std::vector<std::pair<int, int>> Step(int first, int count, int width = 24) {
  std::vector<std::pair<int, int>> keys;
  for (int i = 0; i < count; ++i) keys.push_back({first + 26 * i, width});
  return keys;
}

// The geometry of both built-in layouts, row by row and block by block.
const std::vector<Row> kGeometry = {
    {1, 5, {{{2, 30}, {54, 24}, {80, 24}, {106, 24}, {132, 24}}, Step(171, 4), Step(288, 4),
            {{402, 34}, {438, 34}, {474, 34}}}},
    {2, 34, {Step(2, 5), Step(132, 5), {{262, 24}, {288, 24}, {314, 24}, {340, 50}},
             {{402, 34}, {438, 34}, {474, 34}}}},
    {3, 58, {{{2, 42}, {46, 24}, {72, 24}, {98, 24}, {124, 24}}, Step(150, 5),
             {{280, 24}, {306, 24}, {332, 24}, {358, 32}}, {{402, 34}, {438, 34}, {474, 34}}}},
    {4, 82, {{{2, 50}, {54, 24}, {80, 24}, {106, 24}, {132, 24}}, Step(158, 5),
             {{288, 24}, {314, 24}, {340, 50}}, {{402, 34}, {438, 34}, {474, 34}}}},
    {5, 106, {{{2, 63}, {67, 24}, {93, 24}, {119, 24}}, Step(145, 4),
              {{249, 24}, {275, 24}, {301, 24}, {327, 63}, {438, 34}}}},
    {6, 130, {{{2, 35}, {39, 35}, {76, 35}, {113, 129}}, {{244, 35}, {281, 35}, {318, 35}, {355, 35}},
              {{402, 34}, {438, 34}, {474, 34}}}},
};

const std::vector<int> kCodes = {
    27,  112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 44,  145, 19,  192, 49,
    50,  51,  52,  53,  54,  55,  56,  57,  48,  189, 187, 8,   45,  36,  33,  9,   81,  87,
    69,  82,  84,  89,  85,  73,  79,  80,  219, 221, 220, 46,  35,  34,  20,  65,  83,  68,
    70,  71,  72,  74,  75,  76,  186, 222, 13,  0,   0,   135, 16,  90,  88,  67,  86,  66,
    78,  77,  188, 190, 191, 16,  38,  17,  18,  91,  32,  21,  25,  93,  17,  37,  40,  39};

void CheckBuiltin(const Keyboard& kb, int language) {
  ASSERT_EQ(kb.keys.size(), 90u);
  EXPECT_EQ(kb.version, 3);
  EXPECT_EQ(kb.language, language);
  EXPECT_EQ(kb.description, language == 1 ? "한글 두벌식" : "영문 쿼티");
  EXPECT_FALSE(kb.prediction);
  EXPECT_EQ(kb.width, 510);
  EXPECT_EQ(kb.height, 155);
  EXPECT_EQ(kb.fontSize, 12);
  size_t i = 0;
  for (const Row& row : kGeometry) {
    for (size_t b = 0; b < row.blocks.size(); ++b) {
      for (auto [left, width] : row.blocks[b]) {
        const KeyDef& key = kb.keys[i];
        EXPECT_EQ(key.pos, (KeyPos{double(left), double(row.top), double(width), 22})) << "key " << i;
        EXPECT_EQ(key.scanLine, row.line) << "key " << i;
        EXPECT_EQ(key.scanBlock, static_cast<int>(b) + 1) << "key " << i;
        EXPECT_EQ(key.code, kCodes[i]) << "key " << i;
        ++i;
      }
    }
  }
  EXPECT_EQ(i, 90u);
  for (const KeyDef& key : kb.keys) {
    EXPECT_EQ(key.normal, (KeyColors{Rgb(0, 0, 0), Rgb(213, 234, 230), Rgb(102, 102, 204)}));
    EXPECT_EQ(key.press.face, Rgb(166, 194, 226));
    EXPECT_EQ(key.press.border, Rgb(102, 102, 204));
    uint32_t pressText = language == 1 ? Rgb(102, 102, 204) : Rgb(255, 255, 255);
    if (key.Has(TK_MACRO)) pressText = Rgb(255, 255, 255);
    if (key.code == 135) pressText = 0;
    EXPECT_EQ(key.press.text, pressText) << key.ncns;
  }
  auto type = [&](size_t index) { return kb.keys[index].type; };
  EXPECT_EQ(type(13), TK_EXTENDED);                  // Print
  EXPECT_EQ(type(14), TK_TOGGLE);                    // Scroll
  EXPECT_EQ(type(50), TK_TOGGLE + TK_CHANGEVIEW);    // Caps
  EXPECT_EQ(type(66), TK_TOGGLE + TK_CHANGEVIEW);    // Shift
  EXPECT_EQ(type(77), TK_TOGGLE + TK_CHANGEVIEW);    // Shift
  EXPECT_EQ(type(81), TK_TOGGLE + TK_EXTENDED);      // Win
  EXPECT_EQ(type(83), TK_SWITCH);                    // 한/영
  EXPECT_EQ(type(63), TK_MACRO);                     // 복사
  EXPECT_EQ(type(82), 0);                            // Space
  EXPECT_EQ(type(89), TK_EXTENDED);                  // Right
  EXPECT_EQ(kb.keys[63].stroke, "^c");
  EXPECT_EQ(kb.keys[64].stroke, "^v");
  EXPECT_EQ(kb.keys[82].stroke, " ");
  EXPECT_EQ(kb.keys[65].stroke, "");
  EXPECT_EQ(kb.keys[65].ncns, language == 1 ? "영문" : "한글");
  EXPECT_EQ(kb.keys[29].ncns, "←");
  EXPECT_EQ(kb.keys[14].stroke, "{ScrollLock}");
  EXPECT_EQ(kb.keys[34].stroke, "q");  // the same stroke in both languages
}

TEST_F(LayoutLoaderTest, TheBuiltInLayoutsMatchTheirTables) {
  ReloadLayout(kb, env, kDefaultLayoutName, IL_KOREAN);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(files.opened.empty());  // the default set never touches the disk
  CheckBuiltin(kb, IL_KOREAN);
  const KeyDef& q = kb.keys[34];
  EXPECT_EQ(std::vector<std::string>({q.ncns, q.ncys, q.ycns, q.ycys}),
            (std::vector<std::string>{"ㅂ", "ㅃ", "ㅂ", "ㅃ"}));
  const KeyDef& y = kb.keys[39];
  EXPECT_EQ(std::vector<std::string>({y.ncns, y.ncys, y.ycns, y.ycys}),
            (std::vector<std::string>{"ㅛ", "ㅛ", "ㅛ", "ㅛ"}));
  EXPECT_EQ(kb.keys[17].ncys, "!");
  const std::string korean = "ㅂㅈㄷㄱㅅㅛㅕㅑㅐㅔ";
  std::string row;
  for (size_t i = 34; i < 44; ++i) row += kb.keys[i].ncns;
  EXPECT_EQ(row, korean);

  ToggleLanguage(kb, env);
  CheckBuiltin(kb, IL_ENGLISH);
  const KeyDef& a = kb.keys[51];
  EXPECT_EQ(std::vector<std::string>({a.ncns, a.ncys, a.ycns, a.ycys}),
            (std::vector<std::string>{"a", "A", "A", "a"}));
  const KeyDef& one = kb.keys[17];
  EXPECT_EQ(std::vector<std::string>({one.ncns, one.ncys, one.ycns, one.ycys}),
            (std::vector<std::string>{"1", "!", "1", "!"}));
}

TEST_F(LayoutLoaderTest, ASetInTheFolderIsKeptByLanguage) {
  AddSet({{"b.kdf", Script(0)}, {"a.KDF", Script(1)}, {"notes.txt", "x"}}, {"folder.kdf"});
  EXPECT_TRUE(LoadLayoutSet(kb, env, "Mine"));
  ASSERT_EQ(kb.layoutSet.size(), 2u);
  EXPECT_EQ(kb.layoutSet[0], Script(0));
  EXPECT_EQ(kb.layoutSet[1], Script(1));
  ASSERT_TRUE(BuildKeyboard(kb, env, 1));
  EXPECT_EQ(kb.version, 3);
  EXPECT_TRUE(kb.prediction);
  ASSERT_EQ(kb.keys.size(), 1u);
  const KeyDef& k = kb.keys[0];
  EXPECT_EQ(k.code, 65);
  EXPECT_EQ(k.type, TK_STRING);
  EXPECT_EQ(k.ycns, "12");  // a number label is its text
  EXPECT_EQ(k.pos, (KeyPos{1.5, 2, 3, 4}));
  EXPECT_EQ(k.normal, (KeyColors{16777215, 1, 2}));
  EXPECT_EQ(k.press, (KeyColors{3, 4, 0}));  // a missing member reads as 0
  EXPECT_EQ(k.scanLine, 2);
  EXPECT_EQ(k.scanBlock, 0);
}

TEST_F(LayoutLoaderTest, TheLastOfTwoScriptsWithTheSameLanguageWins) {
  AddSet({{"a.kdf", Script(1, "-- first\n")}, {"b.kdf", Script(1, "-- second\n")}});
  EXPECT_TRUE(LoadLayoutSet(kb, env, "Mine"));
  ASSERT_EQ(kb.layoutSet.size(), 1u);
  EXPECT_NE(kb.layoutSet[1].find("second"), std::string::npos);
}

TEST_F(LayoutLoaderTest, AMissingOrEmptySetFallsBackToTheBuiltIns) {
  settings.kbdName = "Gone";
  ReloadLayout(kb, env, "Gone", IL_KOREAN);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (ShownMessage{kLayoutMissingText, "오류"}));
  EXPECT_EQ(settings.kbdName, kDefaultLayoutName);
  EXPECT_EQ(kb.keys.size(), 90u);
  files.directories[kSetFolder] = {{"readme.txt", false}};
  EXPECT_FALSE(LoadLayoutSet(kb, env, "Mine"));
}

TEST_F(LayoutLoaderTest, AScriptThatFailsInTheSetEndsTheSearch) {
  AddSet({{"a.kdf", Script(1)}, {"b.kdf", "Language = ("}});
  EXPECT_FALSE(LoadLayoutSet(kb, env, "Mine"));
  EXPECT_NE(env.lastScriptError.find("b.kdf"), std::string::npos) << env.lastScriptError;
  ReloadLayout(kb, env, "Mine", IL_KOREAN);
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(kb.description, "한글 두벌식");
}

TEST_F(LayoutLoaderTest, AFailedBuildKeepsTheKeyboardAndShowsTheSecondMessage) {
  ReloadLayout(kb, env, kDefaultLayoutName, IL_KOREAN);
  kb.view = 1;
  kb.keys[0].latched = true;
  const std::vector<std::string> brokenKeys = {
      "Key { code = 1, type = 0, stroke = 'x', label = { ncns = 'a', ncys = 'a', ycns = 'a', ycys = 'a' }, "
      "normal = {}, press = {}, scan = {} }\n",  // no pos
      "Key { code = 1, type = 0, stroke = {}, label = { ncns = 'a', ncys = 'a', ycns = 'a', ycys = 'a' }, "
      "pos = {}, normal = {}, press = {}, scan = {} }\n",  // a stroke without text
      "Key { code = 1, type = 0, stroke = 'x', label = { ncns = 'a', ncys = 'a', ycns = 'a' }, "
      "pos = {}, normal = {}, press = {}, scan = {} }\n",  // a label without text
      "Key { code = 1 }\n"};
  for (const std::string& key : brokenKeys) {
    messages.shown.clear();
    files.directories.clear();
    AddSet({{"k.kdf", Script(1, "", key)}, {"e.kdf", Script(0)}});
    ReloadLayout(kb, env, "Mine", IL_KOREAN);
    ASSERT_EQ(messages.shown.size(), 1u) << key;
    EXPECT_EQ(messages.shown[0], (ShownMessage{kLayoutBrokenText, "오류"}));
    EXPECT_EQ(kb.keys.size(), 90u) << key;
    EXPECT_EQ(kb.description, "한글 두벌식");
    EXPECT_EQ(kb.view, 1);
    EXPECT_TRUE(kb.keys[0].latched);
    EXPECT_FALSE(env.lastScriptError.empty());
  }
}

TEST_F(LayoutLoaderTest, NumericStringsCountAndTheDescriptionIsCut) {
  AddSet({{"k.kdf", Script(1, "Width = '510'\nDescription = string.rep('d', 2000)\n")}});
  ASSERT_TRUE(LoadLayoutSet(kb, env, "Mine"));
  ASSERT_TRUE(BuildKeyboard(kb, env, 1));
  EXPECT_EQ(kb.width, 510);
  EXPECT_EQ(kb.description, std::string(1023, 'd'));
}

TEST_F(LayoutLoaderTest, MetatablesThatRaiseErrorsCannotEndTheProgram) {
  // Read outside a protected call, a raising __index would end the process.
  AddSet({{"k.kdf", Script(1) + "local boom = { __index = function() error('boom') end }\n"
                                 "Keys[1].type = nil\nsetmetatable(Keys[1], boom)\nsetmetatable(_G, boom)\n"}});
  ASSERT_TRUE(LoadLayoutSet(kb, env, "Mine"));
  ASSERT_TRUE(BuildKeyboard(kb, env, 1));
  EXPECT_EQ(kb.keys[0].type, 0);
}

TEST_F(LayoutLoaderTest, ChangingLanguageResetsTheModifiersOnlyWhenItChanges) {
  ReloadLayout(kb, env, kDefaultLayoutName, IL_KOREAN);
  output.sent.clear();
  SetLanguage(kb, env, -1);
  SetLanguage(kb, env, IL_KOREAN);
  EXPECT_TRUE(output.sent.empty());
  kb.view = 2;
  SetLanguage(kb, env, IL_ENGLISH);
  EXPECT_EQ(kb.language, IL_ENGLISH);
  EXPECT_EQ(kb.view, 0);
  EXPECT_EQ(output.sent.size(), 6u);  // Caps Lock press and release, four key-ups
  kb.language = 5;
  output.sent.clear();
  ToggleLanguage(kb, env);  // neither language: nothing
  EXPECT_TRUE(output.sent.empty());
}

TEST_F(LayoutLoaderTest, ReloadingSyncsTheLockKeys) {
  output.locksOn = {20};
  ReloadLayout(kb, env, kDefaultLayoutName, IL_ENGLISH);
  EXPECT_TRUE(kb.keys[50].latched);
  EXPECT_EQ(kb.view, 2);
}

TEST_F(LayoutLoaderTest, GlobalsOfTheWrongTypeFailTheBuildAndTheKeyboardKeepsItsKeys) {
  ReloadLayout(kb, env, kDefaultLayoutName, IL_KOREAN);
  const std::vector<KeyDef> before = kb.keys;
  const auto refused = [&](const std::string& script, const std::string& reason) {
    kb.layoutSet[IL_ENGLISH] = script;
    EXPECT_FALSE(BuildKeyboard(kb, env, IL_ENGLISH)) << script;
    EXPECT_EQ(env.lastScriptError, reason);
    EXPECT_EQ(kb.keys, before);
    EXPECT_EQ(kb.language, IL_KOREAN);
  };
  refused(Script(0, "Prediction = nil\n"), "Prediction: should be 'true' or 'false'");
  refused("", "Version: should be a number");  // a set without an English script
  refused(Script(0, "Description = {}\n"), "Description: should be string");
  refused(Script(0, "KeyCount = 2\n"), "key 1: no record in Keys");
  refused(Script(0, "", "Keys = 5; KeyCount = 1\n"), "key 1: Keys is not a table");
  kb.layoutSet[IL_ENGLISH] = Script(0, "ScanOrder = { vowel = { 'two' } }\n");
  EXPECT_FALSE(BuildKeyboard(kb, env, IL_ENGLISH));
  EXPECT_NE(env.lastScriptError.find("ScanOrder.vowel: should be a table of line numbers"), std::string::npos)
      << env.lastScriptError;
  EXPECT_EQ(kb.keys, before);
  // At a language switch, as after any failed switch.
  kb.layoutSet[IL_ENGLISH] = Script(0, "Width = 'wide'\n");
  ToggleLanguage(kb, env);
  EXPECT_EQ(kb.language, IL_KOREAN);
  EXPECT_EQ(kb.keys, before);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LayoutLoaderTest, TheKeysTextsTogetherAreBoundedLikeAScriptsMemory) {
  // One 1 MiB label is within a script's bounds; 200 keys showing it four times are not.
  kb.layoutSet[IL_KOREAN] = Script(1, "", "local big = string.rep('x', 2^20)\n"
                                          "for i = 1, 200 do Key { label = { ncns = big, ncys = big, "
                                          "ycns = big, ycys = big }, stroke = 'a', pos = {}, normal = {}, "
                                          "press = {}, scan = {} } end\n");
  EXPECT_FALSE(BuildKeyboard(kb, env, IL_KOREAN));
  EXPECT_EQ(env.lastScriptError, "key 16: the texts of the keys are too long");
}

TEST_F(LayoutLoaderTest, AWrongTypeAtStartUpBringsTheBuiltInLayoutsWithTheMessage) {
  AddSet({{"k.kdf", Script(1, "Prediction = 0\n")}});
  ReloadLayout(kb, env, "Mine", IL_KOREAN);
  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{kLayoutBrokenText, "오류"}}));
  EXPECT_EQ(kb.keys.size(), 90u);
  EXPECT_EQ(settings.kbdName, kDefaultLayoutName);
  EXPECT_EQ(env.lastScriptError, "Prediction: should be 'true' or 'false'");
  // A Language of the wrong type fails the set while it is read: the first message.
  files.directories.clear();
  messages.shown.clear();
  AddSet({{"k.kdf", Script(1) + "Language = 'ko'\n"}});
  ReloadLayout(kb, env, "Mine", IL_KOREAN);
  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{kLayoutMissingText, "오류"}}));
}

TEST(LayoutFolderTest, SetsAreFoundInTheRealKeyboardFolder) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / "tessary-layout-folder";
  fs::remove_all(root);
  fs::create_directories(root / u8"키보드" / u8"내 자판" / "sub.kdf");
  std::ofstream(root / u8"키보드" / u8"내 자판" / "ko.kdf") << Script(1);
  const fs::path before = fs::current_path();
  fs::current_path(root);
  IconvCodec codec;
  PosixFileSystem files(codec);
  TestTextResources texts;
  RecordingMessageBoxes messages;
  Settings settings;
  LayoutEnvironment env{files, texts, messages, settings, {}};
  FakeKeyOutput output;
  UsEnglishLayout layout;
  {
    Keyboard kb(output, layout);
    ReloadLayout(kb, env, "내 자판", IL_KOREAN);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(kb.description, "mine");
    EXPECT_EQ(kb.layoutSet.size(), 1u);
  }
  fs::current_path(before);
  fs::remove_all(root);
}

}  // namespace
}  // namespace tessary
