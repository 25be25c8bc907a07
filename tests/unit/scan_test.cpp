// Scan mode and the input modes' hooks.
#include "input/scan.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "input/input_modes.h"
#include "input/key_activation.h"
#include "keyboard_rig.h"
#include "prediction/predictor.h"
#include "shell/shell.h"
#include "ui/frame.h"
#include "window_fakes.h"

namespace tessary {
namespace {

using testing::FakeKeyboardHost;

// Key indices of the built-in Korean layout.
constexpr int kEsc = 0, kTab = 33, kQ = 34, kW = 35, kR = 37, kT = 38, kCaps = 50, kHangul = 83;

class FakeScanTimer : public ScanTimer {
 public:
  bool running = false;
  uint32_t period = 0, generation = 0, elapsed = 0;
  int starts = 0;
  void Start(uint32_t periodMs, uint32_t gen) override {
    running = true;
    period = periodMs;
    generation = gen;
    elapsed = 0;
    ++starts;
  }
  void Stop() override { running = false; }
};

class ScanTest : public ::testing::Test, protected testing::KeyboardRig {
 protected:
  FakeKeyboardHost host;
  FakeScanTimer timer;
  testing::RecordingStrokes strokes;
  NoPredictor predictor;
  KeyActivator activator{kb, strokes, predictor, env};
  KeyDrawing drawing{kb, settings};
  std::vector<int> activated;
  ScanController scan{host, kb, drawing, settings, timer, [this](WindowId window, int k) {
                        activated.push_back(k);
                        activator.ActivateKey(window, k);
                      }};

