#include "shell/shell.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace tessary {
namespace {

using testing::FakeFileSystem;
using testing::RecordingMessageBoxes;
using testing::ShownMessage;
using testing::TestTextResources;

// Records the platform calls in order; the hidden window's creation and the message
// loop call back into the shell as the real windows do.
class FakeHost : public ShellHost, public InputModeHooks {
 public:
  std::vector<std::string> calls;
  Shell* shell = nullptr;
  bool oldWindows = false;
  bool otherInstance = false;
  bool focusHookFails = false;
  bool mouseHookFails = false;
  bool keyboardHookFails = false;
  bool windowFails = false;
  // What the user does while the loop runs.
  std::function<void()> whileRunning = [this] { shell->OnCommand(IDM_EXIT); };
  WindowRect frameAtExit{30, 30, 552, 230};

  int32_t dpi = 96;
  bool IsWindows2000OrLater() override { return Call("version"), !oldWindows; }
  int32_t SystemDpi() override { return dpi; }
  WindowRect workArea{};  // unknown unless a test gives one
  WindowRect WorkArea() override { return workArea; }
  bool IsAlreadyRunning(const char* name) override {
    Call(std::string("semaphore ") + name);
    return otherInstance;
  }
  bool RegisterWindowClasses() override { return Call("register"), true; }
  bool CreateHiddenWindow() override {
    Call("hidden window");
    if (windowFails) return false;
    shell->OnHiddenWindowCreate();
    return true;
  }
  int RunMessageLoop() override {
    Call("loop");
    whileRunning();
    return quitCode;
  }
  void AddTrayIcon() override { Call("tray add"); }
  void DeleteTrayIcon() override { Call("tray delete"); }
  void CreateFrameWindow(int32_t l, int32_t t, int32_t w, int32_t h) override {
    Call("frame " + std::to_string(l) + "," + std::to_string(t) + " " + std::to_string(w) + "x" +
         std::to_string(h));
  }
  bool InstallFocusHook() override { return Call("focus hook"), !focusHookFails; }
  void RemoveFocusHook() override { Call("remove focus hook"); }
  void StartTransparency() override { Call("transparency"); }
  void DestroyHiddenWindow() override {
    Call("destroy hidden");
    shell->OnFrameWindowDestroyed(frameAtExit);  // owned windows go first
    shell->OnHiddenWindowDestroy();
  }
  void PostQuit(int code) override {
    Call("quit " + std::to_string(code));
    quitCode = code;
  }
  bool FrameWindowRect(WindowRect& outer) override {
    outer = frameNow;
    return true;
  }
  WindowRect frameNow{30, 30, 552, 230};
  bool InstallMouseHook() override { return Call("mouse hook"), !mouseHookFails; }
  void RemoveMouseHook() override { Call("remove mouse hook"); }
  bool InstallKeyboardHook(int32_t, int32_t) override { return Call("keyboard hook"), !keyboardHookFails; }
  void RemoveKeyboardHook() override { Call("remove keyboard hook"); }

 private:
  void Call(std::string what) { calls.push_back(std::move(what)); }
  int quitCode = -1;
};

class ShellTest : public ::testing::Test {
 protected:
  int Run() {
    Shell shell(settings, ShellServices{host, host, messages, files, texts, [this] {
                                          host.calls.push_back("dictionaries");
                                          return dictionaryFound;
                                        },
                                        [this] { host.calls.push_back("learned words"); }});
    host.shell = &shell;
    return shell.Run();
  }
  void WriteConfig(const std::string& extra) {
    Settings s;
    files.files[kConfigFileName] = FormatSettings(s) + extra;
  }

