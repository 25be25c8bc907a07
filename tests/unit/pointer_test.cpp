// Key drawing, the keyboard window and its pointer input in click and dwell mode.
#include <gtest/gtest.h>

#include "input/key_activation.h"
#include "keyboard/key_drawing.h"
#include "keyboard_rig.h"
#include "prediction/predictor.h"
#include "ui/keyboard_window.h"
#include "window_fakes.h"

namespace tessary {
namespace {

using testing::FakeKeyboardHost;
using testing::RecordingCanvas;

// Key indices of the built-in Korean layout (design size 510 × 155).
constexpr int kEsc = 0, kQ = 34, kW = 35, kShiftLeft = 66, kShiftRight = 77, kLeft = 87;

TEST(DwellFillTest, LineAndClamping) {
  EXPECT_EQ(DwellFillLine(100, 120, 0.4), 112);
  EXPECT_EQ(DwellFillLine(100, 120, 0.0), 120);
  EXPECT_EQ(DwellFillLine(100, 120, 1.0), 100);
  EXPECT_EQ(DwellFillLine(100, 120, -0.2), 120);
  EXPECT_EQ(DwellFillLine(100, 120, 1.2), 100);
  EXPECT_EQ(DwellFillLine(100, 120, 1e300), 100);  // no overflowing conversion
  EXPECT_EQ(DwellFillLine(100, 121, 0.5), 110);    // 10.5 rounds half up
}

class KeyboardViewTest : public ::testing::Test, protected testing::KeyboardRig {
 protected:
  FakeKeyboardHost host;
  testing::RecordingStrokes strokes;
  NoPredictor predictor;
  KeyActivator activator{kb, strokes, predictor, env};
  std::vector<int> activated;
  KeyRepeat repeat{host, kb, [this](int k) { activator.ActivateKey(1, k); }};
  KeyDrawing drawing{kb, settings};
  PointerInput pointer{host, kb, drawing, settings, repeat, [this](int k) {
                         activated.push_back(k);
                         activator.ActivateKey(1, k);
                       }};
  KeyboardWindow window{host, kb, env, settings, drawing, pointer, nullptr};

