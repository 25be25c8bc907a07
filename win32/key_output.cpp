#include "win32/key_output.h"

#include "input/stroke_player.h"

namespace tessary::win32 {

namespace {
Win32KeyOutput* theOutput = nullptr;
}

uint16_t Win32KeyLayout::VkKeyScan(char ch) const { return static_cast<uint16_t>(VkKeyScanA(ch)); }

uint32_t Win32KeyLayout::MapVirtualKey(uint32_t code) const { return MapVirtualKeyA(code, 0); }

Win32KeyOutput::Win32KeyOutput() { theOutput = this; }

Win32KeyOutput::~Win32KeyOutput() {
  RemovePlaybackHook();
  CancelWatchdog();
  if (theOutput == this) theOutput = nullptr;
}

bool Win32KeyOutput::SendInput(const std::vector<KeyInputRecord>& records) {
  std::vector<INPUT> inputs(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    INPUT& in = inputs[i];
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = records[i].code;
    in.ki.wScan = records[i].scan;
    in.ki.dwFlags = (records[i].keyUp ? KEYEVENTF_KEYUP : 0) | (records[i].extended ? KEYEVENTF_EXTENDEDKEY : 0);
    in.ki.time = 0;
    in.ki.dwExtraInfo = kOwnInputTag;
  }
  return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) > 0;
}

bool Win32KeyOutput::SendText(const std::u16string& text) {
  std::vector<INPUT> inputs(text.size() * 2);
  for (size_t i = 0; i < inputs.size(); ++i) {
    INPUT& in = inputs[i];
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = 0;
    in.ki.wScan = static_cast<WORD>(text[i / 2]);
    in.ki.dwFlags = KEYEVENTF_UNICODE | (i % 2 == 1 ? KEYEVENTF_KEYUP : 0);
    in.ki.time = 0;
    in.ki.dwExtraInfo = kOwnInputTag;
  }
  return ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) > 0;
}

bool Win32KeyOutput::InstallPlaybackHook() {
  hook_ = SetWindowsHookExA(WH_JOURNALPLAYBACK, JournalProc, GetModuleHandleA(nullptr), 0);
  return hook_ != nullptr;
}

void Win32KeyOutput::RemovePlaybackHook() {
  if (hook_ != nullptr) {
    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
  }
}

void Win32KeyOutput::ResetModifierKeyState() {
  BYTE keys[256];
  if (!GetKeyboardState(keys)) return;
  keys[VK_SHIFT] &= static_cast<BYTE>(~0x80);
  keys[VK_CONTROL] &= static_cast<BYTE>(~0x80);
  keys[VK_MENU] &= static_cast<BYTE>(~0x80);
  keys[VK_CAPITAL] &= static_cast<BYTE>(~0x81);
  keys[VK_NUMLOCK] &= static_cast<BYTE>(~0x81);
  SetKeyboardState(keys);
}

void Win32KeyOutput::PostQueueSync(WindowId target) {
  PostMessageA(reinterpret_cast<HWND>(target), WM_QUEUESYNC, 0, 0);
}

void Win32KeyOutput::StartWatchdog(uint32_t milliseconds) {
  CancelWatchdog();
  watchdog_ = SetTimer(nullptr, 0, milliseconds, WatchdogProc);
}

void Win32KeyOutput::CancelWatchdog() {
  if (watchdog_ != 0) {
    KillTimer(nullptr, watchdog_);
    watchdog_ = 0;
  }
}

bool Win32KeyOutput::IsLockOn(uint32_t code) const {
  return (GetKeyState(static_cast<int>(code)) & 1) != 0;
}

void Win32KeyOutput::OnCancelJournal() {
  if (theOutput != nullptr && theOutput->player_ != nullptr) theOutput->player_->OnPlaybackCancelled();
}

LRESULT CALLBACK Win32KeyOutput::JournalProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code < 0 || theOutput == nullptr || theOutput->player_ == nullptr) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  const HookCall call = code == HC_GETNEXT ? HookCall::kGetNext
                        : code == HC_SKIP  ? HookCall::kSkip
                                           : HookCall::kOther;
  const std::optional<PlaybackMessage> record = theOutput->player_->OnHookCall(call);
  if (record && lParam != 0) {
    auto* event = reinterpret_cast<EVENTMSG*>(lParam);
    event->message = record->message;
    event->paramL = static_cast<UINT>(record->paramL);
    event->paramH = record->paramH;
    event->time = GetTickCount();
    event->hwnd = nullptr;
  }
  return 0;  // no delay
}

void CALLBACK Win32KeyOutput::WatchdogProc(HWND, UINT, UINT_PTR, DWORD) {
  if (theOutput == nullptr) return;
  theOutput->CancelWatchdog();
  if (theOutput->player_ != nullptr) theOutput->player_->OnWatchdog();
}

}  // namespace tessary::win32
