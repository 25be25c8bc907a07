#include "ui/frame.h"

#include <cmath>

#include "config/settings.h"
#include "platform/window_messages.h"
#include "ui/keyboard_window.h"

namespace tessary {

LetterKey LetterKeyOf(const Keyboard& keyboard) {
  if (keyboard.width <= 0 || keyboard.height <= 0) return {};
  for (const KeyDef& key : keyboard.keys) {
    if (key.code == 'A' && key.pos.width > 0 && key.pos.height > 0) {
      return {key.pos.width, key.pos.height, static_cast<double>(keyboard.width),
              static_cast<double>(keyboard.height)};
    }
  }
  return {};
}

namespace {
// A key's pixels as the keyboard scales it: `units` of a `layoutUnits` area drawn in
// `pixels`, rounded to the nearest pixel.
// A layout's key may be any size: the answer stays within a billion pixels.
int64_t KeyPixels(int64_t pixels, double units, double layoutUnits) {
  if (pixels <= 0 || !(layoutUnits > 0) || !(units > 0)) return 0;
  const double v = static_cast<double>(pixels) / layoutUnits * units + 0.5;
  return v < 1e9 ? static_cast<int64_t>(v) : 1000000000;
}
}  // namespace

FrameMetrics FrameMetricsFor(int32_t dpi, int32_t sizingFrame, int32_t w, int32_t h, const LetterKey& letter) {
  FrameMetrics m;
  m.side = sizingFrame > 0 ? sizingFrame : 1;
  const int32_t edge = ScaleForDpi(8, dpi);
  m.edge = edge > m.side ? edge : m.side;
  // The keys take the client area less the edges and the strip with its line.
  const int64_t width = w > 0 ? w : 0, height = h > 0 ? h : 0;
  const int64_t keyWidth = KeyPixels(width - 2 * m.edge, letter.width, letter.layoutWidth);
  const auto keyHeight = [&](int64_t caption) {
    return KeyPixels(height - caption - 1 - m.edge, letter.height, letter.layoutHeight);
  };
  const int64_t design = ScaleForDpi(18, dpi);
  // The lowest strip whose buttons (two pixels less) are as wide and as high as the key:
  // a higher strip leaves the keys less height, so start from the balance and step up
  // past the rounding.
  const double share = letter.layoutHeight > 0 && letter.height > 0 && letter.height < letter.layoutHeight
                           ? letter.height / letter.layoutHeight
                           : 0;
  int64_t caption = static_cast<int64_t>((share * static_cast<double>(height - 1 - m.edge) + 2) / (1 + share));
  if (caption < keyWidth + 2) caption = keyWidth + 2;
  if (caption < design) caption = design;
  for (int step = 0; step < 8 && caption - 2 < keyHeight(caption); ++step) ++caption;
  const int64_t ceiling = height / 5;
  if (caption > ceiling) caption = ceiling > design ? ceiling : design;
  if (caption > 4096) caption = 4096;
  m.caption = static_cast<int32_t>(caption);
  m.button = m.caption - 2;
  m.corner = 3 * m.edge;
  return m;
}

int32_t FrameZone(int32_t x, int32_t y, int32_t w, int32_t h, const FrameMetrics& m) {
  // Beside the caption strip the edges are the system's thin frame, so the icon and
  // the buttons keep their width; beside and below the keys they are `edge` wide.
  const int32_t side = y < m.caption ? m.side : m.edge;
  const int32_t top = m.side, bottom = m.edge;
  const FrameLayout layout = LayOutFrame(w, h, m);
  int32_t zone;
  if (layout.grip.Contains(x, y)) {
    zone = ZONE_TOPRIGHT;  // the grip: as large as a button, and sizing like the corner it sits in
  } else if (x < side) {
    zone = y <= top ? ZONE_TOPLEFT : (y < h - bottom ? ZONE_LEFT : ZONE_BOTTOMLEFT);
  } else if (x >= w - side) {
    zone = y <= top ? ZONE_TOPRIGHT : (y < h - bottom ? ZONE_RIGHT : ZONE_NONE);
  } else if (y <= top) {
    zone = ZONE_TOP;
  } else if (y >= h - bottom) {
    zone = ZONE_BOTTOM;
  } else if (layout.drag.Contains(x, y)) {
    zone = ZONE_DRAG;
  } else if (KeyRect{m.side, 0, m.button + 4, m.caption}.Contains(x, y)) {
    zone = ZONE_ICON;
  } else {
    zone = ZONE_NONE;
  }
  // The bottom-right corner is easy to catch too. In 64 bits, so no coordinate can
  // overflow the sum.
  if (static_cast<int64_t>(w) - x + static_cast<int64_t>(h) - y < m.corner) zone = ZONE_BOTTOMRIGHT;
  return zone;
}

FrameCursor ZoneCursor(int32_t zone) {
  switch (zone) {
    case ZONE_LEFT:
    case ZONE_RIGHT:
      return FrameCursor::kSizeWestEast;
    case ZONE_TOP:
    case ZONE_BOTTOM:
      return FrameCursor::kSizeNorthSouth;
    case ZONE_TOPLEFT:
    case ZONE_BOTTOMRIGHT:
      return FrameCursor::kSizeNorthwestSoutheast;
    case ZONE_TOPRIGHT:
    case ZONE_BOTTOMLEFT:
      return FrameCursor::kSizeNortheastSouthwest;
    default:
      return FrameCursor::kArrow;
  }
}

FrameLayout LayOutFrame(int32_t w, int32_t h, const FrameMetrics& m) {
  FrameLayout layout;
  // From the right: the grip, _ and the language button, squares of `button` side, one
  // pixel inside the strip. In 64 bits: a huge button on a narrow frame goes off its
  // left, but no coordinate wraps.
  const auto at = [&m](int64_t right) {
    const auto clamp = [](int64_t v) { return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v); };
    return KeyRect{clamp(right - m.button), 1, clamp(right), 1 + m.button};
  };
  layout.grip = at(static_cast<int64_t>(w) - 1);
  layout.hideButton = at(layout.grip.left);
  layout.languageButton = at(layout.hideButton.left);
  layout.keyboard = {m.edge, m.caption + 1, w - m.edge, h - m.edge};
  layout.borderOuter = {0, m.caption, w, h};
  layout.borderInner = layout.keyboard;
  layout.caption = {0, 0, w, m.caption};
  layout.lineLeft = 1;
  layout.lineRight = w - 1;
  layout.lineY = m.caption;
  const int32_t titleLeft = m.button + 4;
  layout.title = {titleLeft, 0, layout.languageButton.left, m.caption};
  const int32_t buttonsLeft = layout.languageButton.left;
  layout.drag = {m.side + titleLeft, 0, buttonsLeft < INT32_MIN + 4 ? INT32_MIN : buttonsLeft - 4, m.caption};
  return layout;
}

