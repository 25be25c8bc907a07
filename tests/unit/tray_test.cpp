// The tray menu, its commands and the settings dialog's model.
#include "shell/tray.h"

#include <gtest/gtest.h>

#include "config/settings.h"
#include "fakes.h"
#include "shell/settings_dialog.h"
#include "shell/shell.h"
#include "ui/frame.h"
#include "window_fakes.h"

namespace tessary {
namespace {

class RecordingTrayUi : public TrayUi {
 public:
  std::vector<std::string>& log;
  TrayMenu shownMenu;
  bool confirmFont = true;
  std::function<void(Settings&)> dialog = [](Settings&) {};
  explicit RecordingTrayUi(std::vector<std::string>& calls) : log(calls) {}
  void ShowKeyboard() override { log.push_back("show keyboard"); }
  void ShowMenu(const TrayMenu& menu) override {
    shownMenu = menu;
    log.push_back("menu");
  }
  void RunAboutDialog() override { log.push_back("about"); }
  bool ChooseLabelFont(LabelFont& font) override {
    log.push_back("font");
    if (confirmFont) font.lfFaceName = "돋움";
    return confirmFont;
  }
  void RunSettingsDialog(Settings& settings) override {
    log.push_back("settings dialog");
    dialog(settings);
  }
  void RepaintFrame() override { log.push_back("repaint frame"); }
  void PostReloadLayout() override { log.push_back("reload layout"); }
  void EndProgram() override { log.push_back("end"); }
};

class TrayTest : public ::testing::Test {
 protected:
  std::vector<std::string> log;
  Settings settings;
  testing::FakeFileSystem files;
  RecordingTrayUi ui{log};
  testing::RecordingHooks hooks{log};
  testing::RecordingScan scan{log};
  testing::RecordingMessageBoxes messages;
  testing::FakeFrameHost frameHost;
  testing::FakeGlyphPainter painter;
  GlyphButton a{painter}, b{painter};
  Frame frame{frameHost, settings, a, b};
  InputModeContext modes{settings, hooks, messages, &scan, [this] { frame.StopTransparency(); }, 3};
  Tray tray{settings, files, ui, modes, &frame};

