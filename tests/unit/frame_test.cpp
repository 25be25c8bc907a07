#include "ui/frame.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "keyboard_rig.h"
#include "shell/shell.h"
#include "window_fakes.h"

namespace tessary {
namespace {

using testing::FakeFrameHost;
using testing::FakeGlyphPainter;

TEST(FrameZoneTest, ZonesOfATypicalFrame) {
  // f = 4, client 520 × 198, 96 DPI.
  const FrameMetrics m = FrameMetricsFor(96, 4, 520, 198);
  const auto zone = [&m](int32_t x, int32_t y) { return FrameZone(x, y, 520, 198, m); };
  EXPECT_EQ(zone(2, 2), ZONE_TOPLEFT);
  EXPECT_EQ(zone(10, 10), ZONE_ICON);
  EXPECT_EQ(zone(30, 10), ZONE_NONE);  // between the icon and the drag strip
  EXPECT_EQ(zone(100, 10), ZONE_DRAG);
  EXPECT_EQ(zone(490, 10), ZONE_NONE);  // the buttons' area does not move the window
  EXPECT_EQ(zone(519, 197), ZONE_BOTTOMRIGHT);
  EXPECT_EQ(zone(514, 192), ZONE_BOTTOMRIGHT);  // 6 pixels inside the corner: the grip
  EXPECT_EQ(zone(506, 182), ZONE_NONE);         // x + y 30 from the corner: the keys'
  EXPECT_EQ(zone(2, 100), ZONE_LEFT);
  EXPECT_EQ(zone(7, 100), ZONE_LEFT);    // beside the keys the edges are 8 pixels wide
  EXPECT_EQ(zone(300, 190), ZONE_BOTTOM);
  EXPECT_EQ(zone(2, 194), ZONE_BOTTOMLEFT);
  EXPECT_EQ(zone(518, 2), ZONE_TOPRIGHT);
  EXPECT_EQ(zone(518, 100), ZONE_RIGHT);
  EXPECT_EQ(zone(300, 3), ZONE_TOP);
  EXPECT_EQ(zone(300, 195), ZONE_BOTTOM);
  EXPECT_EQ(zone(300, 100), ZONE_NONE);
  // Extreme points neither overflow nor crash.
  EXPECT_EQ(FrameZone(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, FrameMetricsFor(96, 4, INT32_MAX, INT32_MAX)),
            ZONE_TOPLEFT);
  // So does a layout's letter key of any size: the strip stays within a fifth of the frame.
  EXPECT_EQ(FrameMetricsFor(96, 4, 520, 198, LetterKey{1e300, 1e300, 1e-300, 1e-300}).caption, 39);
}

TEST(FrameZoneTest, CursorsFollowTheSizingEdges) {
  EXPECT_EQ(ZoneCursor(ZONE_LEFT), FrameCursor::kSizeWestEast);
  EXPECT_EQ(ZoneCursor(ZONE_BOTTOM), FrameCursor::kSizeNorthSouth);
  EXPECT_EQ(ZoneCursor(ZONE_TOPLEFT), FrameCursor::kSizeNorthwestSoutheast);
  EXPECT_EQ(ZoneCursor(ZONE_BOTTOMRIGHT), FrameCursor::kSizeNorthwestSoutheast);
  EXPECT_EQ(ZoneCursor(ZONE_BOTTOMLEFT), FrameCursor::kSizeNortheastSouthwest);
  EXPECT_EQ(ZoneCursor(ZONE_DRAG), FrameCursor::kArrow);
  EXPECT_EQ(ZoneCursor(ZONE_ICON), FrameCursor::kArrow);
}

TEST(FrameLayoutTest, ButtonsKeyboardAndBorder) {
  const FrameLayout layout = LayOutFrame(520, 198, FrameMetricsFor(96, 4, 520, 198));
  // The strip is a row of letter keys (24 × 23 here) high, its buttons and grip 24 square.
  EXPECT_EQ(layout.languageButton, (KeyRect{447, 1, 471, 25}));
  EXPECT_EQ(layout.hideButton, (KeyRect{471, 1, 495, 25}));
  EXPECT_EQ(layout.grip, (KeyRect{495, 1, 519, 25}));
  EXPECT_EQ(layout.keyboard, (KeyRect{8, 27, 512, 190}));  // the sizing edges stay the frame's
  EXPECT_EQ(layout.borderOuter, (KeyRect{0, 26, 520, 198}));
  EXPECT_EQ(layout.borderInner, (KeyRect{8, 27, 512, 190}));
  EXPECT_EQ(layout.caption, (KeyRect{0, 0, 520, 26}));
  EXPECT_EQ(layout.lineRight, 519);
  EXPECT_EQ(layout.title, (KeyRect{28, 0, 447, 26}));  // up to the buttons
  EXPECT_EQ(layout.drag, (KeyRect{32, 0, 443, 26}));
}

TEST(FrameLayoutTest, EveryZoneScalesWithTheScreenAndTheStripWithALargeFrame) {
  // 150 %: the default frame is 783 × 300 (client 781 × 298 with a 6-pixel frame).
  const FrameMetrics m = FrameMetricsFor(144, 6, 781, 298);
  EXPECT_EQ(m.caption, 38);
  EXPECT_EQ(m.button, 36);
  EXPECT_EQ(m.edge, 12);
  const FrameLayout layout = LayOutFrame(781, 298, m);
  EXPECT_EQ(layout.grip, (KeyRect{744, 1, 780, 37}));
  EXPECT_EQ(layout.hideButton, (KeyRect{708, 1, 744, 37}));
  EXPECT_EQ(layout.languageButton, (KeyRect{672, 1, 708, 37}));
  EXPECT_EQ(layout.keyboard, (KeyRect{12, 39, 769, 286}));
  EXPECT_EQ(FrameZone(20, 20, 781, 298, m), ZONE_ICON);
  EXPECT_EQ(FrameZone(60, 20, 781, 298, m), ZONE_DRAG);
  EXPECT_EQ(FrameZone(760, 20, 781, 298, m), ZONE_TOPRIGHT);  // the grip
  EXPECT_EQ(FrameZone(10, 150, 781, 298, m), ZONE_LEFT);
  EXPECT_EQ(FrameZone(781 - 9, 298 - 9, 781, 298, m), ZONE_BOTTOMRIGHT);

  // At 96 DPI a frame twice the default size has keys (48 × 48) and a strip twice as
  // high, but a flat frame's strip is never more than a fifth of its height.
  EXPECT_EQ(FrameMetricsFor(96, 4, 1044, 400).caption, 50);
  EXPECT_EQ(FrameMetricsFor(96, 4, 1044, 150).caption, 30);
  EXPECT_EQ(FrameMetricsFor(96, 4, 200, 60).caption, 18);  // small: the design height stands
}

// The caption buttons are at least as large as a letter key of the layout shown, and
// the grip as large as they are, for each layout set that comes with the keyboard, at
// the first start on a 1280 × 800 screen and on a small and a large frame, at 96 and
// 144 DPI; the strip stays one row of keys, within a fifth of the frame.
TEST(FrameLayoutTest, CaptionButtonsAndGripAreAsLargeAsALetterKey) {
  for (const std::string set : {"", "단어예측", "한글 스캔"}) {
    for (int32_t language : {IL_KOREAN, IL_ENGLISH}) {
      testing::KeyboardRig rig;
      if (set.empty()) {
        ReloadLayout(rig.kb, rig.env, kDefaultLayoutName, language);
      } else {
        ASSERT_TRUE(rig.LoadSetFromTree(set, language)) << set;
      }
      for (int32_t dpi : {96, 144}) {
        const int32_t sizing = ScaleForDpi(4, dpi);
        const WindowRect first = FirstStartPlacement({0, 0, 1280, 800}, {0, 0, 522, 200}, dpi);
        // Client sizes: the frame's one-pixel border off.
        const std::pair<int32_t, int32_t> clients[] = {{first.right - first.left - 2, first.bottom - first.top - 2},
                                                       {ScaleForDpi(330, dpi), ScaleForDpi(130, dpi)},
                                                       {ScaleForDpi(1200, dpi), ScaleForDpi(460, dpi)}};
        for (const auto& [w, h] : clients) {
          const FrameMetrics m = FrameMetricsFor(dpi, sizing, w, h, LetterKeyOf(rig.kb));
          const FrameLayout layout = LayOutFrame(w, h, m);
          rig.kb.ScaleKeys(static_cast<uint32_t>(layout.keyboard.right - layout.keyboard.left),
                           static_cast<uint32_t>(layout.keyboard.bottom - layout.keyboard.top));
          const auto a =
              std::find_if(rig.kb.keys.begin(), rig.kb.keys.end(), [](const KeyDef& k) { return k.code == 'A'; });
          ASSERT_NE(a, rig.kb.keys.end());
          const auto wide = [](const KeyRect& r) { return r.right - r.left; };
          const auto high = [](const KeyRect& r) { return r.bottom - r.top; };
          const std::string where =
              set + " " + std::to_string(dpi) + " DPI " + std::to_string(w) + "x" + std::to_string(h);
          for (const KeyRect& button : {layout.languageButton, layout.hideButton}) {
            EXPECT_GE(wide(button), wide(a->rect)) << where;
            EXPECT_GE(high(button), high(a->rect)) << where;
          }
          EXPECT_EQ(wide(layout.grip), wide(layout.hideButton)) << where;
          EXPECT_EQ(high(layout.grip), high(layout.hideButton)) << where;
          EXPECT_EQ(layout.hideButton.right, layout.grip.left) << where;
          const int32_t gripX = (layout.grip.left + layout.grip.right) / 2;
          EXPECT_EQ(FrameZone(gripX, layout.grip.bottom - 2, w, h, m), ZONE_TOPRIGHT) << where;
          EXPECT_LE(layout.title.right, layout.languageButton.left) << where;
          // No more than one row of keys, within the bounds.
          EXPECT_LE(high(layout.hideButton), std::max({wide(a->rect) + 1, high(a->rect) + 1, ScaleForDpi(18, dpi) - 2}))
              << where;
          EXPECT_LE(m.caption, std::max(h / 5, ScaleForDpi(18, dpi))) << where;
        }
      }
    }
  }
}

TEST(FontScalingTest, Wheel) {
  EXPECT_EQ(WheelFontHeight(12, 120), 13);
  EXPECT_EQ(WheelFontHeight(12, -120), 11);
  EXPECT_EQ(WheelFontHeight(2, -120), 2);
  EXPECT_EQ(WheelFontHeight(-30, 120), 2);  // a negative (character) height lands on the floor too
  EXPECT_EQ(WheelFontHeight(INT32_MAX, 120), INT32_MAX);
}

class FrameTest : public ::testing::Test {
 protected:
  FakeFrameHost host;
  Settings settings;
  FakeGlyphPainter painter;
  GlyphButton language{painter}, hide{painter};
  testing::FakeFocusHost desktop;
  FocusKeeper focus{desktop};
  Frame frame{host, settings, language, hide, &focus};
  static constexpr WindowId kEditor = 4242, kOtherEditor = 5151, kFrame = 77, kTaskbar = 9;