  Settings settings;
  FakeHost host;
  RecordingMessageBoxes messages;
  FakeFileSystem files;
  TestTextResources texts;
  bool dictionaryFound = true;
};

TEST_F(ShellTest, StartsInOrderAndWritesTheSettingsAfterTheLoop) {
  EXPECT_EQ(Run(), 0);
  const std::vector<std::string> expected = {
      "version", "semaphore Tessary_Hidden_Window", "dictionaries", "register", "hidden window",
      "tray add", "frame 30,30 522x200", "focus hook", "mouse hook", "transparency", "loop",
      "destroy hidden", "tray delete", "remove focus hook", "remove mouse hook", "remove keyboard hook", "quit 0", "learned words"};
  EXPECT_EQ(host.calls, expected);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(files.files[kConfigFileName], FormatSettings(Settings{}));
}

TEST_F(ShellTest, OnADenseScreenTheDefaultsScaleAndAStoredSizeStands) {
  host.dpi = 144;
  Run();
  EXPECT_EQ(host.calls[6], "frame 45,45 783x300");  // no file: the default, 1.5 times
  host.calls.clear();
  WriteConfig("");  // a stored 522 × 200 is the user's own size on this screen
  Settings stored;
  settings = stored;
  Run();
  EXPECT_EQ(host.calls[6], "frame 30,30 522x200");
}

// The first start (no settings file) opens along the bottom of the work area, centred,
// half its width in the default frame's proportions, never smaller than that frame.
TEST_F(ShellTest, TheFirstStartOpensAlongTheBottomAtHalfTheWorkAreasWidth) {
  host.workArea = {0, 0, 1280, 760};  // a taskbar of 40 below
  Run();
  EXPECT_EQ(host.calls[6], "frame 320,515 640x245");
  host.calls.clear();
  host.dpi = 144;  // the default 1.5 times is wider than half the screen: it stands
  settings = Settings{};
  files.files.erase(kConfigFileName);
  Run();
  EXPECT_EQ(host.calls[6], "frame 248,460 783x300");
  const WindowRect design{30, 30, 552, 230};
  const WindowRect small = FirstStartPlacement({100, 0, 600, 150}, design, 96);  // a tiny work area: within it
  EXPECT_EQ(small.left, 100);
  EXPECT_EQ(small.right, 600);
  EXPECT_EQ(small.top, 0);
  EXPECT_EQ(small.bottom, 150);
  const WindowRect wide = FirstStartPlacement({0, 0, 3840, 2120}, design, 96);
  EXPECT_EQ(wide.right - wide.left, 1920);
  EXPECT_EQ(wide.bottom - wide.top, 735);
  EXPECT_EQ(wide.bottom, 2120);
}

TEST_F(ShellTest, TheFrameRectangleAtExitIsWhatIsWritten) {
  host.frameAtExit = {100, 50, 700, 300};
  Run();
  EXPECT_EQ(settings.left, 100);
  EXPECT_EQ(settings.top, 50);
  EXPECT_EQ(settings.width, 600);
  EXPECT_EQ(settings.height, 250);
  Settings read;
  ReadSettings(read, files, texts, messages);
  EXPECT_EQ(read.width, 600);
}

TEST_F(ShellTest, ASecondInstanceLeavesBeforeDoingAnything) {
  host.otherInstance = true;
  WriteConfig("");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"version", "semaphore Tessary_Hidden_Window"}));
  EXPECT_TRUE(files.opened.empty());  // the configuration was not even looked at
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (ShownMessage{kAlreadyRunningText, "알림"}));
}

TEST_F(ShellTest, AnOldPlatformIsToldAndStartsAnyway) {
  host.oldWindows = true;
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (ShownMessage{kOldWindowsText, "알림"}));
  EXPECT_NE(std::find(host.calls.begin(), host.calls.end(), "loop"), host.calls.end());
}

TEST_F(ShellTest, FailuresAreToldAndTheProgramGoesOn) {
  dictionaryFound = false;
  host.focusHookFails = true;
  host.mouseHookFails = true;
  EXPECT_EQ(Run(), 0);
  const std::vector<ShownMessage> expected = {{kDictionaryMissingText, "오류"},
                                              {kFocusHookFailedText, "시스템 오류"},
                                              {kMouseHookFailedText, "시스템 오류"}};
  EXPECT_EQ(messages.shown, expected);
}

