#include "script/script_state.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "script/lua.h"

namespace tessary {
namespace {

int32_t Number(const char* script) {
  ScriptState state;
  EXPECT_TRUE(state.RunText(script)) << state.lastError();
  int32_t value = -12345;
  state.GetNumber("x", value);
  return value;
}

TEST(ScriptStateTest, NumbersAreTruncatedTowardZeroAndNumericStringsCount) {
  EXPECT_EQ(Number("x = '510'"), 510);
  EXPECT_EQ(Number("x = 3.7"), 3);
  EXPECT_EQ(Number("x = -3.7"), -3);
  EXPECT_EQ(Number("x = ' 0x10 '"), 16);
  // Beyond the record's range the value saturates instead of being undefined.
  EXPECT_EQ(Number("x = 1e300"), 2147483647);
  EXPECT_EQ(Number("x = -1e300"), -2147483647 - 1);
  EXPECT_EQ(Number("x = 0/0"), 0);
}

TEST(ScriptStateTest, RealsAreKeptUnchanged) {
  ScriptState state;
  ASSERT_TRUE(state.RunText("x = 150.5; y = '2.25'"));
  double x = 0, y = 0;
  state.GetReal("x", x);
  state.GetReal("y", y);
  EXPECT_DOUBLE_EQ(x, 150.5);
  EXPECT_DOUBLE_EQ(y, 2.25);
}

TEST(ScriptStateTest, StringsAcceptNumbersAndAreCutToTheBuffer) {
  ScriptState state;
  ASSERT_TRUE(state.RunText("n = 12; r = 2.5; s = string.rep('a', 300); z = 'ab\\0cd'; k = '한글'"));
  std::string out;
  state.GetString("n", out, 256);
  EXPECT_EQ(out, "12");
  state.GetString("r", out, 256);
  EXPECT_EQ(out, "2.5");
  state.GetString("s", out, 256);
  EXPECT_EQ(out, std::string(255, 'a'));
  state.GetString("s", out, 32);
  EXPECT_EQ(out.size(), 31u);
  state.GetString("z", out, 256);
  EXPECT_EQ(out, "ab");  // a C string ends at its first zero byte
  state.GetString("k", out, 256);
  EXPECT_EQ(out, "한글");  // CP949 bytes pass through
  EXPECT_EQ(out.size(), 4u);
}

TEST(ScriptStateTest, BooleansAreReadByType) {
  ScriptState state;
  ASSERT_TRUE(state.RunText("t = true; f = false"));
  bool t = false, f = true;
  state.GetBool("t", t);
  state.GetBool("f", f);
  EXPECT_TRUE(t);
  EXPECT_FALSE(f);
}

TEST(ScriptStateTest, ReadersLeaveTheStackAsTheyFoundIt) {
  ScriptState state;
  ASSERT_TRUE(state.RunText("a = 1; b = true; c = 'x'; return 1, 2, 3"));
  const int top = lua_gettop(state.lua());
  int32_t a = 0;
  bool b = false;
  std::string c;
  for (int i = 0; i < 100; ++i) {
    state.GetNumber("a", a);
    state.GetBool("b", b);
    state.GetString("c", c, 8);
  }
  EXPECT_EQ(lua_gettop(state.lua()), top);
  EXPECT_EQ(top, 0);  // the run's results are not left behind either
}

TEST(ScriptStateTest, WrongTypesFailTheReadWithTheNameAndTheReason) {
  const auto error = [](const char* script, int kind) {
    ScriptState state;
    state.RunText(script);
    int32_t n = 7;
    bool b = true;
    std::string s = "kept";
    bool ok = true;
    if (kind == 0) ok = state.GetNumber("v", n);
    if (kind == 1) ok = state.GetBool("v", b);
    if (kind == 2) ok = state.GetString("v", s, 256);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(n == 7 && b && s == "kept");  // the caller's value stays as it was
    return state.lastError();
  };
  EXPECT_EQ(error("v = 'abc'", 0), "v: should be a number");
  EXPECT_EQ(error("", 0), "v: should be a number");
  EXPECT_EQ(error("v = 0", 1), "v: should be 'true' or 'false'");
  EXPECT_EQ(error("", 1), "v: should be 'true' or 'false'");
  EXPECT_EQ(error("v = {}", 2), "v: should be string");
  EXPECT_EQ(error("v = true", 2), "v: should be string");
}

TEST(ScriptStateTest, AReadWithTheMemoryBoundFullFailsInsteadOfEndingTheProcess) {
  ScriptState state(nullptr, ScriptLimits{20'000'000, 1u << 20});
  // The list keeps everything it holds; the sizes shrink so that little room is left.
  ASSERT_TRUE(state.RunText(
      "keep = false\n"
      "local n = 0\n"
      "local function fill(size) while true do n = n + 1; keep = {keep, string.rep('x', size) .. n} end end\n"
      "local sizes = {65536, 4096, 256, 16, 1}\n"
      "for i = 1, 5 do pcall(fill, sizes[i]) end"))
      << state.lastError();
  std::string text;
  const std::string name(4096, 'n');  // a name the state has never seen must be made
  EXPECT_FALSE(state.GetString(name.c_str(), text, 16));
  EXPECT_NE(state.lastError().find("not enough memory"), std::string::npos) << state.lastError();
}

TEST(ScriptStateTest, RunTextSucceedsOnEmptyTextAndStopsAtTheFirstZeroByte) {
  ScriptState state;
  EXPECT_TRUE(state.RunText(""));
  const std::string text("x = 1\0 this is not Lua", 23);
  EXPECT_TRUE(state.RunText(text));
  int32_t x = 0;
  state.GetNumber("x", x);
  EXPECT_EQ(x, 1);
}

TEST(ScriptStateTest, RunTextFailsOnSyntaxAndRuntimeErrors) {
  EXPECT_FALSE(ScriptState().RunText("x = ("));
  EXPECT_FALSE(ScriptState().RunText("error('boom')"));
  EXPECT_FALSE(ScriptState().RunText("local t = nil; t.x = 1"));
  ScriptState state;
  EXPECT_FALSE(state.RunText("error('boom')"));
  EXPECT_NE(state.lastError().find("boom"), std::string::npos);
}

TEST(ScriptStateTest, RunFileReadsThroughTheFileSystem) {
  testing::FakeFileSystem files;
  files.files["a.cfg"] = "#!first line is skipped\nx = 7\n";
  files.files["broken.cfg"] = "x = = 1";
  ScriptState state(&files);
  EXPECT_TRUE(state.RunFile("a.cfg"));
  int32_t x = 0;
  state.GetNumber("x", x);
  EXPECT_EQ(x, 7);
  EXPECT_FALSE(ScriptState(&files).RunFile("missing.cfg"));
  ScriptState broken(&files);
  EXPECT_FALSE(broken.RunFile("broken.cfg"));
  // Errors name the file, so a layout author can find the line.
  EXPECT_NE(broken.lastError().find("broken.cfg:1"), std::string::npos) << broken.lastError();
}

}  // namespace
}  // namespace tessary