int32_t WheelFontHeight(int32_t current, int16_t wheelDelta) {
  int64_t height = static_cast<int64_t>(current) + (wheelDelta > 0 ? 1 : -1);
  if (height < 2) height = 2;
  if (height > INT32_MAX) height = INT32_MAX;
  return static_cast<int32_t>(height);
}

FrameMetrics Frame::Metrics() {
  int32_t w = 0, h = 0;
  host_.ClientSize(w, h);
  return MetricsFor(w, h);
}

FrameMetrics Frame::MetricsFor(int32_t w, int32_t h) {
  return FrameMetricsFor(dpi_, host_.SizingFrame(), w, h, keys_ != nullptr ? LetterKeyOf(*keys_) : LetterKey{});
}

void Frame::OnKeysChanged() {
  if (keys_ == nullptr || LetterKeyOf(*keys_) == laidOutFor_) return;
  int32_t w = 0, h = 0;
  host_.ClientSize(w, h);
  if (w > 0 && h > 0) OnSize(w, h);  // else its first size lays it out
}

void Frame::OnCreate(WindowId frame) {
  dpi_ = host_.Dpi();
  languageButton_.Init(frame, 0, 0, 0, 0, kLanguageGlyph);
  hideButton_.Init(frame, 0, 0, 0, 0, kHideGlyph);
}