  void SetUp() override {
    desktop.kinds = {{kEditor, WindowKind::kApplication}, {kOtherEditor, WindowKind::kApplication},
                     {kFrame, WindowKind::kOwn}, {kTaskbar, WindowKind::kShell}};
    frame.OnCreate(77);
    frame.OnSize(520, 198);
    frame.DrawButtons();
    host.log.clear();
    painter.painted.clear();
  }
};

// A layout set with larger letter keys (the scanning set's) lays the
// frame out again with larger buttons; a layout with the same letter key changes nothing.
TEST_F(FrameTest, TheFrameFollowsTheLetterKeyOfANewLayout) {
  testing::KeyboardRig rig;
  ReloadLayout(rig.kb, rig.env, kDefaultLayoutName, IL_KOREAN);
  frame.FollowKeys(&rig.kb);
  ToggleLanguage(rig.kb, rig.env);
  frame.OnKeysChanged();
  EXPECT_TRUE(host.log.empty());
  ASSERT_TRUE(rig.LoadSetFromTree("한글 스캔", IL_KOREAN));
  frame.OnKeysChanged();
  EXPECT_EQ(host.log, (std::vector<std::string>{"move keyboard (8,32,512,190)", "invalidate frame"}));
  EXPECT_EQ(hide.Rect(), (KeyRect{461, 1, 490, 30}));
  EXPECT_EQ(language.Rect(), (KeyRect{432, 1, 461, 30}));
}

TEST_F(FrameTest, ButtonsArePlacedAndHitOnlyAfterTheirFirstDraw) {
  Frame fresh(host, settings, language, hide);
  GlyphButton undrawn(painter);
  undrawn.Init(77, 0, 0, 17, 16, 'a');
  EXPECT_FALSE(undrawn.Contains(5, 5));
  undrawn.DrawPressed();  // nothing to press before the first draw
  EXPECT_TRUE(painter.painted.empty());

  EXPECT_EQ(language.glyph, 'a');
  EXPECT_EQ(hide.glyph, '0');
  EXPECT_TRUE(language.Contains(447, 1));
  EXPECT_FALSE(language.Contains(471, 1));
  EXPECT_TRUE(hide.Contains(471, 24));
  EXPECT_FALSE(hide.Contains(471, 25));
  EXPECT_FALSE(hide.Contains(495, 10));  // the grip beside it
}

TEST_F(FrameTest, MovingOverAButtonLightsItOnceAndOffOnce) {
  frame.OnMouseMove(460, 5);
  frame.OnMouseMove(461, 6);
  frame.OnMouseMove(300, 10);
  EXPECT_EQ(painter.painted, (std::vector<std::string>{"a hot (447,1,471,25)", "a plain (447,1,471,25)"}));
  EXPECT_EQ(host.log[0], "cursor " + std::to_string(static_cast<int>(FrameCursor::kArrow)));
}

TEST_F(FrameTest, PressesStartMoveResizeOrTheMenu) {
  frame.OnLButtonDown(100, 10);
  frame.OnLButtonDown(10, 10);
  frame.OnLButtonDown(519, 197);
  frame.OnLButtonDown(2, 100);
  frame.OnLButtonDown(300, 100);
  frame.OnLButtonDown(510, 20);  // the grip
  EXPECT_EQ(host.log, (std::vector<std::string>{"move", "tray menu", "resize " + std::to_string(ZONE_BOTTOMRIGHT),
                                                "resize " + std::to_string(ZONE_LEFT),
                                                "resize " + std::to_string(ZONE_TOPRIGHT)}));
}

TEST_F(FrameTest, LanguageButtonSwitchesAndGivesTheFocusBack) {
  host.pointerX = 460;
  host.pointerY = 5;
  desktop.foreground = kFrame;
  frame.OnActivate(true, kEditor);  // the click on the button activated the frame
  EXPECT_EQ(frame.returnWindow(), kEditor);
  frame.OnMouseMove(460, 5);
  frame.OnLButtonDown(460, 5);
  frame.OnLButtonUp(460, 5);
  EXPECT_EQ(painter.painted.back(), "a plain (447,1,471,25)");
  EXPECT_EQ(host.log.back(), "language switch");
  EXPECT_EQ(painter.painted[1], "a pressed (447,1,471,25)");
  // Another program's window: handed the foreground, not merely activated in this one.
  EXPECT_EQ(desktop.handedTo, (std::vector<WindowId>{kEditor}));
}

// Which window gets the focus back: the last application window seen with it, when the
// keyboard, the shell or nobody holds the foreground; nothing when the user went to
// another application meanwhile, or the remembered one is gone.
TEST_F(FrameTest, TheLastApplicationWindowGetsTheFocusBackAfterTheFrameWasUsed) {
  frame.OnFocusReport(kEditor);
  frame.OnFocusReport(kTaskbar);  // the shell is passed through, never remembered
  frame.OnFocusReport(kFrame);
  desktop.foreground = kFrame;
  frame.OnLButtonDown(100, 10);  // the move loop has returned when this does
  desktop.foreground = kFrame;
  frame.OnLButtonDown(2, 100);   // the resize loop
  desktop.foreground = kTaskbar;
  frame.OnLButtonUp(480, 5);     // hidden
  EXPECT_EQ(desktop.handedTo, (std::vector<WindowId>{kEditor, kEditor, kEditor}));

  desktop.foreground = kOtherEditor;  // the user went to another application: it stays
  frame.OnLButtonDown(100, 10);
  EXPECT_EQ(desktop.handedTo.size(), 3u);
  EXPECT_EQ(focus.remembered(), kOtherEditor);

  desktop.kinds.erase(kOtherEditor);  // closed
  desktop.foreground = 0;
  frame.OnLButtonDown(100, 10);
  EXPECT_EQ(desktop.handedTo.size(), 3u);
  EXPECT_EQ(FocusReturnTarget(WindowKind::kOwn, kEditor, WindowKind::kApplication), kEditor);
  EXPECT_EQ(FocusReturnTarget(WindowKind::kNone, kEditor, WindowKind::kApplication), kEditor);
  EXPECT_EQ(FocusReturnTarget(WindowKind::kApplication, kEditor, WindowKind::kApplication), 0u);
  EXPECT_EQ(FocusReturnTarget(WindowKind::kOwn, 0, WindowKind::kNone), 0u);
  // What a window is: this program's own (dialogs and menus too), the shell's (passed
  // through, never typed into), hidden, or an application's.
  EXPECT_EQ(ClassifyWindow(true, true, "#32770"), WindowKind::kOwn);
  EXPECT_EQ(ClassifyWindow(false, true, "Shell_TrayWnd"), WindowKind::kShell);
  EXPECT_EQ(ClassifyWindow(false, true, "Progman"), WindowKind::kShell);
  EXPECT_EQ(ClassifyWindow(false, false, "Notepad"), WindowKind::kNone);
  EXPECT_EQ(ClassifyWindow(false, true, "Notepad"), WindowKind::kApplication);
}

// Dwell mode: ✔ and _ are dwelt on like keys, with the same fill and delay, and a fill
// never completes once the pointer has left its button.
TEST_F(FrameTest, TheCaptionButtonsAreDweltOnLikeKeys) {
  settings.inputMode = IM_DWELL;
  const auto rest = [this](int32_t x, int32_t y, int ticks) {
    host.pointerX = x;
    host.pointerY = y;
    frame.OnMouseMove(x, y);
    for (int tick = 0; tick < ticks; ++tick) frame.OnCaptionDwellTick();
  };
  rest(460, 5, 7);  // one tick short
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "language switch"), 0);
  EXPECT_EQ(painter.painted.back(), "a fill (447,1,471,25) part (447,1,471,25) 55A0FF");  // full
  host.pointerX = 300;  // off the button without a move on the frame
  frame.OnCaptionDwellTick();
  EXPECT_FALSE(host.captionDwellTimer);
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "language switch"), 0);

  rest(460, 5, 8);  // back on it: a new fill, pressed at the eighth tick
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "caption dwell timer 100"), 2);
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "language switch"), 1);
  EXPECT_FALSE(host.captionDwellTimer);
  rest(461, 6, 8);  // once per stay
  rest(460, 5, 8);
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "language switch"), 1);

  rest(300, 5, 0);
  rest(460, 5, 2);
  frame.OnLButtonUp(460, 5);  // a click while it fills: the one press of this stay
  rest(460, 5, 8);
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "language switch"), 2);

  rest(480, 5, 8);  // _
  EXPECT_EQ(host.log.back(), "hide");
  settings.inputMode = IM_CLICK;  // no dwell in the other modes
  rest(460, 5, 0);
  EXPECT_FALSE(host.captionDwellTimer);
}

