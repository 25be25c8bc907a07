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

bool IsScanSwitch(int code, uint32_t message, uint32_t virtualKey, bool injected) {
  return code == 0 && !injected && message == kKeyDownMessage && virtualKey == static_cast<uint32_t>(kSpaceKey);
}

bool SwallowsScanKey(int code, uint32_t message, uint32_t virtualKey, bool injected) {
  if (code != 0 || injected || virtualKey != static_cast<uint32_t>(kSpaceKey)) return false;
  return message == kKeyDownMessage || message == kKeyUpMessage;
}

void InstallInputModeHook(const Settings& settings, InputModeHooks& hooks, MessageBoxes& messages) {
  if (settings.inputMode == IM_CLICK) {
    if (!hooks.InstallMouseHook()) messages.Show(kMouseHookFailedText, kTitleSystemError);
  } else if (settings.inputMode == IM_SCAN) {
    if (!hooks.InstallKeyboardHook()) messages.Show(kKeyboardHookFailedText, kTitleSystemError);
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
