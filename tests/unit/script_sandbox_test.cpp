#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "script/script_state.h"

namespace tessary {
namespace {

bool IsTrue(ScriptState& state, const std::string& expression) {
  EXPECT_TRUE(state.RunText("result = " + expression)) << expression << ": " << state.lastError();
  bool result = false;
  state.GetBool("result", result);
  return result;
}

TEST(ScriptSandboxTest, WhatStartsProgramsEndsTheProcessOrChangesFilesIsGone) {
  ScriptState state;
  for (const char* name : {"os.execute", "os.exit", "os.remove", "os.rename", "os.tmpname",
                           "os.setlocale", "io.popen", "io.tmpfile", "newproxy"}) {
    EXPECT_TRUE(IsTrue(state, std::string(name) + " == nil")) << name;
  }
  // The rest of the libraries the scripts may use is still there.
  EXPECT_TRUE(IsTrue(state, "type(os.time) == 'function' and type(os.date) == 'function'"));
  EXPECT_TRUE(IsTrue(state, "type(string.format) == 'function' and math.floor(2.5) == 2"));
  EXPECT_TRUE(IsTrue(state, "table == nil and debug == nil and require == nil"));
}

class SandboxFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("sandbox-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "data.txt").string();
    std::FILE* f = std::fopen(path_.c_str(), "w");
    std::fputs("hello", f);
    std::fclose(f);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Quote(const std::string& s) { return "'" + s + "'"; }

  std::filesystem::path dir_;
  std::string path_;
};

TEST_F(SandboxFileTest, FilesOpenForReadingOnly) {
  ScriptState state;
  EXPECT_TRUE(IsTrue(state, "io.open(" + Quote(path_) + "):read('*a') == 'hello'"));
  EXPECT_TRUE(IsTrue(state, "io.open(" + Quote(path_) + ", 'rb'):read('*a') == 'hello'"));
  for (const char* mode : {"w", "a", "r+", "wb", "a+b", "rw"}) {
    EXPECT_TRUE(IsTrue(state, "io.open(" + Quote(path_) + ", '" + mode + "') == nil")) << mode;
  }
  const std::string fresh = (dir_ / "new.txt").string();
  EXPECT_FALSE(state.RunText("io.output(" + Quote(fresh) + ")"));
  EXPECT_FALSE(std::filesystem::exists(fresh));
  EXPECT_EQ(std::filesystem::file_size(path_), 5u);  // untouched
}

TEST_F(SandboxFileTest, CompiledChunksAreRefusedEverywhere) {
  ScriptState state;
  EXPECT_TRUE(IsTrue(state, "loadstring(string.dump(function() end)) == nil"));
  EXPECT_TRUE(IsTrue(state, "loadstring('return 1')() == 1"));
  EXPECT_TRUE(IsTrue(state, "load((function() local s = string.dump(function() end) "
                            "return function() local r = s; s = nil; return r end end)()) == nil"));
  const std::string compiled = (dir_ / "compiled.luac").string();
  ASSERT_TRUE(state.RunText("local f = assert(io.open(" + Quote(path_) + ")) f:close()"));
  {
    ScriptState writer;
    ASSERT_TRUE(writer.RunText("dumped = string.dump(function() return 42 end)"));
    std::string bytes;
    writer.GetString("dumped", bytes, 1 << 20);
    std::FILE* f = std::fopen(compiled.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  EXPECT_TRUE(IsTrue(state, "loadfile(" + Quote(compiled) + ") == nil"));
  EXPECT_FALSE(state.RunText("dofile(" + Quote(compiled) + ")"));
  EXPECT_FALSE(ScriptState().RunText(std::string("\x1bLua\x51", 5)));
}

TEST(ScriptSandboxTest, AnEndlessLoopFailsCleanly) {
  ScriptState state;
  EXPECT_FALSE(state.RunText("while true do end"));
  EXPECT_NE(state.lastError().find("too long"), std::string::npos);
  // Catching the error does not let the script go on.
  ScriptState catching;
  EXPECT_FALSE(catching.RunText("while true do pcall(function() while true do end end) end"));
}

TEST(ScriptSandboxTest, AMemoryBombFailsCleanly) {
  ScriptState state;
  EXPECT_FALSE(state.RunText("local t = {} for i = 1, 1e9 do t[i] = {i, i, i, i, i, i, i, i} end"));
  ScriptState rep;
  EXPECT_FALSE(rep.RunText("local s = string.rep('x', 1e9)"));
  ScriptState doubling;
  EXPECT_FALSE(doubling.RunText("local s = 'x' while true do s = s .. s end"));
}

TEST(ScriptSandboxTest, WorkInsideTheLibraryIsBoundedLikeInstructions) {
  const std::string big = "local s = 'a' for i = 1, 23 do s = s .. s end ";  // 8 MiB
  const std::pair<std::string, const char*> cases[] = {
      {"local s = ('a'):rep(1e5); s:find('.-.-.-.-b')", "too long"},
      {"local s = ('a'):rep(1e6); s:find(('a?'):rep(1e6))", "pattern too complex"},
      {big + "s:find(s:sub(1, 2^22) .. 'b', 1, true)", "too long"},
      {big + "local t = s:sub(2) .. 'b' while true do local x = s < t end", "too long"},
      {big + "while true do local x = s .. 'b' end", "too long"},
      {big + "while true do local x = s:sub(2) end", "too long"},
      {big + "while true do loadstring(s) end", "too long"},
  };
  for (const auto& [script, reason] : cases) {
    ScriptState state;
    EXPECT_FALSE(state.RunText(script)) << script;
    EXPECT_NE(state.lastError().find(reason), std::string::npos) << script << ": " << state.lastError();
  }
  // Nothing to repeat takes no time, however often.
  ScriptState empty;
  EXPECT_TRUE(empty.RunText("for i = 1, 1e5 do local t = ('').rep('', 2^31 - 1) end")) << empty.lastError();
}

TEST(ScriptSandboxTest, TheMetatablesOfStringsAndFileHandlesAreLocked) {
  ScriptState state;
  EXPECT_TRUE(IsTrue(state, "getmetatable('') == false and getmetatable(io.stdout) == false"));
  EXPECT_FALSE(state.RunText("getmetatable(io.stdout).__gc = function() while true do end end"));
  EXPECT_TRUE(IsTrue(state, "('abc'):upper() == 'ABC' and io.stdout.write ~= nil"));
}

TEST(ScriptSandboxTest, TheBoundsAreGenerousForRealWork) {
  ScriptState state;
  // A few hundred thousand instructions and a few megabytes, far beyond any layout.
  EXPECT_TRUE(state.RunText("local t = {} for i = 1, 100000 do t[i] = 'key' .. i end n = #t"));
  int32_t n = 0;
  state.GetNumber("n", n);
  EXPECT_EQ(n, 100000);
  // Each run gets the whole budget again.
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(state.RunText("for i = 1, 2000000 do end"));
}

TEST(ScriptSandboxTest, TighterLimitsAreHonoured) {
  ScriptState state(nullptr, ScriptLimits{100000, 1u << 20});
  EXPECT_FALSE(state.RunText("for i = 1, 1000000 do end"));
  ScriptState small(nullptr, ScriptLimits{100000000, 1u << 20});
  EXPECT_FALSE(small.RunText("local s = string.rep('x', 2 * 1024 * 1024)"));
}

}  // namespace
}  // namespace tessary