  void SetUp() override {
    window.OnCreate(1);
    kb.ScaleKeys(510, 155);  // one pixel per design unit
  }
  // The middle of a key.
  void Centre(int index, int32_t& x, int32_t& y) {
    const KeyRect& r = kb.keys[static_cast<size_t>(index)].rect;
    x = (r.left + r.right) / 2;
    y = (r.top + r.bottom) / 2;
  }
  void Move(int index, int32_t dx = 0) {
    int32_t x, y;
    Centre(index, x, y);
    host.pointerX = x + dx;
    host.pointerY = y;
    pointer.OnMouseMove(x + dx, y);
  }
  void Click(int index) {
    int32_t x, y;
    Centre(index, x, y);
    pointer.OnButtonDown(x, y);
    pointer.OnButtonUp(x, y);
  }
  // Delivers the click the dwell posted, as the message loop would.
  void DeliverPostedClicks() {
    std::vector<FakeKeyboardHost::Click> clicks;
    clicks.swap(host.clicks);
    for (const FakeKeyboardHost::Click& click : clicks) {
      pointer.OnButtonDown(click.x, click.y);
      pointer.OnButtonUp(click.x, click.y);
    }
  }
};

TEST_F(KeyboardViewTest, FullDrawingMakesAFreshFontAndShowsLatchedKeysPressed) {
  RecordingCanvas image;
  settings.labelFont.lfHeight = 15;
  drawing.DrawKeyboard(image, {0, 0, 1020, 310}, settings.bgndColor);
  const int fonts = *image.fontsAlive;
  image.ops.clear();
  drawing.DrawKeyboard(image, {0, 0, 1020, 310}, settings.bgndColor);
  EXPECT_EQ(*image.fontsAlive, fonts);  // the previous label fonts were deleted
  EXPECT_EQ(image.ops[0], "fill (0,0,1020,310) DEEFF7");
  EXPECT_EQ(image.ops[1], "key (4,10,64,54) e5x5 border CC6666 face E6EAD5");  // Esc at double size
  // 65 % of the key's 44 at a label size of 15 is 35; "Esc" at 35 is wider than the key's
  // room (52): rather than shrink to 28 it keeps its height in narrower letters.
  EXPECT_EQ(image.ops[2], "label 'Esc' (4,10,64,54) 000000 font 35 narrow 10");

  // A latched Shift: the pressed colours, the label pushed in, and the Shift view's labels.
  activator.ActivateKey(1, kShiftLeft);
  image.ops.clear();
  drawing.DrawKeyNormal(image, kShiftLeft);
  drawing.DrawKeyNormal(image, kQ);
  const KeyRect shift = kb.keys[kShiftLeft].rect;
  EXPECT_EQ(image.ops[0].substr(image.ops[0].find(" border")), " border CC6666 face E2C2A6");
  EXPECT_EQ(image.ops[1], "label 'Shift' " +
                              testing::RectText({shift.left + 2, shift.top + 2, shift.right, shift.bottom}) +
                              " CC6666 font 35");
  EXPECT_EQ(image.ops[3].substr(0, 10), "label 'ㅃ'");
}

TEST_F(KeyboardViewTest, HoverAndDwellLooks) {
  RecordingCanvas canvas;
  activator.ActivateKey(1, kShiftLeft);
  drawing.DrawKeyHover(canvas, kShiftLeft);
  const KeyRect shift = kb.keys[kShiftLeft].rect;
  EXPECT_EQ(canvas.ops[0].substr(canvas.ops[0].find(" border")), " border 9966FF face CCCCFF");
  // The hover label stays in the rest colour, pushed in because the key is latched.
  EXPECT_EQ(canvas.ops[1], "label 'Shift' " +
                               testing::RectText({shift.left + 2, shift.top + 2, shift.right, shift.bottom}) +
                               " 000000 font 14");  // 65 % of its 22

  // The dwell fill keeps its 5 × 5 corners when the keys are square.
  settings.ellipseWidth = settings.ellipseHeight = 0;
  kb.keys[kQ].rect = {40, 100, 64, 120};
  canvas.ops.clear();
  drawing.DrawDwellProgress(canvas, kQ, 0.4);
  drawing.DrawDwellProgress(canvas, kQ, 0.0);  // nothing filled, the label still drawn
  drawing.DrawKeyNormal(canvas, kQ);
  drawing.DrawKeyHover(canvas, -1);
  drawing.DrawKeyPressed(canvas, 5000);
  EXPECT_EQ(canvas.ops, (std::vector<std::string>{
                            "dwell (40,100,64,120) e5 part (41,113,64,120) 55A0FF",
                            "label 'ㅃ' (40,100,64,120) 000000 font 16",  // the Shift view's label
                            "label 'ㅃ' (40,100,64,120) 000000 font 16",
                            "key (40,100,64,120) e0x0 border CC6666 face E6EAD5",
                            "label 'ㅃ' (40,100,64,120) 000000 font 16",
                        }));
}

TEST_F(KeyboardViewTest, KeyWithAnEmptyLabelDrawsOnlyItsShape) {
  RecordingCanvas canvas;
  kb.keys[kQ].SetAllLabels("");
  drawing.DrawKeyNormal(canvas, kQ);
  ASSERT_EQ(canvas.ops.size(), 1u);
  EXPECT_EQ(canvas.ops[0].substr(0, 3), "key");
}

TEST_F(KeyboardViewTest, ClickDragOffCancelsPressAndRepeat) {
  Move(kQ);
  int32_t x, y;
  Centre(kQ, x, y);
  pointer.OnButtonDown(x, y);
  EXPECT_EQ(activated, (std::vector<int>{kQ}));
  EXPECT_EQ(host.sounds, 1);
  EXPECT_TRUE(host.repeatTimer);
  EXPECT_EQ(pointer.pressedKey, kQ);
  Move(kW);  // drag onto the neighbour
  EXPECT_EQ(pointer.pressedKey, kNoKeyRemembered);
  EXPECT_FALSE(pointer.buttonDown);
  EXPECT_FALSE(host.repeatTimer);
  // Over the neighbour the key is drawn hovered, not pressed.
  const std::string& shape = host.window.ops[host.window.ops.size() - 2];
  EXPECT_EQ(shape.substr(0, 4 + testing::RectText(kb.keys[kW].rect).size()), "key " + testing::RectText(kb.keys[kW].rect));
  EXPECT_NE(shape.find("border 9966FF face CCCCFF"), std::string::npos) << shape;
  const size_t drawn = host.window.ops.size();
  Centre(kW, x, y);
  pointer.OnButtonUp(x, y);  // activates nothing, draws nothing, and is ignored
  EXPECT_EQ(activated, (std::vector<int>{kQ}));
  EXPECT_EQ(host.window.ops.size(), drawn);
}

TEST_F(KeyboardViewTest, ClickDrawsPressedThenHover) {
  Move(kQ);
  host.window.ops.clear();
  Click(kQ);
  EXPECT_NE(host.window.ops.front().find("face E2C2A6"), std::string::npos);  // pressed
  EXPECT_NE(host.window.ops[2].find("face CCCCFF"), std::string::npos);       // hover after release
  EXPECT_EQ(pointer.pressedKey, kNoKeyRemembered);
  EXPECT_EQ(host.log.front(), "hover notice 10");
}

TEST_F(KeyboardViewTest, PressOutsideTheKeysDoesNothing) {
  pointer.OnButtonDown(509, 154);  // the bottom-right corner lies outside every key
  EXPECT_EQ(pointer.pressedKey, kNoKey);
  EXPECT_TRUE(activated.empty());
  EXPECT_EQ(host.sounds, 0);
  EXPECT_FALSE(host.repeatTimer);
  pointer.OnButtonUp(509, 154);
  pointer.OnButtonUp(509, 154);  // a release without a press
  EXPECT_TRUE(activated.empty());
}

TEST_F(KeyboardViewTest, SoundAndRepeatFollowTheSettings) {
  settings.useClickSound = false;
  settings.useKeyRepeat = false;
  Click(kQ);
  EXPECT_EQ(activated.size(), 1u);
  EXPECT_EQ(host.sounds, 0);
  EXPECT_TRUE(std::find(host.log.begin(), host.log.end(), "repeat 50") == host.log.end());
}

TEST_F(KeyboardViewTest, DwellFiresOnceAfterEightTicksAndNotAgainUntilThePointerLeaves) {
  settings.inputMode = IM_DWELL;
  Move(kQ);
  ASSERT_TRUE(host.dwellTimer);  // resting after one move onto the key is enough
  EXPECT_EQ(host.dwellPeriod, 100u);
  Move(kQ, 1);
  pointer.OnDwellTick();
  Move(kQ, 2);  // once the fill runs, moving within the key does not restart it
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "dwell timer 100"), 1);
  for (int tick = 2; tick <= 7; ++tick) pointer.OnDwellTick();
  EXPECT_TRUE(host.clicks.empty());
  // A real click while the dwell runs is ignored.
  Click(kQ);
  EXPECT_TRUE(activated.empty());
  pointer.OnDwellTick();  // the eighth
  EXPECT_FALSE(host.dwellTimer);
  ASSERT_EQ(host.clicks.size(), 1u);
  EXPECT_TRUE(pointer.dwellFired);
  DeliverPostedClicks();
  EXPECT_EQ(activated, (std::vector<int>{kQ}));
  EXPECT_EQ(host.sounds, 1);  // the dwell click sounds like a click
  // The fill showed from the third tick: 20 % ... 100 %, and full at the activation.
  int fills = 0;
  for (const std::string& op : host.window.ops) fills += op.rfind("dwell", 0) == 0;
  EXPECT_EQ(fills, 6);

