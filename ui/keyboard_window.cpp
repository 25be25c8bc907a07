#include "ui/keyboard_window.h"

#include "platform/numbers.h"

#include "config/settings.h"
#include "input/key_activation.h"
#include "layout/layout_loader.h"
#include "platform/key_codes.h"
#include "ui/frame.h"

namespace tessary {

// ---------------------------------------------------------------- pointer input

void PointerInput::Draw(void (KeyDrawing::*look)(Canvas&, int), int index) {
  if (index < 0) return;
  host_.DrawDirect([this, look, index](Canvas& canvas) { (drawing_.*look)(canvas, index); });
}

uint32_t PointerInput::DwellPeriod() const {
  return static_cast<uint32_t>(settings_.dwellDelay) / 5;
}

void PointerInput::OnMouseMove(int32_t x, int32_t y) {
  if (!hoverTracking) host_.RequestHoverNotice(kHoverTimeMs);
  const int32_t k = keyboard_.HitTest(x, y);
  switch (settings_.inputMode) {
    case IM_CLICK:
      if (k != pressedKey) {
        // Dragging off a pressed key cancels the press and its repeat.
        pressedKey = kNoKeyRemembered;
        buttonDown = false;
        if (settings_.useKeyRepeat) repeat_.StopKeyRepeat();
      }
      if (k != hoverKey) host_.InvalidateKeyboard();
      Draw(buttonDown ? &KeyDrawing::DrawKeyPressed : &KeyDrawing::DrawKeyHover, k);
      hoverKey = k;
      break;
    case IM_DWELL:
      // The fill starts with the move onto a key: a pointer that comes to rest there
      // after one movement types it. Further moves within the key leave the fill running
      // (a trembling hand does not restart it).
      if (k != dwellKey) {
        StopDwell();
        host_.InvalidateKeyboard();
        if (k >= 0) StartDwell();
      }
      dwellKey = k;
      hoverKey = k;
      break;
    default:
      hoverKey = k;
      break;
  }
}

void PointerInput::OnMouseHover() {
  hoverTracking = true;
  host_.RequestLeaveNotice();
}

void PointerInput::OnMouseLeave() {
  hoverTracking = false;
  if (settings_.inputMode == IM_DWELL) {
    // Off the keyboard: no fill runs on, and coming back onto the key starts a new one.
    StopDwell();
    dwellKey = kNoKeyRemembered;
  }
  host_.InvalidateKeyboard();
}

void PointerInput::StopDwell() {
  host_.KillDwellTimer();
  dwellTicks = -2;
  dwellRunning = false;
  dwellFired = false;
}

void PointerInput::StartDwell() {
  if (dwellFired || dwellRunning) return;
  host_.SetDwellTimer(DwellPeriod());
}

void PointerInput::OnDwellTick() {
  int32_t x = 0, y = 0;
  host_.PointerPosition(x, y);
  const int32_t k = keyboard_.HitTest(x, y);
  if (k < 0 || k != dwellKey) {
    // The pointer left the key (a quick exit over the keyboard's edge brings no move
    // message): the fill never completes elsewhere.
    StopDwell();
    dwellKey = kNoKeyRemembered;
    host_.InvalidateKeyboard();
    return;
  }
  ++dwellTicks;
  dwellRunning = true;
  const double fraction = dwellTicks * kDwellStep;
  host_.DrawDirect([this, k, fraction](Canvas& canvas) { drawing_.DrawDwellProgress(canvas, k, fraction); });
  if (dwellTicks >= kDwellActivationTicks) {
    host_.KillDwellTimer();
    dwellTicks = -2;
    dwellRunning = false;
    dwellFired = true;
    host_.PostClick(x, y);
  }
}

void PointerInput::OnButtonDown(int32_t x, int32_t y) {
  if (dwellRunning) return;  // a dwell and a click must not both activate the key
  const int32_t k = keyboard_.HitTest(x, y);
  pressedKey = k;
  buttonDown = true;
  if (k < 0) return;
  Draw(&KeyDrawing::DrawKeyPressed, k);
  activate_(k);
  host_.InvalidateKeyboard();
  if (settings_.useClickSound) host_.PlayClickSound();
  if (settings_.useKeyRepeat) repeat_.StartKeyRepeat(static_cast<uint32_t>(settings_.keyRepeatDelay),
                                                     settings_.keyRepeatAcceleration);
  if (!settings_.useShiftRelease) return;
  // The activation may have rebuilt the keys: look again at the same point.
  const int32_t k2 = keyboard_.HitTest(x, y);
  if (k2 < 0) return;
  const int32_t code = keyboard_.KeyCode(k2);
  if (code == kShiftKey) shiftKeyIndex = k2;
  if (IsCharacterKey(code) && (keyboard_.view & 1) != 0) ReleaseShift();
}

// A latched Shift applies to one character: activate the latched Shift key again (the
// remembered one, else the first latched one). A Shift view that no latched Shift key
// holds is left alone rather than activating some other key.
void PointerInput::ReleaseShift() {
  const int target = keyboard_.LatchedShiftKey(shiftKeyIndex);
  if (target == kNoKey) return;
  activate_(target);
  host_.InvalidateKeyboard();
}

void PointerInput::OnButtonUp(int32_t x, int32_t y) {
  if (!buttonDown) return;
  pressedKey = kNoKeyRemembered;
  buttonDown = false;
  Draw(&KeyDrawing::DrawKeyHover, keyboard_.HitTest(x, y));
  if (settings_.useKeyRepeat) repeat_.StopKeyRepeat();
}

// ---------------------------------------------------------------- the window

bool KeyboardWindow::Scanning() const { return scan_ != nullptr && settings_.inputMode == IM_SCAN; }

void KeyboardWindow::RestartScan() {
  if (!Scanning()) return;
  scan_->StopScan();
  scan_->StartScan(self_, static_cast<uint32_t>(settings_.scanDelay));
}

void KeyboardWindow::OnCreate(WindowId self) {
  self_ = self;
  // The keyboard starts in Korean.
  ReloadLayout(keyboard_, layouts_, settings_.kbdName, IL_KOREAN);
  FollowComposition();
  if (Scanning()) scan_->StartScan(self_, static_cast<uint32_t>(settings_.scanDelay));
}

void KeyboardWindow::SetDpi(int32_t dpi) { keyboard_.dpi = dpi > 0 ? dpi : kDesignDpi; }

void KeyboardWindow::PaintImage(Canvas& image, const KeyRect& client) {
  drawing_.DrawKeyboard(image, client, settings_.bgndColor);
}

void KeyboardWindow::PaintPointerKey(Canvas& window) {
  if (Scanning()) scan_->DrawHighlight(window);
  int32_t x = 0, y = 0;
  host_.PointerPosition(x, y);
  const int32_t k = keyboard_.HitTest(x, y);
  if (k < 0) return;
  if (k == pointer_.pressedKey) {
    drawing_.DrawKeyPressed(window, k);
  } else {
    drawing_.DrawKeyHover(window, k);
  }
}

void KeyboardWindow::OnRightButtonDown() {
  if (activator != nullptr) activator->EndSyllable();
  ToggleLanguage(keyboard_, layouts_);
  host_.InvalidateKeyboard();
  KeysChanged();
}

void KeyboardWindow::KeysChanged() {
  if (onKeysChanged) onKeysChanged();
}

void KeyboardWindow::OnImeState(int32_t state) {
  if (state != lastImeState) {
    SetLanguage(keyboard_, layouts_, state);
    host_.InvalidateKeyboard();
    lastImeState = state;
    KeysChanged();
  }
  // The focus moved: the syllable ends, and the new application decides who composes.
  if (activator != nullptr) activator->EndSyllable();
  FollowComposition();
  RestartScan();
}

void KeyboardWindow::FollowComposition() {
  if (activator != nullptr) activator->SetComposing(KeyboardComposes(settings_.hangulComposition, lastImeState));
}

void KeyboardWindow::OnClickElsewhere() {
  if (activator != nullptr) activator->EndSyllable();
}

void KeyboardWindow::OnReloadLayout() {
  ReloadLayout(keyboard_, layouts_, settings_.kbdName, keyboard_.language);
  FollowComposition();
  host_.InvalidateKeyboard();
  KeysChanged();
  RestartScan();
}

void KeyboardWindow::OnScanSwitch(int which, bool released) {
  if (scan_ != nullptr) scan_->OnSwitchSignal(which, released);
}

void KeyboardWindow::OnDestroy() {
  if (scan_ != nullptr) scan_->StopScan();
  keyboard_.ReleaseModifiers();
}

}  // namespace tessary