void Frame::OnSize(int32_t w, int32_t h) {
  if (host_.IsLayered()) {
    // Opaque while it is resized.
    host_.SetLayered(false);
    host_.SetAlpha(255);
  }
  if (keys_ != nullptr) laidOutFor_ = LetterKeyOf(*keys_);
  const FrameLayout layout = LayOutFrame(w, h, MetricsFor(w, h));
  const auto place = [](CaptionButton& button, const KeyRect& r) {
    button.Place(r.left, r.top, r.right - r.left, r.bottom - r.top);
  };
  place(languageButton_, layout.languageButton);
  place(hideButton_, layout.hideButton);
  host_.MoveKeyboardWindow(layout.keyboard);
  // The caption and the border are laid out anew: paint all of them, or a band the
  // frame grew by keeps what was there before.
  host_.InvalidateFrame();
}

void Frame::OnDpiChanged(int32_t dpi, const KeyRect& suggested) {
  dpi_ = dpi > 0 ? dpi : kDesignDpi;
  host_.SetFrameRect(suggested);
  host_.InvalidateFrame();
}

void Frame::DrawButtons() {
  languageButton_.Draw();
  hideButton_.Draw();
}

void Frame::GiveFocusBack() {
  if (focus_ != nullptr) focus_->GiveBack();
  KeepInFront();
}

// Whatever gains the focus may have been raised over the keyboard: a visible keyboard
// takes its place in front again, without the activation.
void Frame::KeepInFront() {
  if (host_.IsVisible()) host_.KeepInFront();
}

void Frame::OnFocusReport(WindowId window) {
  if (focus_ != nullptr) focus_->Seen(window);
  KeepInFront();
}

void Frame::OnActivate(bool clickActivated, WindowId other) {
  // The window on the other side may be the application being typed into.
  if (focus_ != nullptr) focus_->Seen(other);
  KeepInFront();
  int32_t x = 0, y = 0;
  host_.PointerInClient(x, y);
  if (languageButton_.Contains(x, y)) {
    // A click on the language button activated the frame: the window being typed into
    // gets the foreground back once the switch is done.
    if (clickActivated) returnWindow_ = other;
    return;
  }
  int32_t w = 0, h = 0;
  host_.ClientSize(w, h);
  host_.InvalidateCaption(w);
}

void Frame::OnMouseMove(int32_t x, int32_t y) {
  int32_t w = 0, h = 0;
  host_.ClientSize(w, h);
  host_.SetCursor(ZoneCursor(FrameZone(x, y, w, h, MetricsFor(w, h))));
  languageButton_.Track(x, y);
  hideButton_.Track(x, y);
  if (settings_.inputMode != IM_DWELL) return;
  CaptionButton* button = ButtonAt(x, y);
  if (button != dwellButton_) {
    StopCaptionDwell();
    dwellButton_ = button;
    if (button != nullptr) host_.SetCaptionDwellTimer(static_cast<uint32_t>(settings_.dwellDelay) / 5);
  }
}

CaptionButton* Frame::ButtonAt(int32_t x, int32_t y) {
  if (languageButton_.Contains(x, y)) return &languageButton_;
  if (hideButton_.Contains(x, y)) return &hideButton_;
  return nullptr;
}

void Frame::StopCaptionDwell() {
  if (dwellButton_ != nullptr) {
    host_.KillCaptionDwellTimer();
    if (dwellTicks_ > 0) dwellButton_->Draw();  // the fill goes
  }
  dwellButton_ = nullptr;
  dwellTicks_ = -2;
  dwellFired_ = false;
}

void Frame::OnCaptionDwellTick() {
  int32_t x = 0, y = 0;
  host_.PointerInClient(x, y);
  if (dwellButton_ == nullptr || dwellFired_) return;  // a tick already on its way
  if (ButtonAt(x, y) != dwellButton_) {
    // The pointer left the button (or the frame): no press.
    StopCaptionDwell();
    return;
  }
  ++dwellTicks_;
  dwellButton_->DrawDwellProgress(dwellTicks_ * kDwellStep, settings_.dwellFillColor);
  if (dwellTicks_ < kDwellActivationTicks) return;
  if (dwellButton_ == &languageButton_) {
    PressLanguageButton();
  } else {
    PressHideButton();
  }
}

