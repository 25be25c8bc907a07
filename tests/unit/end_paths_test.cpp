// However the program ends, no modifier the keyboard put down stays down.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>

#include "fuzz_targets.h"
#include "input/key_activation.h"
#include "input/stroke_player.h"
#include "keyboard/key_drawing.h"
#include "keyboard_rig.h"
#include "prediction/predictor.h"
#include "ui/keyboard_window.h"
#include "window_fakes.h"

namespace tessary {
namespace {

using testing::FakeKeyboardHost;

// Key indices of the built-in Korean layout.
constexpr int kCtrl = 79, kAlt = 80, kWin = 81, kShiftLeft = 66, kLanguageKey = 65;

using fuzz::KeysLeftDown;  // the codes whose last event is a key-down

class EndPathTest : public ::testing::Test, protected testing::KeyboardRig {
 protected:
  FakeKeyboardHost host;
  StrokePlayer strokes{output, layout};
  NoPredictor predictor;
  KeyActivator activator{kb, strokes, predictor, env};
  KeyRepeat repeat{host, kb, [this](int k) { activator.ActivateKey(1, k); }};
  KeyDrawing drawing{kb, settings};
  PointerInput pointer{host, kb, drawing, settings, repeat, [this](int k) { activator.ActivateKey(1, k); }};
  std::vector<std::string> scanLog;
  testing::RecordingScan scan{scanLog};
  KeyboardWindow window{host, kb, env, settings, drawing, pointer, &scan};

  void SetUp() override {
    output.journal = testing::FakeKeyOutput::Journal::kRefused;  // strokes go through SendInput
    window.OnCreate(1);
    for (int key : {kCtrl, kShiftLeft, kAlt, kWin}) activator.ActivateKey(1, key);
    ASSERT_EQ(KeysLeftDown(output.sent), (std::vector<uint16_t>{16, 17, 18, 91}));
  }
};

TEST_F(EndPathTest, TheKeyboardWindowGoingAwayReleasesEveryLatchedModifier) {
  window.OnDestroy();
  EXPECT_TRUE(KeysLeftDown(output.sent).empty());
  EXPECT_EQ(scanLog.back(), "stop scan");
}

TEST_F(EndPathTest, TheExitCommandEndsWithTheKeyboardGoneAndNothingHeld) {
  // The exit command destroys the windows and returns from the main loop; the keyboard
  // is the last thing to go, and on its own it still releases what it holds.
  testing::FakeKeyOutput own;
  auto doomed = std::make_unique<Keyboard>(own, layout);
  doomed->keys = kb.keys;
  for (KeyDef& key : doomed->keys) key.latched = false;
  KeyActivator act(*doomed, strokes, predictor, env);
  act.ActivateKey(1, kCtrl);
  act.ActivateKey(1, kShiftLeft);
  ASSERT_EQ(KeysLeftDown(own.sent), (std::vector<uint16_t>{16, 17}));
  doomed.reset();
  EXPECT_TRUE(KeysLeftDown(own.sent).empty());
}

// Writes every key event to stderr, so a test can see what a process sent on its way out.
class PrintingKeyOutput : public testing::FakeKeyOutput {
 public:
  bool SendInput(const std::vector<KeyInputRecord>& records) override {
    for (const KeyInputRecord& r : records) std::fprintf(stderr, " %c%d", r.keyUp ? 'u' : 'd', r.code);
    return FakeKeyOutput::SendInput(records);
  }
};

TEST_F(EndPathTest, ASwitchToALayoutWithAWrongTypeKeepsTheKeyboardAndReleasesTheModifiers) {
  kb.layoutSet[IL_ENGLISH] = "Version = {}\n";  // a global of the wrong type
  const std::vector<KeyDef> keys = kb.keys;
  activator.ActivateKey(1, kLanguageKey);
  EXPECT_EQ(kb.language, IL_KOREAN);
  EXPECT_EQ(kb.keys.size(), keys.size());
  EXPECT_TRUE(KeysLeftDown(output.sent).empty());
}

TEST(EndPathDeathTest, AGuardThatIsGoneLeavesNothingToReleaseAtExit) {
  const auto run = [] {
    {
      testing::KeyboardRig rig;
      PrintingKeyOutput output;
      Keyboard kb(output, rig.layout);
      ModifierReleaseAtExit guard(kb);
    }
    std::fputs("|", stderr);
    std::exit(1);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(1), "u91\\|$");
}

}  // namespace
}  // namespace tessary