TEST_F(FrameTest, ActivationElsewhereRepaintsTheCaption) {
  host.pointerX = 100;
  host.pointerY = 100;
  frame.OnActivate(true, 4242);
  EXPECT_EQ(frame.returnWindow(), 0u);
  EXPECT_EQ(host.log, (std::vector<std::string>{"invalidate caption 520"}));
}

// Whatever gains the focus may have been raised over the keyboard: it goes back in
// front (without the activation), unless it is hidden.
TEST_F(FrameTest, AFocusChangeElsewherePutsTheVisibleFrameBackInFront) {
  frame.OnFocusReport(kEditor);
  frame.OnActivate(false, kEditor);
  EXPECT_EQ(host.inFront, 2);
  frame.OnLButtonUp(480, 5);  // hidden
  frame.OnFocusReport(kOtherEditor);
  EXPECT_EQ(host.inFront, 2);
}

TEST_F(FrameTest, HideButtonHidesTheFrame) {
  frame.OnLButtonUp(480, 5);
  EXPECT_EQ(host.log, (std::vector<std::string>{"hide"}));
  EXPECT_TRUE(desktop.handedTo.empty());  // nothing seen yet: nothing to hand back
  frame.OnLButtonUp(300, 5);  // elsewhere: nothing
  EXPECT_EQ(host.log.size(), 1u);
}

