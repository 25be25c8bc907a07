#include "input/key_activation.h"

#include <gtest/gtest.h>

#include "config/settings.h"
#include "fakes.h"
#include "input/key_repeat.h"
#include "input/scan.h"
#include "keyboard/keyboard_model.h"
#include "keyboard_rig.h"
#include "layout/layout_loader.h"
#include "platform/key_codes.h"
#include "posix/us_layout.h"
#include "prediction/predictor.h"

namespace tessary {
namespace {

using testing::FakeFileSystem;
using testing::FakeKeyOutput;
using testing::RecordingMessageBoxes;
using testing::RecordingStrokes;
using testing::TestTextResources;

class FakePredictor : public Predictor {
 public:
  std::vector<std::string> typed;
  std::vector<std::pair<int32_t, int32_t>> keys;
  std::vector<std::string> next;
  std::string wordStrokes(const std::string& word) override { return "w:" + word; }
  std::u16string wordText(const std::string& word) override { return word == "가게" ? u"가게" : u""; }
  void wordTyped(const std::string& word) override { typed.push_back(word); }
  bool offersTypedWord = false;
  void offerTypedWord(bool on) override { offersTypedWord = on; }
  std::vector<std::string> onKey(int32_t code, int32_t shift) override {
    keys.push_back({code, shift});
    return next;
  }
};

// Key indices of the built-in layouts.
constexpr int kCtrl = 79, kAlt = 80, kWin = 81, kShiftLeft = 66, kShiftRight = 77, kCaps = 50,
              kScroll = 14, kLeft = 87, kHangul = 83, kCopy = 63, kQ = 34, kLanguageKey = 65;

class ActivationTest : public ::testing::Test, protected testing::KeyboardRig {
 protected:
  void SetUp() override {
    ReloadLayout(kb, env, kDefaultLayoutName, IL_KOREAN);
    output.sent.clear();
    output.log.clear();
  }
  // The SendInput calls as words: "d16" key down, "u16" key up, "s37" a keystroke of two
  // records in one call ("s37x": extended).
  std::string Sent() {
    std::string out;
    size_t next = 0;
    for (const std::string& call : output.log) {
      if (call.rfind("SendInput ", 0) != 0) continue;
      const size_t n = std::stoul(call.substr(10));
      const KeyInputRecord& r = output.sent[next];
      if (!out.empty()) out += ' ';
      if (n == 2) {
        out += "s" + std::to_string(r.code) + (r.extended ? "x" : "");
      } else {
        out += (r.keyUp ? "u" : "d") + std::to_string(r.code) + (r.extended ? "x" : "");
      }
      next += n;
    }
    output.sent.clear();
    output.log.clear();
    return out;
  }
  void Activate(int index) { activator.ActivateKey(42, index); }