  // Staying longer does nothing more.
  Move(kQ, 1);
  EXPECT_FALSE(host.dwellTimer);
  // To the next key and rest: that key fires.
  Move(kW);
  Move(kW, 1);
  for (int tick = 0; tick < 8; ++tick) pointer.OnDwellTick();
  DeliverPostedClicks();
  EXPECT_EQ(activated, (std::vector<int>{kQ, kW}));
}

// A fill started on a key never completes once the pointer has left that key or the
// keyboard, even when no move message said so (a quick exit over an edge key).
TEST_F(KeyboardViewTest, DwellNeverCompletesAfterThePointerLeftTheKey) {
  settings.inputMode = IM_DWELL;
  Move(kEsc);
  pointer.OnDwellTick();
  pointer.OnDwellTick();
  host.pointerX = -3;  // out over the edge: no move message on the keyboard
  for (int tick = 0; tick < 8; ++tick) pointer.OnDwellTick();
  EXPECT_FALSE(host.dwellTimer);
  EXPECT_TRUE(host.clicks.empty());
  Move(kEsc);  // back onto the same key: a new fill
  EXPECT_TRUE(host.dwellTimer);
  pointer.OnMouseLeave();  // left the keyboard window
  EXPECT_FALSE(host.dwellTimer);
  for (int tick = 0; tick < 8; ++tick) pointer.OnDwellTick();
  EXPECT_TRUE(host.clicks.empty());
  EXPECT_TRUE(activated.empty());
}

