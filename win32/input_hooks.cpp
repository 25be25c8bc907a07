#include "win32/input_hooks.h"

#include "input/input_modes.h"
#include "win32/keyboard_window.h"
#include "win32/win32_platform.h"

namespace tessary::win32 {

namespace {
HHOOK clickHook = nullptr;
HHOOK scanHook = nullptr;
HHOOK scanMouseHook = nullptr;
const Win32KeyboardWindow* scanSwitchTarget = nullptr;
SwitchFilter switches;

// Sends a switch's signal to the keyboard window; true when the event is to be kept
// from the application.
bool Signal(const SwitchSignal& signal) {
  if (signal.which != 0 && scanSwitchTarget != nullptr) scanSwitchTarget->PostScanSwitch(signal.which, signal.released);
  return signal.swallow;
}

LRESULT CALLBACK ClickMouseHook(int code, WPARAM wParam, LPARAM lParam) {
  POINT cursor{};
  GetCursorPos(&cursor);
  HWND under = WindowFromPoint(cursor);
  char name[64] = {};
  if (under != nullptr) GetClassNameA(under, name, sizeof name);
  if (IsClickElsewhere(code, static_cast<uint32_t>(wParam), name) && scanSwitchTarget != nullptr) {
    scanSwitchTarget->PostClickElsewhere();
  }
  if (under == nullptr || !TakesMouseEvent(code, static_cast<uint32_t>(wParam), name)) {
    return CallNextHookEx(clickHook, code, wParam, lParam);
  }
  POINT p = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam)->pt;
  ScreenToClient(under, &p);
  PostMessageA(under, static_cast<UINT>(wParam), 0, MAKELPARAM(p.x, p.y));
  return 1;  // the system never sees the click: the focus stays where it is
}

LRESULT CALLBACK ScanKeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  const uint32_t message = static_cast<uint32_t>(wParam);
  const uint32_t virtualKey = key != nullptr ? key->vkCode : 0;
  const bool injected =
      key != nullptr && IsOwnOrInjectedKey((key->flags & LLKHF_INJECTED) != 0, key->dwExtraInfo);
  const bool altDown = key != nullptr && (key->flags & LLKHF_ALTDOWN) != 0;
  if (Signal(switches.OnKey(code, message, virtualKey, injected, altDown))) return 1;
  return CallNextHookEx(scanHook, code, wParam, lParam);
}

// Scan mode with a mouse button as a switch: that button, pressed anywhere, is the switch.
LRESULT CALLBACK ScanMouseHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  const bool injected = mouse != nullptr && (mouse->flags & LLMHF_INJECTED) != 0;
  if (Signal(switches.OnMouse(code, static_cast<uint32_t>(wParam), injected))) return 1;
  return CallNextHookEx(scanMouseHook, code, wParam, lParam);
}

void Unhook(HHOOK& hook) {
  if (hook != nullptr) {
    UnhookWindowsHookEx(hook);
    hook = nullptr;
  }
}
}  // namespace

Win32InputModeHooks::Win32InputModeHooks(HINSTANCE instance, const Win32KeyboardWindow& keyboard)
    : instance_(instance) {
  scanSwitchTarget = &keyboard;
}

Win32InputModeHooks::~Win32InputModeHooks() {
  Unhook(clickHook);
  Unhook(scanHook);
  Unhook(scanMouseHook);
  scanSwitchTarget = nullptr;
}

bool Win32InputModeHooks::InstallMouseHook() {
  if (clickHook == nullptr) clickHook = SetWindowsHookExA(WH_MOUSE_LL, ClickMouseHook, instance_, 0);
  return clickHook != nullptr;
}

void Win32InputModeHooks::RemoveMouseHook() { Unhook(clickHook); }

bool Win32InputModeHooks::InstallKeyboardHook(int32_t firstSwitch, int32_t secondSwitch) {
  switches.Configure(firstSwitch, secondSwitch);
  if (scanHook == nullptr) scanHook = SetWindowsHookExA(WH_KEYBOARD_LL, ScanKeyboardHook, instance_, 0);
  if (switches.UsesMouse()) {
    if (scanMouseHook == nullptr) scanMouseHook = SetWindowsHookExA(WH_MOUSE_LL, ScanMouseHook, instance_, 0);
  } else {
    Unhook(scanMouseHook);
  }
  return scanHook != nullptr && (scanMouseHook != nullptr || !switches.UsesMouse());
}

void Win32InputModeHooks::RemoveKeyboardHook() {
  Unhook(scanHook);
  Unhook(scanMouseHook);
  switches.Reset();
}

void CALLBACK Win32ScanTimer::OnTimer(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* self = reinterpret_cast<Win32ScanTimer*>(user);
  HWND target = self->target_.load();
  if (target != nullptr) PostMessageW(target, WM_SCANTICK, self->generation_.load(), 0);
}

void Win32ScanTimer::Start(uint32_t periodMs, uint32_t generation) {
  Stop();
  generation_.store(generation);
  timer_ = StartMultimediaTimer(periodMs, OnTimer, reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC);
}

void Win32ScanTimer::Stop() {
  if (timer_ != 0) {
    timeKillEvent(timer_);
    timer_ = 0;
  }
}

}  // namespace tessary::win32