  RecordingStrokes strokes;
  FakePredictor predictor;
  KeyActivator activator{kb, strokes, predictor, env};
};

TEST_F(ActivationTest, NegativeIndicesDoNothing) {
  Activate(-1);
  Activate(-2);
  Activate(90);
  EXPECT_EQ(Sent(), "");
  EXPECT_TRUE(predictor.keys.empty());
}

TEST_F(ActivationTest, BothShiftKeysShareOneLatchAndTheView) {
  Activate(kShiftLeft);
  EXPECT_EQ(Sent(), "d16");
  EXPECT_EQ(kb.view, 1);
  EXPECT_TRUE(kb.keys[kShiftLeft].latched);
  Activate(kQ);
  EXPECT_EQ(Sent(), "s81");
  Activate(kShiftRight);
  EXPECT_EQ(Sent(), "u16");
  EXPECT_EQ(kb.view, 0);
  EXPECT_FALSE(kb.keys[kShiftLeft].latched || kb.keys[kShiftRight].latched);
}

TEST_F(ActivationTest, CtrlAltAndWinLatchWithoutExtendedFlags) {
  Activate(kCtrl);
  Activate(kAlt);
  Activate(kWin);
  EXPECT_EQ(Sent(), "d17 d18 d91");
  EXPECT_TRUE(kb.keys[kCtrl].latched && kb.keys[kAlt].latched && kb.keys[kWin].latched);
  Activate(kWin);
  Activate(kAlt);
  Activate(kCtrl);
  EXPECT_EQ(Sent(), "u91 u18 u17");
  EXPECT_FALSE(kb.IsLatched(17) || kb.IsLatched(18) || kb.IsLatched(91));
  EXPECT_EQ(kb.view, 0);
}

TEST_F(ActivationTest, LockKeysSendTheirKeystrokeAndFlipTheirLatch) {
  Activate(kCaps);
  EXPECT_EQ(Sent(), "s20");
  EXPECT_EQ(kb.view, 2);
  EXPECT_TRUE(kb.keys[kCaps].latched);
  Activate(kCaps);
  EXPECT_EQ(kb.view, 0);
  EXPECT_FALSE(kb.keys[kCaps].latched);
  Activate(kScroll);
  EXPECT_EQ(Sent(), "s20 s145");
  EXPECT_TRUE(kb.keys[kScroll].latched);
  EXPECT_EQ(kb.view, 0);
}

TEST_F(ActivationTest, ExtendedKeysAndMacros) {
  Activate(kLeft);
  EXPECT_EQ(Sent(), "s37x");
  Activate(kCopy);
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(strokes.sent, std::vector<std::string>{"^c"});
}

TEST_F(ActivationTest, TheHangulKeySwitchesLanguageAndResetsTheModifiers) {
  Activate(kCaps);
  Sent();
  Activate(kHangul);
  EXPECT_EQ(Sent(), "s21 s20 u17 u16 u18 u91");
  EXPECT_EQ(kb.language, IL_ENGLISH);
  EXPECT_EQ(kb.view, 0);
  EXPECT_FALSE(kb.IsLatched(20));  // the new keys start unlatched
  Activate(kLanguageKey);  // code 135: the keyboard's own switch, no keystroke of it
  EXPECT_EQ(kb.language, IL_KOREAN);
  EXPECT_EQ(Sent(), "s135 u17 u16 u18 u91");
  kb.language = 7;
  Activate(kHangul);
  EXPECT_EQ(Sent(), "s21");
}

TEST_F(ActivationTest, FlagsOnOtherKeys) {
  KeyDef modifier;
  modifier.code = 17;  // Ctrl without TK_TOGGLE: down every time, never up
  KeyDef viewer;
  viewer.code = 65;
  viewer.type = TK_CHANGEVIEW;
  KeyDef shifted;
  shifted.code = 66;
  shifted.type = TK_SHIFT;
  shifted.stroke = "+";
  KeyDef shiftedMacro;
  shiftedMacro.code = 0;
  shiftedMacro.type = TK_SHIFT | TK_MACRO;
  shiftedMacro.stroke = "x";
  KeyDef word;
  word.code = 9;
  word.type = TK_STRING;
  word.ncns = "하나";
  word.ncys = "둘";
  kb.keys = {modifier, viewer, shifted, shiftedMacro, word};
  kb.prediction = false;
  Activate(0);
  Activate(0);
  EXPECT_EQ(Sent(), "d17 d17");
  Activate(1);
  EXPECT_EQ(kb.view, 0);
  Sent();
  Activate(2);
  EXPECT_EQ(strokes.sent, std::vector<std::string>{"+"});
  EXPECT_EQ(Sent(), "s66");
  Activate(3);
  EXPECT_EQ(strokes.sent, (std::vector<std::string>{"+", "x", "x"}));
  EXPECT_EQ(Sent(), "");
  kb.view = 1;
  Activate(4);
  EXPECT_EQ(predictor.typed, std::vector<std::string>{"둘"});
  EXPECT_EQ(strokes.sent.back(), "w:둘");  // the predictor's strokes, through the player
  EXPECT_EQ(Sent(), "");  // no keystroke of its own code
  EXPECT_TRUE(predictor.keys.empty());  // prediction is off
}

TEST_F(ActivationTest, PredictionSeesTheKeyAndItsShiftAndTheWordKeysShowOnlyItsList) {
  KeyDef shifted;
  shifted.code = 66;
  shifted.type = TK_SHIFT;
  KeyDef plain;
  plain.code = 65;
  KeyDef slot;
  slot.type = TK_STRING;
  slot.SetAllLabels("old");
  kb.keys = {shifted, plain, slot};
  kb.prediction = true;
  predictor.next = {"가다"};
  Activate(0);
  EXPECT_EQ(kb.keys[2].ncns, "가다");
  // Shift keeps the word going and the keys what they show.
  KeyDef shift;
  shift.code = kShiftKey;
  shift.type = TK_CHANGEVIEW;
  kb.keys.push_back(shift);
  predictor.next = {};
  Activate(3);
  EXPECT_EQ(kb.keys[2].ncns, "가다");
  // Nothing matches: the keys show nothing old, so none can be chosen by mistake.
  Activate(1);
  EXPECT_EQ(kb.keys[2].ncns, "");
  EXPECT_EQ(predictor.keys, (std::vector<std::pair<int32_t, int32_t>>{{66, 1}, {kShiftKey, 0}, {65, 1}}));
  Activate(3);  // the view back
  // A word key without a word (" " until the first prediction) types nothing and keeps
  // the word going.
  kb.keys[2].SetAllLabels(" ");
  Activate(2);
  EXPECT_TRUE(predictor.typed.empty());
  EXPECT_EQ(predictor.keys.size(), 4u);
  // A chosen word with no candidates after it clears the word keys.
  kb.keys[2].SetAllLabels("가다");
  Activate(2);
  EXPECT_EQ(predictor.typed, std::vector<std::string>{"가다"});
  EXPECT_EQ(kb.keys[2].ncns, "");
}

// What reached the application while the keyboard composed: its Backspaces, its text and
// its Spaces, applied in order.
std::u16string Screen(const FakeKeyOutput& output) {
  std::u16string screen;
  size_t record = 0, text = 0;
  for (const std::string& call : output.log) {
    if (call.rfind("SendText ", 0) == 0) screen += output.texts[text++];
    if (call.rfind("SendInput ", 0) != 0) continue;
    for (size_t n = std::stoul(call.substr(10)); n > 0; --n) {
      const KeyInputRecord& r = output.sent[record++];
      if (r.keyUp) continue;
      if (r.code == kBackspaceKey && !screen.empty()) screen.pop_back();
      if (r.code == kSpaceKey) screen += u' ';
    }
  }
  return screen;
}

TEST_F(ActivationTest, ComposingSendsSyllablesAsTextAndAWordReplacesWhatWasTyped) {
  const auto keyOf = [this](int32_t code) {
    for (size_t i = 0; i < kb.keys.size(); ++i) {
      if (kb.keys[i].code == code) return static_cast<int>(i);
    }
    return -1;
  };
  const auto type = [&](std::string_view keys) {
    for (char c : keys) Activate(keyOf(c == ' ' ? kSpaceKey : c == '<' ? kBackspaceKey : c));
  };
  KeyDef word;
  word.type = TK_STRING;
  word.SetAllLabels("가게");
  kb.keys.push_back(word);
  kb.prediction = true;
  activator.SetComposing(true);
  type("EKFR<RDL");  // 닭, Backspace inside it, then 닭이
  EXPECT_EQ(Screen(output), u"닭이");
  predictor.next = {"가게"};  // what the word keys show after 가
  type(" RK");
  Activate(static_cast<int>(kb.keys.size()) - 1);  // the word key after 가
  EXPECT_EQ(Screen(output), u"닭이 가게");
  EXPECT_EQ(predictor.typed, std::vector<std::string>{"가게"});
  EXPECT_EQ(strokes.sent, std::vector<std::string>{});  // nothing for an input method to compose
  // Prediction saw the keys as ever; Shift gives the shifted jamo.
  EXPECT_EQ(predictor.keys.front(), (std::pair<int32_t, int32_t>{'E', 0}));
  Activate(kShiftLeft);
  type("R");
  Activate(kShiftLeft);
  type("K");
  EXPECT_EQ(Screen(output), u"닭이 가게까");
  // With Ctrl down a letter is a shortcut; back to the input method, letters are keys.
  output.log.clear();
  output.sent.clear();
  const size_t texts = output.texts.size();
  Activate(kCtrl);
  type("K");
  Activate(kCtrl);
  activator.SetComposing(false);
  type("K");
  EXPECT_EQ(Sent(), "d17 s75 u17 s75");
  EXPECT_EQ(output.texts.size(), texts);
}

// A layout whose word keys type a space after the word (a scanning layout: no Space to
// choose after each word): a closing mark chosen next takes the space's place, and the
// scan goes on as at a word end.
TEST_F(ActivationTest, WordKeysThatTypeASpaceLetAClosingMarkGoBeforeIt) {
  KeyDef word;
  word.type = TK_STRING;
  word.SetAllLabels("가게");
  KeyDef period;
  period.code = 0xBE;
  period.SetAllLabels(".");
  kb.keys = {word, period};
  kb.prediction = true;
  kb.spaceAfterWord = true;
  Activate(0);
  EXPECT_EQ(strokes.sent, std::vector<std::string>{"w:가게 "});  // the letters, then the space
  EXPECT_TRUE(predictor.offersTypedWord);  // a word typed in full is a choice: its space
  EXPECT_EQ(NextSyllablePlace(kAfterVowel, kb, 0), kAtWordEnd);
  Activate(1);
  EXPECT_EQ(Sent(), "s8 s190");
  Activate(1);  // no space to take back
  EXPECT_EQ(Sent(), "s190");

  output.texts.clear();
  kb.keys[0].SetAllLabels("가게");  // prediction blanked it
  activator.SetComposing(true);  // the keyboard composes: the word as text, then a Space
  Activate(0);
  EXPECT_EQ(Screen(output), u"가게 ");
  Activate(1);
  EXPECT_EQ(Screen(output), u"가게");
  EXPECT_EQ(output.sent.back().code, 0xBE);
}

TEST(HangulCompositionTest, AutomaticComposesUnlessAnInputMethodIsInHangulMode) {
  EXPECT_TRUE(KeyboardComposes(HC_AUTO, -1));  // no input context (and before any report)
  EXPECT_TRUE(KeyboardComposes(HC_AUTO, 0));   // none in Hangul mode: the keys would stay Latin
  EXPECT_FALSE(KeyboardComposes(HC_AUTO, 1));
  EXPECT_TRUE(KeyboardComposes(HC_KEYBOARD, 1));
  EXPECT_FALSE(KeyboardComposes(HC_IME, -1));
  EXPECT_FALSE(KeyboardComposes(7, -1));
}

// The keyboard window's side of the repeat, driven by the test's own clock.
class FakeRepeatHost : public RepeatHost {
 public:
  bool timer = false;
  uint32_t period = 0;
  int32_t x = 0, y = 0;
  int invalidated = 0;
  void SetRepeatTimer(uint32_t ms) override {
    timer = true;
    period = ms;
  }
  void KillRepeatTimer() override { timer = false; }
  void PointerPosition(int32_t& px, int32_t& py) override {
    px = x;
    py = y;
  }
  void InvalidateKeyboard() override { ++invalidated; }
  void DrawDirect(const std::function<void(Canvas&)>&) override {}
  void PlayClickSound() override {}
  void PlayTickSound() override {}
};

class KeyRepeatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KeyDef key;
    key.rect = {0, 0, 10, 10};
    kb.keys = {key};
  }
  // Runs the timer for `ms` of fake time; returns the times of the activations.
  std::vector<uint32_t> Hold(uint32_t delay, double acceleration, uint32_t ms) {
    repeat.StartKeyRepeat(delay, acceleration);
    EXPECT_TRUE(host.timer);
    EXPECT_EQ(host.period, 50u);
    std::vector<uint32_t> times;
    for (now = 50; now <= ms && host.timer; now += 50) {
      const size_t before = activated.size();
      repeat.Tick();
      if (activated.size() > before) times.push_back(now);
    }
    return times;
  }