  std::string Folder() { return files.currentDirectory + "\\키보드"; }
};

// The menu and every dialog take the foreground while they are up; afterwards the
// application being typed into has it again, and so after the keyboard's return from
// the tray, which passes the foreground through the shell.
TEST_F(TrayTest, TheApplicationHasTheFocusAgainAfterTheMenuAndEachDialog) {
  constexpr WindowId kEditor = 10, kMenuOwner = 20, kTaskbar = 30;
  testing::FakeFocusHost desktop;
  desktop.kinds = {{kEditor, WindowKind::kApplication}, {kMenuOwner, WindowKind::kOwn},
                   {kTaskbar, WindowKind::kShell}};
  FocusKeeper focus{desktop};
  RecordingTrayUi takingUi{log};
  Tray keeping{settings, files, takingUi, modes, &frame, &focus};
  takingUi.dialog = [&desktop](Settings&) { desktop.foreground = kMenuOwner; };
  desktop.foreground = kEditor;
  keeping.OnTrayIcon(TrayClick::kRightButtonUp);  // the menu takes the foreground from the editor...
  EXPECT_EQ(focus.remembered(), kEditor);
  for (int command : {IDM_ABOUT, IDM_FONT, IDM_SETTINGS}) {
    desktop.foreground = kMenuOwner;  // ...and so does each dialog
    keeping.OnCommand(command);
    EXPECT_EQ(desktop.foreground, kEditor) << command;
  }
  desktop.foreground = kTaskbar;  // a click on the tray icon
  keeping.OnTrayIcon(TrayClick::kLeftButtonDown);
  EXPECT_EQ(desktop.foreground, kEditor);
  EXPECT_EQ(desktop.handedTo.size(), 4u);
}

TEST_F(TrayTest, MenuWithoutLayoutFolders) {
  tray.OnTrayIcon(TrayClick::kRightButtonUp);
  ASSERT_EQ(log, (std::vector<std::string>{"menu"}));
  const TrayMenu& menu = ui.shownMenu;
  ASSERT_EQ(menu.layouts.size(), 1u);
  EXPECT_EQ(menu.layouts[0].id, 40027);
  EXPECT_EQ(menu.layouts[0].name, "누리꽃(기본)");
  EXPECT_TRUE(menu.layouts[0].checked);
  EXPECT_EQ(menu.options,
            (std::map<int, bool>{{40018, true}, {40015, true}, {40017, true}, {40030, true}, {40031, false}}));
  tray.OnTrayIcon(TrayClick::kLeftButtonDown);
  tray.OnTrayIcon(TrayClick::kOther);  // anything else: nothing
  EXPECT_EQ(log.back(), "show keyboard");
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(TrayTest, LayoutFoldersGetIdsFrom20000AndTheChosenOneReloads) {
  files.directories[Folder()] = {{"A", true}, {"readme.txt", false}, {"B", true}};
  settings.kbdName = "B";
  settings.useKeyRepeat = false;
  const TrayMenu menu = tray.BuildMenu();
  ASSERT_EQ(menu.layouts.size(), 3u);
  EXPECT_FALSE(menu.layouts[0].checked);
  EXPECT_EQ(menu.layouts[1].id, 20000);
  EXPECT_EQ(menu.layouts[1].name, "A");
  EXPECT_FALSE(menu.layouts[1].checked);
  EXPECT_EQ(menu.layouts[2].id, 20001);
  EXPECT_TRUE(menu.layouts[2].checked);
  EXPECT_FALSE(menu.options.at(40015));

  tray.OnCommand(20000);
  EXPECT_EQ(settings.kbdName, "A");
  tray.OnCommand(40027);
  EXPECT_EQ(settings.kbdName, "누리꽃(기본)");
  EXPECT_EQ(log, (std::vector<std::string>{"reload layout", "reload layout"}));
  tray.OnCommand(20005);  // no such entry: nothing
  EXPECT_EQ(log.size(), 2u);

  // Entries of an earlier opening stay until their id is reused.
  files.directories[Folder()] = {{"C", true}};
  tray.BuildMenu();
  EXPECT_EQ(tray.layoutMenuTable.at(20000), "C");
  EXPECT_EQ(tray.layoutMenuTable.at(20001), "B");
}

TEST_F(TrayTest, OptionsAndDialogs) {
  tray.OnCommand(40018);
  tray.OnCommand(40015);
  tray.OnCommand(40030);
  EXPECT_FALSE(settings.useClickSound);
  EXPECT_FALSE(settings.useKeyRepeat);
  EXPECT_FALSE(settings.useShiftRelease);
  tray.OnCommand(40006);
  tray.OnCommand(40009);
  EXPECT_EQ(settings.labelFont.lfFaceName, "돋움");
  ui.confirmFont = false;
  tray.OnCommand(40009);  // cancelled: no repaint
  tray.OnCommand(40002);
  EXPECT_EQ(log, (std::vector<std::string>{"about", "font", "repaint frame", "font", "end"}));
}

TEST_F(TrayTest, TransparencyTwiceReturnsToTheStateBefore) {
  frame.StartTransparency();
  frameHost.log.clear();
  tray.OnCommand(40017);
  EXPECT_FALSE(settings.useTransparency);
  EXPECT_FALSE(frame.transparencyRunning());
  tray.OnCommand(40017);
  EXPECT_TRUE(settings.useTransparency);
  EXPECT_TRUE(frame.transparencyRunning());
  EXPECT_EQ(frameHost.log, (std::vector<std::string>{"kill transparency timer", "transparency timer 100"}));
}

TEST_F(TrayTest, SettingsChangeFromClickToScan) {
  ui.dialog = [](Settings& s) { s.inputMode = IM_SCAN; };
  tray.OnCommand(40021);
  EXPECT_EQ(log, (std::vector<std::string>{"remove mouse", "settings dialog", "install keyboard", "start scan 3 3000"}));
  EXPECT_FALSE(settings.useTransparency);
  EXPECT_FALSE(tray.BuildMenu().options.at(40017));
}

TEST_F(TrayTest, WordLearningIsAnOptionAndTheLearntWordsCanBeForgotten) {
  std::vector<std::string> calls;
  tray.onWordLearning = [&calls](bool on) { calls.push_back(on ? "learn on" : "learn off"); };
  tray.onForgetWords = [&calls] { calls.push_back("forget"); };
  tray.OnCommand(40031);
  EXPECT_TRUE(settings.useWordLearning);
  EXPECT_TRUE(tray.BuildMenu().options.at(40031));
  tray.OnCommand(40032);
  tray.OnCommand(40031);
  EXPECT_FALSE(settings.useWordLearning);
  EXPECT_EQ(calls, (std::vector<std::string>{"learn on", "forget", "learn off"}));
}

TEST_F(TrayTest, CancelInScanModeRestartsScanning) {
  settings.inputMode = IM_SCAN;
  tray.OnCommand(40021);  // the dialog changes nothing
  EXPECT_EQ(log, (std::vector<std::string>{"remove keyboard", "stop scan", "settings dialog", "install keyboard",
                                           "start scan 3 3000"}));
  EXPECT_FALSE(settings.useTransparency);
}

TEST(SettingsDialogTest, OpensFromTheSettings) {
  Settings settings;
  const SettingsDialogModel dialog(settings);
  EXPECT_EQ(dialog.inputModeButton, IDC_CLICKMODE);
  EXPECT_EQ(dialog.imeMethodButton, IDC_IDM_CBT);
  EXPECT_EQ(dialog.hangulButton, IDC_HC_AUTO);
  EXPECT_EQ(dialog.OpeningLabel(IDC_REPEAT_DELAY), "0.3 초");
  EXPECT_EQ(dialog.OpeningLabel(IDC_REPEAT_ACCEL), "1.0");
  EXPECT_EQ(dialog.OpeningLabel(IDC_DWELL_DELAY), "0.5 초");
  EXPECT_EQ(dialog.OpeningLabel(IDC_SCAN_DELAY), "3.0 초");
  EXPECT_EQ(dialog.OpeningLabel(IDC_IMG_DELAY), "2.0 초");
  EXPECT_EQ(dialog.Position(IDC_REPEAT_ACCEL), 10);

  settings.inputMode = 7;
  settings.imeDetectMethod = 0;
  const SettingsDialogModel odd(settings);
  EXPECT_EQ(odd.inputModeButton, 0);
  EXPECT_EQ(odd.imeMethodButton, 0);
  Settings after = settings;
  odd.Apply(after);
  EXPECT_EQ(after.inputMode, 7);  // nothing checked: unchanged
  EXPECT_EQ(after.imeDetectMethod, 0);
}

TEST(SettingsDialogTest, TrackbarLabelsAndStoredValues) {
  Settings settings;
  SettingsDialogModel dialog(settings);
  EXPECT_EQ(SettingsDialogModel::LabelForPosition(IDC_REPEAT_DELAY, 1270), "1.2 초");
  EXPECT_EQ(SettingsDialogModel::LabelForPosition(IDC_DWELL_DELAY, 1270), "1.3 초");
  EXPECT_EQ(SettingsDialogModel::LabelForPosition(IDC_SCAN_DELAY, 10000), "10.0 초");
  EXPECT_EQ(SettingsDialogModel::LabelForPosition(IDC_IMG_DELAY, 599), "0.5 초");
  EXPECT_EQ(SettingsDialogModel::LabelForPosition(IDC_REPEAT_ACCEL, 37), "3.7");
  dialog.SetPosition(IDC_REPEAT_DELAY, 1270);
  dialog.SetPosition(IDC_DWELL_DELAY, 1270);
  dialog.SetPosition(IDC_REPEAT_ACCEL, 37);
  dialog.SetPosition(IDC_SCAN_DELAY, 20000);  // held at the top of the range
  dialog.SetPosition(IDC_IMG_DELAY, 1);       // and at its bottom
  dialog.inputModeButton = IDC_DWELLMODE;
  dialog.imeMethodButton = IDC_IDM_IMG;
  dialog.hangulButton = IDC_HC_IME;
  dialog.Apply(settings);
  EXPECT_EQ(settings.hangulComposition, HC_IME);
  EXPECT_EQ(settings.keyRepeatDelay, 1200);
  EXPECT_EQ(settings.dwellDelay, 1200);
  EXPECT_DOUBLE_EQ(settings.keyRepeatAcceleration, 37 * 0.1);
  EXPECT_EQ(settings.scanDelay, 5000);  // the scan step goes up to 5 s
  EXPECT_EQ(settings.idmImgDelay, 500);
  EXPECT_EQ(settings.inputMode, IM_DWELL);
  EXPECT_EQ(settings.imeDetectMethod, IDM_IMG);
}

TEST(SettingsDialogTest, TheScanningGroupChoosesModeSwitchesAndTimings) {
  Settings settings;
  SettingsDialogModel dialog(settings);
  EXPECT_EQ(dialog.scanModeButton, IDC_SCAN_AUTO);
  EXPECT_STREQ(kSwitchChoices[static_cast<size_t>(dialog.switch1Choice)].label, "스페이스");
  EXPECT_STREQ(kSwitchChoices[static_cast<size_t>(dialog.switch2Choice)].label, "엔터");
  EXPECT_EQ(dialog.OpeningLabel(IDC_SCAN_FIRST), "0.0 초");
  EXPECT_EQ(dialog.OpeningLabel(IDC_SCAN_PASSES), "2 번");
  EXPECT_FALSE(dialog.scanTick);
  dialog.scanTick = true;
  dialog.SetPosition(IDC_SCAN_DELAY, 100);  // the shortest step is 0.3 s
  dialog.SetPosition(IDC_SCAN_FIRST, 1270);
  dialog.SetPosition(IDC_SCAN_PASSES, 9);
  dialog.scanModeButton = IDC_SCAN_STEP;
  dialog.switch1Choice = 15;  // the left mouse button
  dialog.switch2Choice = 0;   // none
  dialog.Apply(settings);
  EXPECT_EQ(settings.scanDelay, 300);
  EXPECT_EQ(settings.scanFirstDelay, 1200);
  EXPECT_EQ(settings.scanMaxLoop, 5);
  EXPECT_EQ(settings.scanMode, SCAN_STEP);
  EXPECT_EQ(settings.scanSwitch, SWITCH_MOUSE_LEFT);
  EXPECT_EQ(settings.scanSwitch2, SWITCH_NONE);
  EXPECT_TRUE(settings.useScanTick);

  settings.scanSwitch = 99;  // not in the lists: left as it is
  SettingsDialogModel odd(settings);
  EXPECT_EQ(odd.switch1Choice, -1);
  odd.Apply(settings);
  EXPECT_EQ(settings.scanSwitch, 99);
}

TEST(SettingsDialogTest, ATinyAccelerationStartsAtTheMinimum) {
  Settings settings;
  settings.keyRepeatAcceleration = 0.05;
  SettingsDialogModel dialog(settings);
  EXPECT_EQ(dialog.OpeningLabel(IDC_REPEAT_ACCEL), "0.0");
  EXPECT_EQ(dialog.Position(IDC_REPEAT_ACCEL), 1);
  dialog.Apply(settings);
  EXPECT_DOUBLE_EQ(settings.keyRepeatAcceleration, 0.1);

  settings.keyRepeatAcceleration = 1e300;  // no undefined conversion
  const SettingsDialogModel huge(settings);
  EXPECT_EQ(huge.Position(IDC_REPEAT_ACCEL), 1);
}

}  // namespace
}  // namespace tessary
