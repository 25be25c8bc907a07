// The user guide against the program: every setting it writes, every message box it can
// show, every menu item and dialog control is in the guide, and the guide's tables name
// nothing the program does not have.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "config/settings.h"
#include "input/input_modes.h"
#include "input/stroke_parser.h"
#include "layout/layout_loader.h"
#include "platform/message_boxes.h"
#include "platform/text_codec.h"
#include "posix/iconv_codec.h"
#include "script/script_state.h"
#include "shell/shell.h"

namespace tessary {
namespace {

std::string Slurp(const std::string& relative) {
  std::ifstream in(std::string(TESSARY_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Korean text of the guide: the test's narrow literals are CP949, the guide is UTF-8.
std::string K(std::u16string_view text) { return Utf16ToUtf8(text); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The cells of a table row "| a | b |".
std::vector<std::string> Cells(const std::string& row) {
  std::vector<std::string> cells;
  size_t at = 1;
  for (size_t bar; (bar = row.find(" |", at)) != std::string::npos; at = bar + 2) {
    std::string cell = row.substr(at, bar - at);
    cell.erase(0, cell.find_first_not_of(' '));
    cells.push_back(cell);
  }
  return cells;
}

// The rows of the guide's tables from the heading that begins with `from` to the line that
// begins with `to` (or the end of that language's half).
std::vector<std::vector<std::string>> Rows(const std::string& guide, const std::string& from, const std::string& to) {
  std::vector<std::vector<std::string>> rows;
  bool inside = false;
  for (const std::string& line : Lines(guide)) {
    if (line.rfind(from, 0) == 0) {
      inside = true;
    } else if (line.rfind(to, 0) == 0 || line.rfind("## ", 0) == 0 || line == "---") {
      inside = false;
    }
    if (inside && line.rfind("| ", 0) == 0 && line.find("---") == std::string::npos) rows.push_back(Cells(line));
  }
  return rows;
}

class UserGuideTest : public ::testing::Test {
 protected:
  std::string Utf8(std::string_view cp949) const { return Cp949ToUtf8(codec, cp949); }
  std::set<std::string> SettingKeys() const {
    std::set<std::string> keys;
    for (const std::string& line : Lines(FormatSettings(Settings{}))) {
      if (!line.empty()) keys.insert(line.substr(0, line.find(' ')));
    }
    return keys;
  }
  // The texts of menu 102 and dialogs 177 and 183, mnemonics and colons taken out.
  std::set<std::string> ResourceTexts() const {
    std::set<std::string> texts;
    const std::regex quoted(R"re(^\s*(MENUITEM|POPUP|CONTROL|CAPTION|PUSHBUTTON|DEFPUSHBUTTON|LTEXT) "([^"]+)"(, (-?\d+))?)re");
    for (const std::string& line : Lines(Slurp("win32/resources.rc.in"))) {
      std::smatch m;
      if (!std::regex_search(line, m, quoted)) continue;
      if (m[1] == "LTEXT" && m[4] != "-1") continue;  // labels the program fills in
      std::string text = std::regex_replace(m[2].str(), std::regex("&|:$"), "");
      text.erase(0, text.find_first_not_of(' '));
      if (text != "dummy") texts.insert(text);
    }
    return texts;
  }

  IconvCodec codec;
  const std::string guide = Slurp("docs/user-guide.md");
};

TEST_F(UserGuideTest, ExplainsEverySettingAndOnlyThose) {
  ASSERT_FALSE(guide.empty());
  const std::set<std::string> keys = SettingKeys();
  ASSERT_EQ(keys.size(), 47u);  // the 54 lines less the blank ones
  for (const std::string& from : {K(u"### 6. 설정 파일"), std::string("### 6. The settings file")}) {
    std::set<std::string> explained;
    const std::regex name("`([A-Za-z][A-Za-z0-9]*)`");
    for (const auto& row : Rows(guide, from, "### 7.")) {
      for (std::sregex_iterator it(row[0].begin(), row[0].end(), name), end; it != end; ++it) {
        explained.insert((*it)[1].str());
      }
    }
    for (const std::string& key : keys) EXPECT_TRUE(explained.count(key)) << "not explained: " << key;
    for (const std::string& key : explained) EXPECT_TRUE(keys.count(key)) << "not a setting: " << key;
  }
}

TEST_F(UserGuideTest, QuotesEveryMessageBoxAndOnlyThose) {
  const std::vector<std::pair<std::string_view, const char*>> boxes = {
      {kTitleNotice, kAlreadyRunningText},           {kTitleNotice, kOldWindowsText},
      {kTitleFatalError, kConfigPreludeFailedText},  {kTitleFatalError, kConfigFileFailedText},
      {kTitleError, kLayoutMissingText},             {kTitleError, kLayoutBrokenText},
      {kTitleError, kDictionaryMissingText},         {kTitleSystemError, kFocusHookFailedText},
      {kTitleSystemError, kMouseHookFailedText},     {kTitleSystemError, kKeyboardHookFailedText},
      {kTitleError, kSettingsNotSavedText}};
  std::set<std::pair<std::string, std::string>> shown;
  for (auto [title, text] : boxes) shown.insert({Utf8(title), Utf8(text)});
  for (const auto& [title, text] : shown) {
    EXPECT_NE(guide.find("| " + title + " | " + text + " |"), std::string::npos) << text;
  }
  for (const std::string& from : {K(u"### 10. 문제가"), std::string("### 10. Troubleshooting")}) {
    const auto rows = Rows(guide, from, "---");  // the last section of its half
    size_t listed = 0;
    for (const auto& row : rows) {
      if (row.size() < 2 || row[0] == K(u"창 제목") || row[0] == "Title") continue;
      EXPECT_TRUE(shown.count({row[0], row[1]})) << "not a message of the program: " << row[1];
      ++listed;
    }
    EXPECT_EQ(listed, shown.size()) << from;
  }
  // The reasons of a value of the wrong type, which tessary-cli prints, are explained too.
  for (const char* stop : {kShouldBeNumber, kShouldBeBool, kShouldBeString}) {
    EXPECT_NE(guide.find(std::string("\"") + stop + "\""), std::string::npos) << stop;
  }
}

TEST_F(UserGuideTest, NamesEveryMenuItemAndDialogControlAndOnlyThose) {
  const std::set<std::string> texts = ResourceTexts();
  ASSERT_GT(texts.size(), 20u);
  for (const std::string& text : texts) EXPECT_NE(guide.find(text), std::string::npos) << text;
  const std::pair<std::string, std::string> tables[] = {{K(u"### 4. 테사리 메뉴"), "### 5."},
                                                        {"### 4. The menu", "### 5."},
                                                        {K(u"### 5. 테사리 설정 창"), "### 6."},
                                                        {"### 5. The settings dialog", "### 6."}};
  for (const auto& [from, to] : tables) {
    const auto rows = Rows(guide, from, to);
    EXPECT_GT(rows.size(), 8u) << from;
    for (const auto& row : rows) {
      std::string item = row[0];
      if (item == K(u"메뉴") || item == K(u"항목") || item == "Item" || item == "Control") continue;
      for (const std::string& group : {K(u"한/영 자동 인식: "), K(u"한글 조합: ")}) {
        if (item.rfind(group, 0) == 0) item.erase(0, group.size());
      }
      EXPECT_TRUE(texts.count(item)) << "not in the program: " << item;
    }
  }
}

// A carer follows the guide through the installer: each half names the start-with-Windows
// choice as the installer shows it in that language, and the Start-menu shortcut.
TEST(InstallerGuideTest, NamesTheStartWithWindowsChoiceAndTheShortcut) {
  const std::string guide = Slurp("docs/user-guide.md");
  const std::string script = Slurp("tools/installer.nsi");
  const size_t english = guide.find("\n## English");
  ASSERT_NE(english, std::string::npos);
  const std::regex choice(R"re(LangString SecStartup \$\{LANG_([A-Z]+)\} "([^"]+)")re");
  int choices = 0;
  for (std::sregex_iterator it(script.begin(), script.end(), choice), end; it != end; ++it, ++choices) {
    const std::string text = (*it)[2];
    if ((*it)[1] == "KOREAN") {
      EXPECT_LT(guide.find(text), english) << text;
    } else {
      EXPECT_NE(guide.find(text, english), std::string::npos) << text;
    }
  }
  EXPECT_EQ(choices, 2);
  std::smatch shortcut;
  ASSERT_TRUE(std::regex_search(script, shortcut, std::regex(R"re(!define SHORTCUT "([^"]+)")re")));
  EXPECT_LT(guide.find(shortcut[1]), english);
  EXPECT_NE(guide.find(shortcut[1], english), std::string::npos);
}

TEST(LayoutGuideTest, NamesEveryKeyNameTypeFlagGlobalAndKeyField) {
  const std::string guide = Slurp("docs/layouts.md");
  ASSERT_FALSE(guide.empty());
  for (const KeyName* entry = kKeyNameTable; entry->code != 0; ++entry) {
    EXPECT_NE(guide.find(std::string("{") + entry->name + "}"), std::string::npos) << entry->name;
  }
  const std::string prelude = Slurp("layout/layout_prelude.lua");
  const std::regex flag("^(TK_[A-Z]+) *= *(\\d+)");
  int flags = 0;
  for (const std::string& line : Lines(prelude)) {
    std::smatch m;
    if (!std::regex_search(line, m, flag)) continue;
    ++flags;
    EXPECT_NE(guide.find("| `" + m[1].str() + "` | " + m[2].str() + " |"), std::string::npos) << m[1];
  }
  EXPECT_EQ(flags, 7);
  for (const char* global : {"Version", "Language", "Description", "Prediction", "Width", "Height", "FontSize",
                             "KeyCount", "ScanOrder", "SpaceAfterWord"}) {
    EXPECT_NE(guide.find(std::string("`") + global + "`"), std::string::npos) << global;
  }
  for (const char* field : {"code", "type", "stroke", "label", "pos", "normal", "press", "scan"}) {
    EXPECT_NE(guide.find(std::string("| `") + field + "` |"), std::string::npos) << field;
  }
}

}  // namespace
}  // namespace tessary