TEST_F(ShellTest, EachInputModeInstallsItsOwnHook) {
  auto hooksInstalled = [this](const char* mode) {
    host.calls.clear();
    WriteConfig(std::string("inputMode = ") + mode + "\nuseTransparency = false\n");
    Run();
    std::vector<std::string> hooks;
    for (const std::string& call : host.calls) {
      if (call == "mouse hook" || call == "keyboard hook" || call == "transparency") hooks.push_back(call);
    }
    return hooks;
  };
  EXPECT_EQ(hooksInstalled("IM_DWELL"), std::vector<std::string>{});
  EXPECT_EQ(hooksInstalled("IM_CLICK"), std::vector<std::string>{"mouse hook"});
  EXPECT_EQ(hooksInstalled("IM_SCAN"), std::vector<std::string>{"keyboard hook"});
  host.keyboardHookFails = true;
  hooksInstalled("IM_SCAN");
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(messages.shown.back(), (ShownMessage{kKeyboardHookFailedText, "시스템 오류"}));
}

TEST_F(ShellTest, WithoutWindowsTheProgramStopsAndLeavesTheFileAlone) {
  host.windowFails = true;
  WriteConfig("left = 77\n");
  const std::string before = files.files[kConfigFileName];
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(std::find(host.calls.begin(), host.calls.end(), "loop"), host.calls.end());
  EXPECT_EQ(files.files[kConfigFileName], before);
}

TEST_F(ShellTest, TheEndOfTheSessionSavesTheSettingsWithTheFrameWhereItIs) {
  files.files[kConfigFileName] = "left = (";
  host.frameNow = {200, 100, 722, 300};
  host.whileRunning = [this] {
    host.shell->OnEndSession();  // the session ends; the process may end any moment now
    EXPECT_EQ(files.files[std::string(kConfigFileName) + ".bak"], "left = (");
    Settings saved;
    RecordingMessageBoxes quiet;
    ASSERT_EQ(ReadSettings(saved, files, texts, quiet), ConfigReadResult::kRead);
    EXPECT_EQ(saved.left, 200);
    EXPECT_EQ(saved.width, 522);
    host.frameNow = {300, 100, 822, 300};
    host.shell->OnEndSession();  // the second message of the same end
  };
  Run();
  // The broken file was kept once, not replaced by what the first save wrote.
  EXPECT_EQ(files.files[std::string(kConfigFileName) + ".bak"], "left = (");
}

TEST_F(ShellTest, AFailedSaveIsToldOnceAndLeavesTheOldFile) {
  WriteConfig("left = 77\n");
  const std::string before = files.files[kConfigFileName];
  files.failWrites = true;
  host.whileRunning = [this] {
    host.shell->OnEndSession();
    host.shell->OnCommand(IDM_EXIT);
  };
  Run();
  EXPECT_EQ(files.files[kConfigFileName], before);
  EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{{kSettingsNotSavedText, "오류"}}));
}

TEST_F(ShellTest, ABrokenConfigurationIsKeptAsABackup) {
  files.files[kConfigFileName] = "left = (";
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(files.files[std::string(kConfigFileName) + ".bak"], "left = (");
  EXPECT_EQ(files.files[kConfigFileName], FormatSettings(Settings{}));
}

TEST_F(ShellTest, OtherCommandsDoNotEndTheProgram) {
  host.whileRunning = [this] {
    host.shell->OnCommand(IDM_ABOUT);
    host.shell->OnCommand(12345);
    host.calls.push_back("still running");
    host.shell->OnCommand(IDM_EXIT);
  };
  Run();
  auto at = [this](const char* what) {
    return std::find(host.calls.begin(), host.calls.end(), what) - host.calls.begin();
  };
  EXPECT_LT(at("still running"), at("destroy hidden"));
}

}  // namespace
}  // namespace tessary