void Frame::OnLButtonDown(int32_t x, int32_t y) {
  int32_t w = 0, h = 0;
  host_.ClientSize(w, h);
  const int32_t zone = FrameZone(x, y, w, h, MetricsFor(w, h));
  // The move and resize loops return when the button is released: the application
  // being typed into then gets the foreground back.
  if (zone == ZONE_DRAG) {
    host_.BeginMove();
    GiveFocusBack();
  } else if (zone == ZONE_ICON) {
    host_.PostOpenTrayMenu();
  } else if (zone >= ZONE_LEFT && zone <= ZONE_BOTTOMRIGHT) {
    host_.BeginResize(zone);
    GiveFocusBack();
  }
  if (languageButton_.Contains(x, y)) languageButton_.DrawPressed();
  if (hideButton_.Contains(x, y)) hideButton_.DrawPressed();
}

void Frame::OnLButtonUp(int32_t x, int32_t y) {
  if (languageButton_.Contains(x, y)) PressLanguageButton();
  if (hideButton_.Contains(x, y)) PressHideButton();
}

void Frame::EndCaptionDwellStay() {
  // One press per stay on a button, by dwell or by click, as on a key.
  if (dwellButton_ == nullptr) return;
  host_.KillCaptionDwellTimer();
  dwellFired_ = true;
  dwellTicks_ = -2;
}

void Frame::PressLanguageButton() {
  EndCaptionDwellStay();
  host_.SendLanguageSwitch();
  languageButton_.Track(0, 0);
  // The foreground goes back to the application that had it, which may be another
  // program's window: activating `returnWindow` within this program would not reach it.
  GiveFocusBack();
}

void Frame::PressHideButton() {
  EndCaptionDwellStay();
  host_.HideFrame();
  hideButton_.Track(0, 0);
  GiveFocusBack();
}

void Frame::OnMouseWheel(int16_t delta) {
  settings_.labelFont.lfHeight = WheelFontHeight(settings_.labelFont.lfHeight, delta);
  host_.InvalidateFrame();
}

void Frame::OnImeState(int32_t state) {
  if (settings_.imeDetectMethod == IDM_CBT) {
    host_.PostImeState(state);
  } else {
    host_.StartImageDetection(static_cast<uint32_t>(settings_.idmImgDelay));
  }
}

void Frame::OnReloadLayout() {
  host_.ForwardReloadLayout();
  titleNote_ = settings_.kbdName;
  host_.SetTitleNoteTimer(kTitleNoteMs);
  int32_t w = 0, h = 0;
  host_.ClientSize(w, h);
  host_.InvalidateCaption(w);
}

void Frame::OnTitleNoteTick() {
  host_.KillTitleNoteTimer();
  titleNote_.clear();
  int32_t w = 0, h = 0;
  host_.ClientSize(w, h);
  host_.InvalidateCaption(w);
}

void Frame::ShowCompositionMark(bool on) {
  if (on == compositionMark_) return;
  compositionMark_ = on;
  int32_t w = 0, h = 0;
  host_.ClientSize(w, h);
  host_.InvalidateCaption(w);
}

void Frame::StartTransparency() {
  // The configured real number truncated toward zero; a negative or out-of-range
  // period (which would wrap to weeks) falls back to the default.
  const double delay = std::trunc(settings_.transparencyDelay);
  const uint32_t period = (delay >= 0 && delay <= 0x7FFFFFFF) ? static_cast<uint32_t>(delay) : 100;
  transparencyTimer_ = host_.SetTransparencyTimer(period);
}

void Frame::StopTransparency() {
  if (transparencyTimer_) {
    host_.KillTransparencyTimer();
    transparencyTimer_ = false;
  }
  host_.SetLayered(false);
}

void Frame::OnTransparencyTick() {
  if (!host_.IsVisible()) return;
  int32_t x = 0, y = 0, w = 0, h = 0;
  host_.PointerInClient(x, y);
  host_.ClientSize(w, h);
  if (KeyRect{0, 0, w, h}.Contains(x, y)) {
    host_.SetLayered(false);
  } else {
    host_.SetLayered(true);
    const int32_t opacity = settings_.opacity;
    host_.SetAlpha(static_cast<uint8_t>(opacity < 0 ? 0 : (opacity > 255 ? 255 : opacity)));
  }
}

}  // namespace tessary