TEST_F(FrameTest, WheelChangesTheFontHeightWithAFloor) {
  settings.labelFont.lfHeight = 3;
  frame.OnMouseWheel(-120);
  frame.OnMouseWheel(-120);
  EXPECT_EQ(settings.labelFont.lfHeight, 2);
  frame.OnMouseWheel(240);
  EXPECT_EQ(settings.labelFont.lfHeight, 3);
  EXPECT_EQ(host.log.back(), "invalidate frame");
}

TEST_F(FrameTest, ImeStateGoesOnByTheDetectionMethod) {
  frame.OnImeState(1);
  settings.imeDetectMethod = IDM_IMG;
  frame.OnImeState(0);
  frame.OnReloadLayout();
  EXPECT_EQ(host.log, (std::vector<std::string>{"ime state 1", "image detection 2000", "reload layout",
                                                "title note timer 2500", "invalidate caption 520"}));
  // The title strip names the chosen set for a moment.
  EXPECT_EQ(frame.titleNote(), settings.kbdName);
  frame.OnTitleNoteTick();
  EXPECT_EQ(frame.titleNote(), "");
  EXPECT_EQ(host.log.back(), "invalidate caption 520");
}

TEST_F(FrameTest, TranslucentOnlyWhileThePointerIsAway) {
  frame.StartTransparency();
  EXPECT_EQ(host.log, (std::vector<std::string>{"transparency timer 100"}));
  EXPECT_TRUE(frame.transparencyRunning());
  host.pointerX = 600;
  frame.OnTransparencyTick();
  EXPECT_TRUE(host.layered);
  EXPECT_EQ(host.alpha, 80);
  host.pointerX = 519;  // the right edge of the client area is still inside
  host.pointerY = 197;
  frame.OnTransparencyTick();
  EXPECT_FALSE(host.layered);
  host.pointerX = 520;
  host.visible = false;  // hidden: nothing changes
  frame.OnTransparencyTick();
  EXPECT_FALSE(host.layered);
  host.visible = true;
  frame.OnTransparencyTick();
  EXPECT_TRUE(host.layered);

  // Turned off while translucent: opaque at once.
  frame.StopTransparency();
  EXPECT_FALSE(host.layered);
  EXPECT_FALSE(frame.transparencyRunning());
  EXPECT_EQ(host.log.back(), "kill transparency timer");

  // A resize makes the frame opaque.
  host.layered = true;
  frame.OnSize(520, 198);
  EXPECT_FALSE(host.layered);
  EXPECT_EQ(host.alpha, 255);
}