// The click a dwell posts lands where the pointer rests, not at the key's centre.
TEST_F(KeyboardViewTest, DwellPostsTheClickWhereThePointerRests) {
  settings.inputMode = IM_DWELL;
  Move(kQ, 3);
  for (int tick = 0; tick < 8; ++tick) pointer.OnDwellTick();
  ASSERT_EQ(host.clicks.size(), 1u);
  EXPECT_EQ(host.clicks[0].x, host.pointerX);
  EXPECT_EQ(host.clicks[0].y, host.pointerY);
}

TEST_F(KeyboardViewTest, ShiftReleaseAppliesALatchedShiftToOneCharacter) {
  Click(kShiftLeft);
  EXPECT_EQ(kb.view & 1, 1);
  EXPECT_EQ(pointer.shiftKeyIndex, kShiftLeft);
  output.sent.clear();
  Click(kQ);
  EXPECT_EQ(activated, (std::vector<int>{kShiftLeft, kQ, kShiftLeft}));
  EXPECT_EQ(kb.view & 1, 0);
  EXPECT_FALSE(kb.IsLatched(16));
  // The letter went out while Shift was down: the Shift key-up comes after it.
  ASSERT_GE(output.sent.size(), 3u);
  EXPECT_EQ(output.sent.back(), (KeyInputRecord{16, 42, true, false}));
  EXPECT_EQ(output.sent[output.sent.size() - 2].code, 81);

  // A non-character key (the left arrow) leaves Shift on.
  Click(kShiftRight);
  Click(kLeft);
  EXPECT_EQ(activated.back(), kLeft);
  EXPECT_EQ(kb.view & 1, 1);
  EXPECT_TRUE(kb.IsLatched(16));
}

TEST_F(KeyboardViewTest, ShiftReleaseNeverActivatesAKeyThatIsNotAShiftKey) {
  // The Shift view came on without a latched Shift key: nothing is re-activated.
  kb.view = 1;
  Click(kQ);
  EXPECT_EQ(activated, (std::vector<int>{kQ}));
  EXPECT_EQ(kb.view, 1);

  // The remembered index is stale, but another Shift key is latched: that one is released.
  kb.view = 0;
  activator.ActivateKey(1, kShiftRight);  // latched by another way (scan mode, say)
  pointer.shiftKeyIndex = kEsc;
  activated.clear();
  Click(kQ);
  EXPECT_EQ(activated, (std::vector<int>{kQ, kShiftRight}));
  EXPECT_EQ(kb.view & 1, 0);
}

TEST_F(KeyboardViewTest, HoverAndLeaveNotices) {
  Move(kQ);
  EXPECT_EQ(host.log.front(), "hover notice 10");
  pointer.OnMouseHover();
  host.log.clear();
  Move(kW);
  EXPECT_TRUE(host.log.empty() || host.log.front() != "hover notice 10");
  const int before = host.invalidations;
  pointer.OnMouseLeave();
  EXPECT_FALSE(pointer.hoverTracking);
  EXPECT_EQ(host.invalidations, before + 1);
}

TEST_F(KeyboardViewTest, RepaintRestoresTheLookOfTheKeyUnderThePointer) {
  RecordingCanvas screen;
  int32_t x, y;
  Centre(kQ, x, y);
  host.pointerX = x;
  host.pointerY = y;
  pointer.OnButtonDown(x, y);
  window.PaintPointerKey(screen);
  EXPECT_NE(screen.ops[0].find("face E2C2A6"), std::string::npos);
  pointer.OnButtonUp(x, y);
  screen.ops.clear();
  window.PaintPointerKey(screen);
  EXPECT_NE(screen.ops[0].find("face CCCCFF"), std::string::npos);
  host.pointerX = -5;
  screen.ops.clear();
  window.PaintPointerKey(screen);
  EXPECT_TRUE(screen.ops.empty());
}