  FakeKeyOutput output;
  UsEnglishLayout layout;
  Keyboard kb{output, layout};
  FakeRepeatHost host;
  std::vector<int> activated;
  uint32_t now = 0;
  KeyRepeat repeat{host, kb, [this](int index) { activated.push_back(index); }};
};

TEST_F(KeyRepeatTest, RepeatsComeFasterAndFaster) {
  EXPECT_EQ(Hold(300, 1.0, 1000),
            (std::vector<uint32_t>{300, 450, 550, 650, 750, 800, 850, 900, 950, 1000}));
  EXPECT_EQ(activated, std::vector<int>(10, 0));
  EXPECT_EQ(host.invalidated, 10);
}

TEST_F(KeyRepeatTest, ShortDelaysRepeatOnEveryTickAndNoAccelerationKeepsTheDelay) {
  EXPECT_EQ(Hold(30, 1.0, 200), (std::vector<uint32_t>{50, 100, 150, 200}));
  activated.clear();
  EXPECT_EQ(Hold(0, 1.0, 100), (std::vector<uint32_t>{50, 100}));
  EXPECT_EQ(Hold(120, 0.0, 600), (std::vector<uint32_t>{150, 300, 450, 600}));
}

TEST_F(KeyRepeatTest, OddAccelerationsStayDefined) {
  EXPECT_EQ(Hold(100, -5.0, 300).size(), 1u);  // the second step is negative: no more repeats
  EXPECT_EQ(Hold(100, 0.0 / 0.0, 200), (std::vector<uint32_t>{100, 200}));  // as acceleration 0
  EXPECT_EQ(Hold(100, 1.0 / 0.0, 200), (std::vector<uint32_t>{100, 150, 200}));
}

