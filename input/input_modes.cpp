#include "input/input_modes.h"

#include "config/settings.h"
#include "input/scan.h"
#include "platform/key_codes.h"
#include "platform/message_boxes.h"
#include "platform/window_messages.h"

namespace tessary {

bool TakesMouseEvent(int code, uint32_t message, std::string_view classUnderCursor) {
  if (code != 0) return false;  // HC_ACTION only
  if (message != kLeftButtonDown && message != kLeftButtonUp && message != kRightButtonDown &&
      message != kRightButtonUp) {
    return false;
  }
  return classUnderCursor == kKeyboardWindowClass;
}

bool IsClickElsewhere(int code, uint32_t message, std::string_view classUnderCursor) {
  return code == 0 && (message == kLeftButtonDown || message == kRightButtonDown) &&
         classUnderCursor != kKeyboardWindowClass;
}

bool IsOwnOrInjectedKey(bool injectedFlag, uintptr_t extraInfo) {
  return injectedFlag || extraInfo == kOwnInputTag;
}

namespace {
bool KnownSwitch(int32_t scanSwitch) { return SwitchFilter::KeyOf(scanSwitch) != 0 || SwitchFilter::ButtonDownOf(scanSwitch) != 0; }
}  // namespace

uint32_t SwitchFilter::KeyOf(int32_t scanSwitch) {
  if (scanSwitch == SWITCH_SPACE) return static_cast<uint32_t>(kSpaceKey);
  if (scanSwitch == SWITCH_ENTER) return static_cast<uint32_t>(kEnterKey);
  if (scanSwitch >= SWITCH_F1 && scanSwitch <= SWITCH_F12) return static_cast<uint32_t>(kF1Key + (scanSwitch - SWITCH_F1));
  return 0;
}

uint32_t SwitchFilter::ButtonDownOf(int32_t scanSwitch) {
  switch (scanSwitch) {
    case SWITCH_MOUSE_LEFT: return kLeftButtonDown;
    case SWITCH_MOUSE_RIGHT: return kRightButtonDown;
    case SWITCH_MOUSE_MIDDLE: return kMiddleButtonDown;
    default: return 0;
  }
}

void SwitchFilter::Configure(int32_t first, int32_t second) {
  switches_[0] = KnownSwitch(first) ? first : SWITCH_NONE;
  // A second switch that is the first one would never be told apart from it.
  switches_[1] = KnownSwitch(second) && second != first ? second : SWITCH_NONE;
  Reset();
}

bool SwitchFilter::UsesMouse() const { return ButtonDownOf(switches_[0]) != 0 || ButtonDownOf(switches_[1]) != 0; }

SwitchSignal SwitchFilter::Edge(size_t index, bool goingDown) {
  SwitchSignal signal;
  signal.swallow = true;
  if (goingDown) {
    if (down_[index]) return signal;  // held: an auto-repeat, no new press
    down_[index] = true;
  } else {
    if (!down_[index]) return {};  // its press was not taken: the release is not either
    down_[index] = false;
    signal.released = true;
  }
  signal.which = static_cast<int>(index) + 1;
  return signal;
}

SwitchSignal SwitchFilter::OnKey(int code, uint32_t message, uint32_t virtualKey, bool injected, bool altDown) {
  if (code != 0 || injected || virtualKey == 0) return {};
  const bool down = message == kKeyDownMessage || message == kSysKeyDownMessage;
  const bool up = message == kKeyUpMessage || message == kSysKeyUpMessage;
  for (size_t i = 0; i < 2; ++i) {
    if (KeyOf(switches_[i]) != virtualKey) continue;
    if (down && !altDown) return Edge(i, true);
    if (up) return Edge(i, false);
  }
  return {};
}

SwitchSignal SwitchFilter::OnMouse(int code, uint32_t message, bool injected) {
  if (code != 0 || injected) return {};
  for (size_t i = 0; i < 2; ++i) {
    const uint32_t buttonDown = ButtonDownOf(switches_[i]);
    if (buttonDown == 0) continue;
    if (message == buttonDown) return Edge(i, true);
    if (message == buttonDown + 1) return Edge(i, false);  // the button's up message follows its down
  }
  return {};
}

void InstallInputModeHook(const Settings& settings, InputModeHooks& hooks, MessageBoxes& messages) {
  if (settings.inputMode == IM_CLICK) {
    if (!hooks.InstallMouseHook()) messages.Show(kMouseHookFailedText, kTitleSystemError);
  } else if (settings.inputMode == IM_SCAN) {
    const int32_t second = settings.scanMode == SCAN_STEP ? settings.scanSwitch2 : SWITCH_NONE;
    if (!hooks.InstallKeyboardHook(settings.scanSwitch, second)) messages.Show(kKeyboardHookFailedText, kTitleSystemError);
  }
}

void LeaveInputMode(InputModeContext& context) {
  if (context.settings.inputMode == IM_CLICK) {
    context.hooks.RemoveMouseHook();
  } else if (context.settings.inputMode == IM_SCAN) {
    context.hooks.RemoveKeyboardHook();
    if (context.scan != nullptr) context.scan->StopScan();
  }
}

void EnterInputMode(InputModeContext& context) {
  Settings& settings = context.settings;
  if (settings.inputMode == IM_SCAN && settings.useTransparency) {
    if (context.stopTransparency) context.stopTransparency();
    settings.useTransparency = false;
  }
  InstallInputModeHook(settings, context.hooks, context.messages);
  if (settings.inputMode == IM_SCAN && context.scan != nullptr) {
    context.scan->StartScan(context.keyboardWindow, static_cast<uint32_t>(settings.scanDelay));
  }
}

}  // namespace tessary