// The label size rule: a label follows its key's height within the range the label
// size sets, a word key's label takes its key's height, and a label too wide for its
// key shrinks until it fits.
TEST(LabelSizeTest, LabelsFollowTheirKeysWithinTheRangeAndShrinkToFit) {
  const KeyRect letter{0, 0, 30, 30}, tall{0, 0, 30, 50}, tiny{0, 0, 30, 10};
  EXPECT_EQ(PreferredLabelHeight(letter, 12, 96, false), 19);   // 65 % of 30
  EXPECT_EQ(PreferredLabelHeight(tall, 12, 96, false), 32);     // a taller key, a larger label
  EXPECT_EQ(PreferredLabelHeight(tall, 14, 96, false), 37);     // a larger label size
  EXPECT_EQ(PreferredLabelHeight(letter, 12, 144, false), 19);  // the same key on a denser screen
  EXPECT_EQ(PreferredLabelHeight(letter, 12, 96, false, true), 24);  // one character: 80 %
  EXPECT_EQ(PreferredLabelHeight(tiny, 12, 96, false), 6);      // never above the key's room...
  EXPECT_EQ(PreferredLabelHeight({0, 0, 30, 100}, 4, 96, false), 12);  // ...nor three times the size
  EXPECT_EQ(PreferredLabelHeight({0, 0, 30, 10}, 40, 96, false), 6);
  EXPECT_EQ(PreferredLabelHeight({0, 0, 80, 30}, 12, 96, true), 24);    // a word key: its whole room
  const auto measure = [](int32_t h) { return TextExtent{h * 4, h}; };  // four letters of h wide
  EXPECT_EQ(FitLabelHeight(20, {100, 30}, measure), 20);
  EXPECT_EQ(FitLabelHeight(20, {60, 30}, measure), 15);
  EXPECT_EQ(FitLabelHeight(20, {60, 10}, measure), 10);
  EXPECT_EQ(FitLabelHeight(20, {0, 0}, measure), 1);
}

// Whatever the label size and the frame, no label's text is wider or higher than its
// key, in either language and view; the arrows, Backspace, Enter and Tab (and < and >)
// are drawn as symbols inside their keys.
TEST_F(KeyboardViewTest, NoLabelExceedsItsKeyAtAnyLabelSize) {
  class CheckingCanvas : public RecordingCanvas {
   public:
    std::vector<KeyRect> keys;
    int labels = 0, symbols = 0, outside = 0;
    void RoundRect(const KeyRect& r, int32_t, int32_t, uint32_t, uint32_t) override { keys.push_back(r); }
    void DrawLabel(const std::string& text, const KeyRect& r, uint32_t, const Font* font) override {
      const TextExtent e = MeasureLabel(text, font);
      const KeyRect& key = keys.back();
      ++labels;
      if (e.width > key.right - key.left || e.height > key.bottom - key.top || r.right != key.right) ++outside;
    }
    void DrawLines(const std::vector<std::vector<CanvasPoint>>& lines, uint32_t, int32_t) override {
      ++symbols;
      for (const auto& line : lines) {
        for (const CanvasPoint& p : line) outside += keys.back().Contains(p.x, p.y) ? 0 : 1;
      }
    }
  };
  for (const KeyRect client : {KeyRect{0, 0, 300, 110}, KeyRect{0, 0, 624, 196}, KeyRect{0, 0, 1900, 560}}) {
    for (int32_t size = 2; size <= 60; size += 4) {
      for (int language : {IL_KOREAN, IL_ENGLISH}) {
        SetLanguage(kb, env, language);
        for (int view : {0, 1}) {
          kb.view = view;
          settings.labelFont.lfHeight = size;
          CheckingCanvas canvas;
          drawing.DrawKeyboard(canvas, client, settings.bgndColor);
          EXPECT_GT(canvas.labels, 60);
          EXPECT_EQ(canvas.symbols, view == 1 ? 9 : 7);  // with Shift, < and > too
          EXPECT_EQ(canvas.outside, 0) << "size " << size << " width " << client.right;
        }
      }
    }
  }
  // The same for the word prediction and scanning sets, whose word keys show words.
  for (const std::string set : {"단어예측", "한글 스캔"}) {
    for (int language : {IL_KOREAN, IL_ENGLISH}) {
      testing::KeyboardRig rig;
      ASSERT_TRUE(rig.LoadSetFromTree(set, language)) << set;
      rig.kb.ShowCandidates({"가능한", "가져오기", "간격", "together", "ㄱ", "같이", "가방"});
      KeyDrawing setDrawing{rig.kb, rig.settings};
      for (const KeyRect client : {KeyRect{0, 0, 300, 110}, KeyRect{0, 0, 624, 196}, KeyRect{0, 0, 1900, 560}}) {
        for (int32_t size = 2; size <= 60; size += 8) {
          rig.settings.labelFont.lfHeight = size;
          CheckingCanvas canvas;
          setDrawing.DrawKeyboard(canvas, client, rig.settings.bgndColor);
          EXPECT_GT(canvas.labels, 50);
          EXPECT_EQ(canvas.outside, 0) << set << " size " << size << " width " << client.right;
        }
      }
    }
  }
}