  void SetUp() override {
    ReloadLayout(kb, env, kDefaultLayoutName, IL_KOREAN);
    kb.ScaleKeys(510, 155);
    scan.StartScan(5, 500);
  }
  void Tick() { scan.OnTimerTick(timer.generation); }
  // The fake clock: `ms` milliseconds pass, and the timer ticks when its period is up.
  void Wait(uint32_t ms) {
    for (uint32_t t = 0; t < ms; ++t) {
      if (timer.running && ++timer.elapsed >= timer.period) {
        timer.elapsed = 0;
        Tick();
      }
    }
  }
  void Restart(int32_t mode) {
    settings.scanMode = mode;
    scan.StopScan();
    scan.StartScan(5, 500);
  }
  // The keys whose last drawing on the window was the hover look.
  std::set<int> Highlighted() {
    std::map<std::string, bool> hovered;
    for (const std::string& op : host.window.ops) {
      if (op.rfind("key ", 0) != 0) continue;
      const std::string rect = op.substr(4, op.find(')') - 3);
      hovered[rect] = op.find("face CCCCFF") != std::string::npos;
    }
    std::set<int> keys;
    for (size_t i = 0; i < kb.keys.size(); ++i) {
      auto it = hovered.find(testing::RectText(kb.keys[i].rect));
      if (it != hovered.end() && it->second) keys.insert(static_cast<int>(i));
    }
    return keys;
  }
  std::set<int> Line(int32_t line) {
    const std::vector<int> keys = kb.KeysInScanLine(line);
    return {keys.begin(), keys.end()};
  }
  std::set<int> Block(int32_t line, int32_t block) {
    const std::vector<int> keys = kb.KeysInScanBlock(line, block);
    return {keys.begin(), keys.end()};
  }
  int LineCount() {
    int n = 0;
    while (!kb.KeysInScanLine(n + 1).empty()) ++n;
    return n;
  }
};

TEST_F(ScanTest, StartsIdleAndTheFirstSwitchShowsLineOneAtOnce) {
  EXPECT_NE(dynamic_cast<const ScanIdle*>(scan.state()), nullptr);
  EXPECT_FALSE(timer.running);
  Tick();  // no timer yet: nothing happens
  EXPECT_TRUE(Highlighted().empty());
  scan.OnSwitch();
  EXPECT_NE(dynamic_cast<const LineScan*>(scan.state()), nullptr);
  EXPECT_EQ(Highlighted(), Line(1));
  EXPECT_TRUE(timer.running);
  EXPECT_EQ(timer.period, 500u);
  Tick();
  EXPECT_EQ(Highlighted(), Line(2));
}

TEST_F(ScanTest, LineBlockAndKeyStepsActivateAKeyAndResumeOnTheSameLine) {
  scan.OnSwitch();
  Tick();
  Tick();  // line 3 shown
  scan.OnSwitch();
  ASSERT_NE(dynamic_cast<const BlockScan*>(scan.state()), nullptr);
  EXPECT_EQ(Highlighted(), Block(3, 1));
  Tick();
  EXPECT_EQ(Highlighted(), Block(3, 2));
  Tick();
  Tick();
  Tick();  // blocks 3, 4, then back to 1
  EXPECT_EQ(Highlighted(), Block(3, 1));
  scan.OnSwitch();
  ASSERT_NE(dynamic_cast<const KeyScan*>(scan.state()), nullptr);
  EXPECT_EQ(Highlighted(), (std::set<int>{kTab}));
  Tick();
  EXPECT_EQ(Highlighted(), (std::set<int>{kQ}));
  scan.OnSwitch();
  EXPECT_EQ(activated, (std::vector<int>{kQ}));
  EXPECT_EQ(host.sounds, 1);
  EXPECT_GE(host.invalidations, 1);
  ASSERT_NE(dynamic_cast<const LineScan*>(scan.state()), nullptr);
  EXPECT_EQ(Highlighted(), Line(3));  // resumes on the chosen line
}

// A layout that declares where the scan goes after each place in the syllable: the line
// scan starts on the lines it names, whatever line the last key was on.
TEST_F(ScanTest, ADeclaredOrderFollowsTheSyllableAndTheBuiltInLayoutHasNone) {
  for (int place = kAtWordEnd; place < kSyllablePlaces; ++place) {
    EXPECT_TRUE(kb.ScanLineOrder(static_cast<SyllablePlace>(place)).empty());
  }
  kb.layoutSet[IL_KOREAN] =
      "Version = 3\nLanguage = IL_KOREAN\nDescription = 'syllable'\nPrediction = false\n"
      "Width = 40\nHeight = 10\nFontSize = 10\n"
      "local c = { text = 0, face = 0, border = 0 }\n"
      "local function K(code, s, x, line) Key { code = code, type = 0, stroke = s, label = { ncns = s, "
      "ncys = s, ycns = s, ycys = s }, pos = { left = x, top = 0, width = 10, height = 10 }, normal = c, "
      "press = c, scan = { line = line, block = 1 } } end\n"
      "K(32, ' ', 0, 1); K(82, 'r', 10, 2); K(83, 's', 20, 2); K(75, 'k', 30, 3)\n"
      "ScanOrder = { wordEnd = { 2, 1 }, initial = { 3 }, vowel = { 2, 1 }, final = { 0, 1, 3 } }\n";
  ASSERT_TRUE(BuildKeyboard(kb, env, IL_KOREAN)) << env.lastScriptError;
  kb.ScaleKeys(510, 155);
  Restart(SCAN_AUTO);
  constexpr int kSpace = 0, kG = 1, kN = 2, kA = 3;
  // Chooses the line, the block and the key `steps` keys into the block.
  const auto choose = [this](int steps) {
    scan.OnSwitch();
    scan.OnSwitch();
    Wait(500 * static_cast<uint32_t>(steps));
    scan.OnSwitch();
  };
  ASSERT_EQ(kb.ScanLineOrder(kAtWordEnd), (std::vector<int32_t>{2, 1, 3}));
  scan.OnSwitch();
  EXPECT_EQ(Highlighted(), Line(2));  // at the start: the consonants first
  Wait(500);
  EXPECT_EQ(Highlighted(), Line(1));
  Wait(500);
  EXPECT_EQ(Highlighted(), Line(3));  // the lines it does not name follow by number
  Wait(500);  // round to line 2
  choose(0);   // ㄱ
  EXPECT_EQ(scan.syllablePlace(), kAfterInitial);
  EXPECT_EQ(Highlighted(), Line(3));  // after an initial: the vowels
  choose(0);                          // ㅏ
  EXPECT_EQ(Highlighted(), Line(2));  // after a vowel: the consonants (a final)
  choose(1);                          // ㄴ
  EXPECT_EQ(scan.syllablePlace(), kAfterFinal);
  EXPECT_EQ(Highlighted(), Line(1));  // after a final: no candidate goes on, Space first
  choose(0);                          // Space
  EXPECT_EQ(scan.syllablePlace(), kAtWordEnd);
  EXPECT_EQ(Highlighted(), Line(2));
  EXPECT_EQ(activated, (std::vector<int>{kG, kA, kN, kSpace}));
  // The 0 of `final`: the line the next letter is likeliest on (ㅏ on line 3, ㄱ and ㄴ
  // on line 2); a tie goes to the line named first.
  kb.nextLetters = {{75, 0.6}, {82, 0.4}};
  EXPECT_EQ(kb.ScanLineOrder(kAfterFinal), (std::vector<int32_t>{3, 1, 2}));
  kb.nextLetters = {{75, 0.5}, {82, 0.5}};
  EXPECT_EQ(kb.ScanLineOrder(kAfterFinal), (std::vector<int32_t>{3, 1, 2}));
  kb.nextLetters = {{75, 0.4}, {82, 0.3}, {83, 0.3}};
  EXPECT_EQ(kb.ScanLineOrder(kAfterFinal), (std::vector<int32_t>{2, 1, 3}));
  // Each further 0 is the likeliest line not yet listed; a line no letter is likely on
  // is left to the lines by number.
  kb.scanOrder[kAfterFinal] = {0, 1, 0};
  EXPECT_EQ(kb.ScanLineOrder(kAfterFinal), (std::vector<int32_t>{2, 1, 3}));
  kb.nextLetters = {{82, 1.0}};
  EXPECT_EQ(kb.ScanLineOrder(kAfterFinal), (std::vector<int32_t>{2, 1, 3}));
  kb.nextLetters = {{75, 1.0}};
  EXPECT_EQ(kb.ScanLineOrder(kAfterFinal), (std::vector<int32_t>{3, 1, 2}));
  kb.scanOrder[kAfterFinal] = {0, 1, 3};
  kb.nextLetters = {{82, 0.7}, {75, 0.3}};
  choose(0);  // ㄱ
  choose(0);  // ㅏ
  choose(1);  // ㄴ
  EXPECT_EQ(Highlighted(), Line(2));
}

// With Shift release on (the default), a Shift chosen by scanning applies to the one
// letter after it, as under the pointer: ㅆ then ㅏ costs no second choice of Shift.
TEST_F(ScanTest, AScannedShiftAppliesToOneLetterWhenShiftReleaseIsOn) {
  constexpr int kShiftLeft = 66, kLeftArrow = 87;
  scan.ActivateScanned(5, kShiftLeft);
  scan.ActivateScanned(5, kT);
  EXPECT_EQ(activated, (std::vector<int>{kShiftLeft, kT, kShiftLeft}));
  EXPECT_EQ(kb.view & 1, 0);
  EXPECT_FALSE(kb.IsLatched(kShiftKey));

  // A key that is no character keeps it, and so does the setting turned off.
  scan.ActivateScanned(5, kShiftLeft);
  scan.ActivateScanned(5, kLeftArrow);
  EXPECT_TRUE(kb.IsLatched(kShiftKey));
  settings.useShiftRelease = false;
  activated.clear();
  scan.ActivateScanned(5, kT);
  EXPECT_EQ(activated, (std::vector<int>{kT}));
  EXPECT_EQ(kb.view & 1, 1);
}

TEST_F(ScanTest, TwoPassesOverTheLinesWithoutASwitchReturnToIdle) {
  scan.OnSwitch();
  const int lines = LineCount();
  ASSERT_EQ(lines, 6);
  for (int step = 1; step < 2 * lines; ++step) Tick();
  EXPECT_EQ(Highlighted(), Line(lines));
  Tick();
  EXPECT_NE(dynamic_cast<const ScanIdle*>(scan.state()), nullptr);
  EXPECT_TRUE(Highlighted().empty());
  scan.OnSwitch();  // and a press starts over at line 1
  EXPECT_EQ(Highlighted(), Line(1));
}

TEST_F(ScanTest, TwoPassesOverBlocksGoOnWithTheNextLine) {
  scan.OnSwitch();
  Tick();
  Tick();
  scan.OnSwitch();  // blocks of line 3 (four of them)
  for (int step = 1; step < 8; ++step) Tick();
  EXPECT_EQ(Highlighted(), Block(3, 4));
  Tick();
  ASSERT_NE(dynamic_cast<const LineScan*>(scan.state()), nullptr);
  EXPECT_EQ(Highlighted(), Line(4));
}

TEST_F(ScanTest, TwoPassesOverKeysGoOnWithTheNextBlock) {
  scan.OnSwitch();
  Tick();
  Tick();
  scan.OnSwitch();
  scan.OnSwitch();  // the keys of line 3, block 1: Tab q w e r
  for (int step = 1; step < 10; ++step) Tick();
  EXPECT_EQ(Highlighted(), (std::set<int>{kR}));
  Tick();
  ASSERT_NE(dynamic_cast<const BlockScan*>(scan.state()), nullptr);
  EXPECT_EQ(Highlighted(), Block(3, 2));
  EXPECT_TRUE(Highlighted().count(kT));
  EXPECT_TRUE(activated.empty());
}

TEST_F(ScanTest, TheHangulKeyReturnsToIdle) {
  const KeyDef& hangul = kb.keys[kHangul];
  ASSERT_EQ(hangul.code, 21);
  const int32_t line = hangul.scanLine, block = hangul.scanBlock;
  const std::vector<int> keys = kb.KeysInScanBlock(line, block);
  const auto position = std::find(keys.begin(), keys.end(), kHangul) - keys.begin();
  scan.OnSwitch();
  for (int32_t n = 1; n < line; ++n) Tick();
  scan.OnSwitch();
  for (int32_t n = 1; n < block; ++n) Tick();
  scan.OnSwitch();
  for (long n = 0; n < position; ++n) Tick();
  EXPECT_EQ(Highlighted(), (std::set<int>{kHangul}));
  scan.OnSwitch();
  EXPECT_EQ(activated, (std::vector<int>{kHangul}));
  EXPECT_EQ(kb.language, IL_ENGLISH);
  EXPECT_NE(dynamic_cast<const ScanIdle*>(scan.state()), nullptr);
  // No highlight outlives its scan: the repaint after the switch draws none, and the
  // next scan shows only its own line.
  testing::RecordingCanvas repaint;
  scan.DrawHighlight(repaint);
  EXPECT_TRUE(repaint.ops.empty());
  EXPECT_TRUE(Highlighted().empty());
  scan.OnSwitch();
  repaint.ops.clear();
  scan.DrawHighlight(repaint);
  size_t shapes = 0;
  for (const std::string& op : repaint.ops) shapes += op.rfind("key ", 0) == 0;
  EXPECT_EQ(shapes, Line(1).size());
}

TEST_F(ScanTest, StoppedOrReplacedTimersTickInVain) {
  scan.OnSwitch();
  const uint32_t old = timer.generation;
  scan.StopScan();
  EXPECT_FALSE(timer.running);
  EXPECT_EQ(scan.state(), nullptr);
  EXPECT_TRUE(Highlighted().empty());  // leaving un-highlights
  scan.OnTimerTick(old);
  scan.OnSwitch();  // stopped: a switch does nothing
  EXPECT_EQ(scan.state(), nullptr);
  EXPECT_TRUE(Highlighted().empty());

  scan.StartScan(5, 500);
  scan.OnSwitch();
  scan.OnSwitch();  // the line timer was replaced by the block timer
  const std::set<int> blocks = Highlighted();
  scan.OnTimerTick(timer.generation - 1);
  EXPECT_EQ(Highlighted(), blocks);
  // A restart (after a language change, say) begins idle with nothing shown.
  scan.StopScan();
  scan.StartScan(5, 500);
  EXPECT_NE(dynamic_cast<const ScanIdle*>(scan.state()), nullptr);
  EXPECT_TRUE(Highlighted().empty());
}

TEST_F(ScanTest, LayoutsWithGapsReturnToIdleInsteadOfReadingPastAList) {
  // No scan line 1.
  for (KeyDef& key : kb.keys) key.scanLine += 1;
  scan.OnSwitch();
  EXPECT_NE(dynamic_cast<const ScanIdle*>(scan.state()), nullptr);
  EXPECT_TRUE(Highlighted().empty());

  // A line whose blocks start at 2.
  for (KeyDef& key : kb.keys) {
    key.scanLine -= 1;
    if (key.scanLine == 1) key.scanBlock += 1;
  }
  scan.OnSwitch();
  scan.OnSwitch();
  EXPECT_NE(dynamic_cast<const ScanIdle*>(scan.state()), nullptr);

  // An empty block, entered directly.
  scan.SetScanState(std::make_unique<KeyScan>(3, 9));
  EXPECT_NE(dynamic_cast<const ScanIdle*>(scan.state()), nullptr);
  EXPECT_TRUE(activated.empty());
}

TEST_F(ScanTest, ARepaintAfterTheActivationKeepsTheHighlight) {
  scan.OnSwitch();
  Tick();
  Tick();
  scan.OnSwitch();
  scan.OnSwitch();
  Tick();
  scan.OnSwitch();  // q: the key list is repainted, then line 3 is shown again
  testing::RecordingCanvas repaint;
  scan.DrawHighlight(repaint);
  std::set<int> drawn;
  for (size_t i = 0; i < kb.keys.size(); ++i) {
    for (const std::string& op : repaint.ops) {
      if (op.find(testing::RectText(kb.keys[i].rect)) != std::string::npos && op.find("face CCCCFF") != std::string::npos)
        drawn.insert(static_cast<int>(i));
    }
  }
  EXPECT_EQ(drawn, Line(3));
  scan.StopScan();
  repaint.ops.clear();
  scan.DrawHighlight(repaint);
  EXPECT_TRUE(repaint.ops.empty());
}

TEST_F(ScanTest, ANullStateChangesNothing) {
  scan.OnSwitch();
  const ScanState* before = scan.state();
  const int starts = timer.starts;
  scan.SetScanState(nullptr);
  EXPECT_EQ(scan.state(), before);
  EXPECT_EQ(timer.starts, starts);
  EXPECT_TRUE(timer.running);
}

TEST(InputHookTest, TheMouseHookTakesOnlyButtonsOverTheKeyboard) {
  for (uint32_t message : {513u, 514u, 516u, 517u}) {
    EXPECT_TRUE(TakesMouseEvent(0, message, kKeyboardWindowClass)) << message;
    EXPECT_FALSE(TakesMouseEvent(0, message, kFrameWindowClass)) << message;  // the caption strip
    EXPECT_FALSE(TakesMouseEvent(-1, message, kKeyboardWindowClass)) << message;
  }
  EXPECT_FALSE(TakesMouseEvent(0, 515, kKeyboardWindowClass));  // double click: passed on
  EXPECT_FALSE(TakesMouseEvent(0, 512, kKeyboardWindowClass));  // moves
  EXPECT_FALSE(TakesMouseEvent(0, 522, kKeyboardWindowClass));  // the wheel
  EXPECT_FALSE(TakesMouseEvent(0, 513, "Tessary_Kbd_Window2"));
  EXPECT_FALSE(TakesMouseEvent(0, 513, "Tessary_Kbd_Windo"));
}

TEST(InputHookTest, APressOutsideTheKeyboardIsAClickElsewhere) {
  EXPECT_TRUE(IsClickElsewhere(0, 513, "Edit"));
  EXPECT_TRUE(IsClickElsewhere(0, 516, kFrameWindowClass));
  EXPECT_FALSE(IsClickElsewhere(0, 513, kKeyboardWindowClass));
  EXPECT_FALSE(IsClickElsewhere(0, 514, "Edit"));  // the release
  EXPECT_FALSE(IsClickElsewhere(0, 512, "Edit"));  // a move
}

// Step mode: the first switch moves the highlight one step, the second chooses, and
// nothing moves on its own.
TEST_F(ScanTest, StepModeMovesOnePressAStepAndTheSecondSwitchChooses) {
  Restart(SCAN_STEP);
  scan.OnSwitchSignal(1, false);
  EXPECT_EQ(Highlighted(), Line(1));
  Wait(5000);
  EXPECT_EQ(Highlighted(), Line(1));
  scan.OnSwitchSignal(1, true);  // releases mean nothing here
  scan.OnSwitchSignal(1, false);
  scan.OnSwitchSignal(1, false);
  EXPECT_EQ(Highlighted(), Line(3));
  scan.OnSwitchSignal(2, false);
  EXPECT_EQ(Highlighted(), Block(3, 1));
  scan.OnSwitchSignal(2, false);
  EXPECT_EQ(Highlighted(), (std::set<int>{kTab}));
  scan.OnSwitchSignal(1, false);
  scan.OnSwitchSignal(2, false);
  EXPECT_EQ(activated, (std::vector<int>{kQ}));
  EXPECT_EQ(Highlighted(), Line(3));  // resumes on the chosen line, and waits
  EXPECT_EQ(timer.starts, 0);
  // Two passes over a level without a choice still go back up: the rest of this pass
  // (lines 4 to 6), a whole pass, and the step past its end.
  for (int step = 0; step < (LineCount() - 3) + LineCount() + 1; ++step) scan.OnSwitchSignal(1, false);
  EXPECT_NE(dynamic_cast<const ScanIdle*>(scan.state()), nullptr);
}

// Hold mode: the highlight moves while the switch is held, and the release chooses.
TEST_F(ScanTest, HoldModeMovesWhileHeldAndTheReleaseChooses) {
  Restart(SCAN_HOLD);
  scan.OnSwitchSignal(1, false);
  EXPECT_EQ(Highlighted(), Line(1));
  Wait(1100);
  EXPECT_EQ(Highlighted(), Line(3));
  scan.OnSwitchSignal(1, true);
  EXPECT_EQ(Highlighted(), Block(3, 1));
  Wait(3000);  // released: the highlight stays
  EXPECT_EQ(Highlighted(), Block(3, 1));
  scan.OnSwitchSignal(1, false);
  scan.OnSwitchSignal(1, true);  // a tap chooses what is shown
  EXPECT_EQ(Highlighted(), (std::set<int>{kTab}));
  scan.OnSwitchSignal(1, false);
  Wait(600);
  scan.OnSwitchSignal(1, true);
  EXPECT_EQ(activated, (std::vector<int>{kQ}));
  EXPECT_EQ(Highlighted(), Line(3));
  scan.OnSwitchSignal(1, true);  // a second release without a press does nothing
  EXPECT_EQ(activated.size(), 1u);
  EXPECT_EQ(Highlighted(), Line(3));
}

// With the scan tick on, every step of the highlight ticks, in each scan mode; a choice
// does not, and the chosen key clicks as before. Off, and once the scan stops, nothing ticks.
TEST_F(ScanTest, EachStepTicksWhenTheTickIsOnAndTheChoiceClicks) {
  settings.useScanTick = true;
  scan.OnSwitch();  // line 1 shown: the scan begins, no step yet
  Wait(1500);       // lines 2, 3, 4
  EXPECT_EQ(host.ticks, 3);
  scan.OnSwitch();  // a line, then a block is chosen
  scan.OnSwitch();
  Wait(500);        // the second key of the block
  EXPECT_EQ(host.ticks, 4);
  EXPECT_EQ(host.sounds, 0);
  scan.OnSwitch();
  EXPECT_EQ(activated.size(), 1u);
  EXPECT_EQ(host.sounds, 1);  // the click, not a tick
  EXPECT_EQ(host.ticks, 4);

  Restart(SCAN_STEP);
  scan.OnSwitchSignal(1, false);  // wakes the scan
  scan.OnSwitchSignal(1, false);
  scan.OnSwitchSignal(1, false);
  EXPECT_EQ(host.ticks, 6);
  Restart(SCAN_HOLD);
  scan.OnSwitchSignal(1, false);
  Wait(1100);
  scan.OnSwitchSignal(1, true);
  EXPECT_EQ(host.ticks, 8);

  Restart(SCAN_AUTO);
  scan.OnSwitch();
  const uint32_t generation = timer.generation;
  scan.StopScan();
  scan.OnTimerTick(generation);  // the scan is off
  EXPECT_EQ(host.ticks, 8);
  settings.useScanTick = false;
  scan.StartScan(5, 500);
  scan.OnSwitch();
  Wait(1500);
  EXPECT_EQ(Highlighted(), Line(4));
  EXPECT_EQ(host.ticks, 8);
}

// The first item of each level stays longer by the pause; then the steps come at the
// scan delay. The passes before going back up are the user's.
TEST_F(ScanTest, TheFirstItemsPauseAndThePassesAreTheUsers) {
  settings.scanFirstDelay = 1000;
  settings.scanMaxLoop = 1;
  Restart(SCAN_AUTO);
  scan.OnSwitch();
  Wait(1499);
  EXPECT_EQ(Highlighted(), Line(1));
  Wait(1);
  EXPECT_EQ(Highlighted(), Line(2));
  Wait(500);
  EXPECT_EQ(Highlighted(), Line(3));
  scan.OnSwitch();  // the blocks of line 3: block 1 pauses too
  Wait(1499);
  EXPECT_EQ(Highlighted(), Block(3, 1));
  Wait(501);
  EXPECT_EQ(Highlighted(), Block(3, 3));
  Wait(1000);  // one pass over the four blocks: back to the lines, at line 4
  EXPECT_EQ(Highlighted(), Line(4));
  Wait(1500 + 500 * (LineCount() - 4));  // one pass over the lines: idle
  EXPECT_NE(dynamic_cast<const ScanIdle*>(scan.state()), nullptr);
  EXPECT_TRUE(Highlighted().empty());
}

TEST(InputHookTest, OnlyASpaceKeyDownIsASwitch) {
  SwitchFilter filter;  // the default: the Space bar
  EXPECT_EQ(filter.OnKey(0, 256, 32, false, false).which, 1);
  EXPECT_EQ(filter.OnKey(0, 256, 32, false, false).which, 0);  // held: its auto-repeat is no press
  const SwitchSignal up = filter.OnKey(0, 257, 32, false, false);
  EXPECT_EQ(up.which, 1);
  EXPECT_TRUE(up.released);
  EXPECT_EQ(filter.OnKey(0, 260, 32, false, true).which, 0);  // with Alt: WM_SYSKEYDOWN
  EXPECT_EQ(filter.OnKey(0, 256, 13, false, false).which, 0);
  EXPECT_EQ(filter.OnKey(3, 256, 32, false, false).which, 0);
  EXPECT_EQ(filter.OnKey(0, 256, 32, true, false).which, 0);  // the on-screen Space key, injected
}

// The switch never types a space; the keyboard's own Space key always does.
TEST(InputHookTest, TheSwitchIsSwallowedAndEverythingElsePasses) {
  SwitchFilter filter;
  EXPECT_TRUE(filter.OnKey(0, 256, 32, false, false).swallow);
  EXPECT_TRUE(filter.OnKey(0, 256, 32, false, false).swallow);  // its auto-repeat too
  EXPECT_TRUE(filter.OnKey(0, 257, 32, false, false).swallow);  // and its key-up
  EXPECT_FALSE(filter.OnKey(0, 256, 32, true, false).swallow);  // injected: down and up reach the application
  EXPECT_FALSE(filter.OnKey(0, 257, 32, true, false).swallow);
  EXPECT_FALSE(filter.OnKey(0, 260, 32, false, true).swallow);  // Alt+Space, the window menu
  EXPECT_FALSE(filter.OnKey(0, 261, 32, false, true).swallow);  // and its release
  EXPECT_FALSE(filter.OnKey(0, 256, 13, false, false).swallow);
  EXPECT_FALSE(filter.OnKey(3, 256, 32, false, false).swallow);
  EXPECT_TRUE(IsOwnOrInjectedKey(false, kOwnInputTag));  // tagged by the keyboard itself
  EXPECT_TRUE(IsOwnOrInjectedKey(true, 0));
  EXPECT_FALSE(IsOwnOrInjectedKey(false, 0));
}

// Every kind of switch, as the first and as the second: pressed and released it is
// swallowed and signalled once; injected it is neither.
TEST(InputHookTest, EverySwitchKindIsSwallowedAndInjectedEventsNeverAreTheSwitch) {
  struct Kind {
    int32_t scanSwitch;
    bool mouse;
    uint32_t down, up, code;
  };
  const Kind kinds[] = {{SWITCH_SPACE, false, 256, 257, 32},        {SWITCH_ENTER, false, 256, 257, 13},
                        {SWITCH_F1 + 4, false, 256, 257, 0x74},     {SWITCH_F1 + 9, false, 260, 261, 0x79},  // F10: a system key
                        {SWITCH_MOUSE_LEFT, true, 513, 514, 0},     {SWITCH_MOUSE_RIGHT, true, 516, 517, 0},
                        {SWITCH_MOUSE_MIDDLE, true, 519, 520, 0}};
  for (const Kind& kind : kinds) {
    for (int which : {1, 2}) {
      SwitchFilter filter;
      if (which == 1) filter.Configure(kind.scanSwitch, SWITCH_NONE);
      else filter.Configure(kind.scanSwitch == SWITCH_ENTER ? SWITCH_SPACE : SWITCH_ENTER, kind.scanSwitch);
      EXPECT_EQ(filter.UsesMouse(), kind.mouse);
      const auto event = [&](uint32_t message, bool injected) {
        return kind.mouse ? filter.OnMouse(0, message, injected) : filter.OnKey(0, message, kind.code, injected, false);
      };
      const SwitchSignal injectedDown = event(kind.down, true);
      EXPECT_FALSE(injectedDown.swallow || injectedDown.which != 0) << kind.scanSwitch;
      EXPECT_FALSE(event(kind.up, true).swallow) << kind.scanSwitch;
      const SwitchSignal down = event(kind.down, false), repeat = event(kind.down, false),
                         up = event(kind.up, false), strayUp = event(kind.up, false);
      EXPECT_TRUE(down.swallow && down.which == which && !down.released) << kind.scanSwitch;
      EXPECT_TRUE(repeat.swallow && repeat.which == 0) << kind.scanSwitch;
      EXPECT_TRUE(up.swallow && up.which == which && up.released) << kind.scanSwitch;
      EXPECT_FALSE(strayUp.swallow) << kind.scanSwitch;  // its press was not taken
    }
  }
  SwitchFilter keys;
  keys.Configure(SWITCH_F1, SWITCH_F1);  // one key cannot be both switches
  EXPECT_EQ(keys.OnKey(0, 256, 0x70, false, false).which, 1);
  EXPECT_FALSE(keys.UsesMouse());
  EXPECT_FALSE(keys.OnMouse(0, 513, false).swallow);  // clicks pass while the switches are keys
}

TEST(InputModeTest, ChangingModesAroundTheSettingsDialog) {
  Settings settings;
  std::vector<std::string> calls;
  testing::RecordingHooks hooks(calls);
  testing::RecordingScan scan(calls);
  testing::RecordingMessageBoxes messages;
  testing::FakeFrameHost frameHost;
  testing::FakeGlyphPainter painter;
  GlyphButton a(painter), b(painter);
  Frame frame(frameHost, settings, a, b);
  frame.StartTransparency();
  InputModeContext context{settings, hooks, messages, &scan, [&frame] { frame.StopTransparency(); }, 7};

  settings.inputMode = IM_SCAN;
  LeaveInputMode(context);
  settings.inputMode = IM_CLICK;
  EnterInputMode(context);
  EXPECT_EQ(calls, (std::vector<std::string>{"remove keyboard", "stop scan", "install mouse"}));
  EXPECT_TRUE(settings.useTransparency);

  calls.clear();
  LeaveInputMode(context);
  settings.inputMode = IM_SCAN;
  EnterInputMode(context);
  EXPECT_EQ(calls, (std::vector<std::string>{"remove mouse", "install keyboard", "start scan 7 3000"}));
  // The second switch is only step mode's.
  calls.clear();
  settings.scanSwitch = SWITCH_MOUSE_RIGHT;
  EnterInputMode(context);
  settings.scanMode = SCAN_STEP;
  EnterInputMode(context);
  EXPECT_EQ(calls, (std::vector<std::string>{"install keyboard 32 0", "start scan 7 3000", "install keyboard 32 2",
                                             "start scan 7 3000"}));
  settings.scanMode = SCAN_AUTO;
  settings.scanSwitch = SWITCH_SPACE;
  EXPECT_FALSE(settings.useTransparency);  // entering scan mode turns translucency off
  EXPECT_FALSE(frame.transparencyRunning());

  calls.clear();
  hooks.fail = true;
  EnterInputMode(context);
  settings.inputMode = IM_CLICK;
  EnterInputMode(context);
  settings.inputMode = IM_DWELL;
  LeaveInputMode(context);
  EnterInputMode(context);  // dwell mode has no hook
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, kKeyboardHookFailedText);
  EXPECT_EQ(messages.shown[1].text, kMouseHookFailedText);
  EXPECT_EQ(messages.shown[1].title, "시스템 오류");
}

}  // namespace
}  // namespace tessary