TEST_F(FrameTest, AnotherMonitorsDensityTakesTheSuggestedRectangle) {
  host.dpi = 144;
  frame.OnCreate(77);
  EXPECT_EQ(frame.dpi(), 144);
  frame.OnDpiChanged(96, {10, 20, 532, 220});
  EXPECT_EQ(frame.dpi(), 96);
  EXPECT_EQ(host.log, (std::vector<std::string>{"frame rect (10,20,532,220)", "invalidate frame"}));
  frame.OnDpiChanged(0, {10, 20, 532, 220});  // no answer: the design density
  EXPECT_EQ(frame.dpi(), 96);
}

TEST_F(FrameTest, TransparencyPeriodIsTruncatedAndSane) {
  settings.transparencyDelay = 250.9;
  frame.StartTransparency();
  settings.transparencyDelay = -5;
  frame.StartTransparency();
  settings.transparencyDelay = 1e30;
  frame.StartTransparency();
  EXPECT_EQ(host.log, (std::vector<std::string>{"transparency timer 250", "transparency timer 100",
                                                "transparency timer 100"}));
  settings.opacity = 900;  // out of range: held at fully opaque
  host.pointerX = -1;
  frame.OnTransparencyTick();
  EXPECT_EQ(host.alpha, 255);
  // A timer that could not be set is not killed later.
  host.timerWorks = false;
  frame.StartTransparency();
  host.log.clear();
  frame.StopTransparency();
  EXPECT_TRUE(host.log.empty());
}

}  // namespace
}  // namespace tessary