TEST_F(KeyboardViewTest, ImeStateIsComparedWithTheLastStateNotTheLanguage) {
  window.OnImeState(IL_KOREAN);
  window.OnRightButtonDown();  // the user switches the keyboard to English by hand
  ASSERT_EQ(kb.language, IL_ENGLISH);
  window.OnImeState(IL_KOREAN);  // another window in the same mode as before
  EXPECT_EQ(kb.language, IL_ENGLISH);
  window.OnImeState(IL_ENGLISH);
  window.OnImeState(IL_KOREAN);
  EXPECT_EQ(kb.language, IL_KOREAN);
}

// Who composes follows the focused window's mode; a focus change, a language switch and a
// click elsewhere end the syllable the keyboard composes; the mark shows while it does.
TEST_F(KeyboardViewTest, TheFocusedWindowDecidesWhoComposesAndEndsTheSyllable) {
  struct Mark : CompositionMark {
    std::vector<bool> shown;
    void ShowCompositionMark(bool on) override { shown.push_back(on); }
  } mark;
  activator.SetCompositionMark(&mark);
  window.activator = &activator;
  settings.hangulComposition = HC_AUTO;
  int r = 0;
  while (kb.keys[static_cast<size_t>(r)].code != 'R') ++r;
  const auto typeR = [&] {
    activator.ActivateKey(1, r);
    return activator.syllable().composing();
  };
  window.OnImeState(1);  // a Korean input method in Hangul mode: it composes
  EXPECT_FALSE(typeR());
  window.OnImeState(-1);  // none
  EXPECT_TRUE(typeR());
  window.OnClickElsewhere();
  EXPECT_FALSE(activator.syllable().composing());
  EXPECT_TRUE(typeR());
  window.OnImeState(-1);  // the focus moved, the mode did not
  EXPECT_FALSE(activator.syllable().composing());
  EXPECT_TRUE(typeR());
  window.OnRightButtonDown();
  EXPECT_FALSE(activator.syllable().composing());
  window.OnImeState(1);
  EXPECT_FALSE(activator.composing());
  EXPECT_EQ(mark.shown, (std::vector<bool>{false, true, true, true, false}));
}

TEST_F(KeyboardViewTest, LanguageStateAndScanHandOffs) {
  std::vector<std::string> log;
  testing::RecordingScan scan{log};
  settings.inputMode = IM_SCAN;
  KeyboardWindow scanning(host, kb, env, settings, drawing, pointer, &scan);
  scanning.OnCreate(9);
  EXPECT_EQ(kb.language, IL_KOREAN);
  scanning.OnImeState(IL_ENGLISH);
  EXPECT_EQ(kb.language, IL_ENGLISH);
  kb.keys[0].SetAllLabels("marker");
  scanning.OnImeState(IL_ENGLISH);  // the same state: no rebuild, but scanning restarts
  EXPECT_EQ(kb.keys[0].ncns, "marker");
  scanning.OnImeState(-1);  // undetermined: stored, nothing switched
  EXPECT_EQ(scanning.lastImeState, -1);
  EXPECT_EQ(kb.language, IL_ENGLISH);
  scanning.OnScanSwitch(1, false);
  scanning.OnRightButtonDown();
  EXPECT_EQ(kb.language, IL_KOREAN);
  scanning.OnReloadLayout();
  EXPECT_EQ(kb.language, IL_KOREAN);
  EXPECT_EQ(log, (std::vector<std::string>{"start scan 9 3000", "stop scan", "start scan 9 3000", "stop scan",
                                           "start scan 9 3000", "stop scan", "start scan 9 3000", "switch",
                                           "stop scan", "start scan 9 3000"}));
}

}  // namespace
}  // namespace tessary
