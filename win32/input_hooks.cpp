#include "win32/input_hooks.h"

#include "input/input_modes.h"
#include "win32/keyboard_window.h"
#include "win32/win32_platform.h"

namespace tessary::win32 {

namespace {
HHOOK clickHook = nullptr;
HHOOK scanHook = nullptr;
const Win32KeyboardWindow* scanSwitchTarget = nullptr;

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
  if (IsScanSwitch(code, message, virtualKey, injected) && scanSwitchTarget != nullptr) {
    scanSwitchTarget->PostScanSwitch();
  }
  if (SwallowsScanKey(code, message, virtualKey, injected)) return 1;
  return CallNextHookEx(scanHook, code, wParam, lParam);
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
  scanSwitchTarget = nullptr;
}

bool Win32InputModeHooks::InstallMouseHook() {
  if (clickHook == nullptr) clickHook = SetWindowsHookExA(WH_MOUSE_LL, ClickMouseHook, instance_, 0);
  return clickHook != nullptr;
}

void Win32InputModeHooks::RemoveMouseHook() { Unhook(clickHook); }

bool Win32InputModeHooks::InstallKeyboardHook() {
  if (scanHook == nullptr) scanHook = SetWindowsHookExA(WH_KEYBOARD_LL, ScanKeyboardHook, instance_, 0);
  return scanHook != nullptr;
}

void Win32InputModeHooks::RemoveKeyboardHook() { Unhook(scanHook); }

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