TEST_F(KeyRepeatTest, ThePointerOffEveryKeyActivatesNothingButCounts) {
  host.x = 50;
  Hold(300, 1.0, 450);
  EXPECT_EQ(activated, (std::vector<int>{kNoKey, kNoKey}));
  EXPECT_EQ(repeat.repeats(), 2u);
}

TEST_F(KeyRepeatTest, OnlyKeysThatTypeRepeat) {
  const auto repeatsWhenHeld = [this](int32_t code, int32_t type) {
    kb.keys[0].code = code;
    kb.keys[0].type = type;
    activated.clear();
    Hold(100, 1.0, 300);
    return !activated.empty();
  };
  EXPECT_TRUE(repeatsWhenHeld(65, 0));                 // a letter
  EXPECT_TRUE(repeatsWhenHeld(8, 0));                  // Backspace
  EXPECT_TRUE(repeatsWhenHeld(65, TK_MACRO));          // a macro key types
  EXPECT_FALSE(repeatsWhenHeld(21, 0));                // 한/영
  EXPECT_FALSE(repeatsWhenHeld(135, 0));               // the language key
  EXPECT_FALSE(repeatsWhenHeld(16, TK_TOGGLE | TK_CHANGEVIEW));
  EXPECT_FALSE(repeatsWhenHeld(17, 0));                // Ctrl without its flags
  EXPECT_FALSE(repeatsWhenHeld(20, TK_TOGGLE | TK_CHANGEVIEW));  // Caps Lock
  EXPECT_FALSE(repeatsWhenHeld(0, TK_STRING));         // a word key
  EXPECT_EQ(repeat.repeats(), 5u);  // the steps count all the same
}

TEST_F(KeyRepeatTest, StoppingEndsTheTimerAndALateTickDoesNothing) {
  repeat.StartKeyRepeat(50, 1.0);
  repeat.Tick();
  repeat.StopKeyRepeat();
  EXPECT_FALSE(host.timer);
  repeat.Tick();
  EXPECT_EQ(activated.size(), 1u);
  // Starting again begins with fresh counters.
  EXPECT_EQ(Hold(300, 1.0, 300), std::vector<uint32_t>{300});
}

}  // namespace
}  // namespace tessary
