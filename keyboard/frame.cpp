#include "keyboard/frame.h"

#include <cmath>

#include "keyboard/keyboard_window.h"
#include "shell/settings.h"
#include "shell/shell.h"

namespace tessary {

namespace {
bool InRect(int32_t x, int32_t y, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  return left <= x && x < right && top <= y && y < bottom;
}
}  // namespace

int32_t FrameZone(int32_t x, int32_t y, int32_t w, int32_t h, int32_t f) {
  int32_t zone;
  if (x <= f) {
    zone = y <= f ? ZONE_TOPLEFT : (y < h - f ? ZONE_LEFT : ZONE_BOTTOMLEFT);
  } else if (x >= w - f) {
    zone = y <= f ? ZONE_TOPRIGHT : (y <= h - f ? ZONE_RIGHT : ZONE_NONE);
  } else if (y <= f) {
    zone = ZONE_TOP;
  } else if (y >= h - f) {
    zone = ZONE_BOTTOM;
  } else if (InRect(x, y, f + 20, 0, w - 40, kCaptionHeight)) {
    zone = ZONE_DRAG;
  } else if (InRect(x, y, f, 0, 20, kCaptionHeight)) {
    zone = ZONE_ICON;
  } else {
    zone = ZONE_NONE;
  }
  // The diagonal grip: the bottom-right corner is easy to catch. In 64 bits, so no
  // coordinate can overflow the sum.
  if (static_cast<int64_t>(w) - x + static_cast<int64_t>(h) - y < 12) zone = ZONE_BOTTOMRIGHT;
  return zone;
}

uint32_t ZoneCursor(int32_t zone) {
  switch (zone) {
    case ZONE_LEFT:
    case ZONE_RIGHT:
      return 32644;  // IDC_SIZEWE
    case ZONE_TOP:
    case ZONE_BOTTOM:
      return 32645;  // IDC_SIZENS
    case ZONE_TOPLEFT:
    case ZONE_BOTTOMRIGHT:
      return 32642;  // IDC_SIZENWSE
    case ZONE_TOPRIGHT:
    case ZONE_BOTTOMLEFT:
      return 32643;  // IDC_SIZENESW
    default:
      return 32512;  // IDC_ARROW
  }
}

FrameLayout LayOutFrame(int32_t w, int32_t h, int32_t f) {
  FrameLayout layout;
  layout.languageButton = {w - 35, 1, w - 35 + 17, 1 + 16};
  layout.hideButton = {w - 18, 1, w - 18 + 17, 1 + 16};
  layout.keyboard = {f, 19, f + (w - 2 * f), 19 + (h - f - 18)};
  layout.borderOuter = {0, kCaptionHeight, w, h};
  layout.borderInner = {f, f + kCaptionHeight, w - f - 2, h - f - 2};
  layout.caption = {0, 0, w, kCaptionHeight};
  layout.lineLeft = 1;
  layout.lineRight = w - 1;
  layout.lineY = kCaptionHeight;
  layout.title = {20, 0, w, kCaptionHeight};
  return layout;
}

int32_t ScaledFontHeight(uint32_t clientWidth, int32_t fontSize, int32_t designWidth, int32_t current) {
  if (designWidth == 0) return current;  // no layout yet: nothing to scale by
  const uint32_t height =
      clientWidth * static_cast<uint32_t>(fontSize) / static_cast<uint32_t>(designWidth) + 2;
  return static_cast<int32_t>(height);
}

int32_t WheelFontHeight(int32_t current, int16_t wheelDelta) {
  int64_t height = static_cast<int64_t>(current) + (wheelDelta > 0 ? 1 : -1);
  if (height < 2) height = 2;
  if (height > INT32_MAX) height = INT32_MAX;
  return static_cast<int32_t>(height);
}

void Frame::OnCreate(WindowId frame) {
  languageButton_.Init(frame, 0, 0, 0, 0, kLanguageGlyph);
  hideButton_.Init(frame, 0, 0, 0, 0, kHideGlyph);
}

void Frame::OnSize(int32_t w, int32_t h) {
  if (host_.IsLayered()) {
    // Opaque while it is resized.
    host_.SetLayered(false);
    host_.SetAlpha(255);
  }
  const FrameLayout layout = LayOutFrame(w, h, host_.SizingFrame());
  const auto place = [](CaptionButton& button, const KeyRect& r) {
    button.Place(r.left, r.top, r.right - r.left, r.bottom - r.top);
  };
  place(languageButton_, layout.languageButton);
  place(hideButton_, layout.hideButton);
  host_.MoveKeyboardWindow(layout.keyboard);
}

void Frame::DrawButtons() {
  languageButton_.Draw();
  hideButton_.Draw();
}

void Frame::GiveFocusBack() {
  if (focus_ != nullptr) focus_->GiveBack();
}

void Frame::OnFocusReport(WindowId window) {
  if (focus_ != nullptr) focus_->Seen(window);
}

void Frame::OnActivate(bool clickActivated, WindowId other) {
  // The window on the other side may be the application being typed into.
  if (focus_ != nullptr) focus_->Seen(other);
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
  host_.SetCursor(ZoneCursor(FrameZone(x, y, w, h, host_.SizingFrame())));
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
  const int32_t zone = FrameZone(x, y, w, h, host_.SizingFrame());
  // The move and resize loops return when the button is released: the application
  // being typed into then gets the foreground back.
  if (zone == ZONE_DRAG) {
    host_.SendSysCommand(kSysCommandDragMove);
    GiveFocusBack();
  } else if (zone == ZONE_ICON) {
    host_.PostTrayMessage(kRightButtonUp);
  } else if (zone >= ZONE_LEFT && zone <= ZONE_BOTTOMRIGHT) {
    host_.SendSysCommand(kSysCommandSize + static_cast<uint32_t>(zone));
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

void Frame::OnImeState(intptr_t state) {
  if (settings_.imeDetectMethod == IDM_CBT) {
    host_.PostToKeyboard(WM_IMESTATE, 0, state);
  } else {
    host_.StartImageDetection(static_cast<uint32_t>(settings_.idmImgDelay));
  }
}

void Frame::Forward(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  host_.PostToKeyboard(message, wParam, lParam);
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
  if (InRect(x, y, 0, 0, w, h)) {
    host_.SetLayered(false);
  } else {
    host_.SetLayered(true);
    const int32_t opacity = settings_.opacity;
    host_.SetAlpha(static_cast<uint8_t>(opacity < 0 ? 0 : (opacity > 255 ? 255 : opacity)));
  }
}

}  // namespace tessary
