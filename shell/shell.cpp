#include "shell/shell.h"

#include "input/input_modes.h"
#include "platform/message_boxes.h"
#include "platform/numbers.h"

namespace tessary {

Shell::Shell(Settings& settings, ShellServices services)
    : settings_(settings), services_(std::move(services)) {}

int Shell::Run() {
  ShellHost& host = services_.host;
  if (!host.IsWindows2000OrLater()) services_.messages.Show(kOldWindowsText, kTitleNotice);
  if (host.IsAlreadyRunning(kHiddenWindowClass)) {
    services_.messages.Show(kAlreadyRunningText, kTitleNotice);
    return 0;
  }
  const ConfigReadResult config =
      ReadSettings(settings_, services_.files, services_.texts, services_.messages);
  if (config != ConfigReadResult::kRead) {
    // The default place and size are design pixels: on a denser screen the keyboard
    // starts as large as it would be at 96 DPI. A stored place and size are the
    // screen's own pixels and stand as they are.
    const int32_t dpi = host.SystemDpi();
    settings_.left = ScaleForDpi(settings_.left, dpi);
    settings_.top = ScaleForDpi(settings_.top, dpi);
    settings_.width = ScaleForDpi(settings_.width, dpi);
    settings_.height = ScaleForDpi(settings_.height, dpi);
  }
  if (services_.loadDictionaries && !services_.loadDictionaries()) {
    services_.messages.Show(kDictionaryMissingText, kTitleError);
  }
  // Without its windows the program could never be ended by the user: stop instead of
  // running a message loop that nothing reaches. Nothing has changed the settings yet.
  if (!host.RegisterWindowClasses() || !host.CreateHiddenWindow()) return 1;

  // A file that could not be read is kept as Tessary.cfg.bak before the defaults
  // replace it, so the user's own text is never lost.
  keepBrokenFile_ = config == ConfigReadResult::kFileFailed || config == ConfigReadResult::kPreludeFailed;
  const int exitCode = host.RunMessageLoop();
  SaveSettings();
  if (services_.saveLearnedWords) services_.saveLearnedWords();
  return exitCode;
}

void Shell::SaveSettings() {
  if (WriteSettings(settings_, services_.files, kConfigFileName, keepBrokenFile_)) {
    keepBrokenFile_ = false;  // kept once; the file now holds what was written
    return;
  }
  if (!saveFailureShown_) {
    saveFailureShown_ = true;
    services_.messages.Show(kSettingsNotSavedText, kTitleError);
  }
}

void Shell::OnEndSession() {
  WindowRect outer;
  if (services_.host.FrameWindowRect(outer)) OnFrameWindowDestroyed(outer);
  SaveSettings();
  if (services_.saveLearnedWords) services_.saveLearnedWords();
}

void Shell::OnHiddenWindowCreate() {
  ShellHost& host = services_.host;
  host.AddTrayIcon();
  host.CreateFrameWindow(settings_.left, settings_.top, settings_.width, settings_.height);
  if (!host.InstallFocusHook()) services_.messages.Show(kFocusHookFailedText, kTitleSystemError);
  EnterInputModeHook();
  if (settings_.useTransparency) host.StartTransparency();
}

void Shell::OnHiddenWindowDestroy() {
  services_.host.DeleteTrayIcon();
  services_.host.RemoveFocusHook();
  LeaveInputModeHooks();
  services_.host.PostQuit(0);
}

void Shell::OnCommand(int commandId) {
  switch (commandId) {
    case IDM_EXIT:
      services_.host.DestroyHiddenWindow();
      break;
    default:
      break;
  }
}

void Shell::OnFrameWindowDestroyed(const WindowRect& outer) {
  settings_.left = outer.left;
  settings_.top = outer.top;
  settings_.width = outer.right - outer.left;
  settings_.height = outer.bottom - outer.top;
}

void Shell::EnterInputModeHook() { InstallInputModeHook(settings_, services_.hooks, services_.messages); }

void Shell::LeaveInputModeHooks() {
  services_.hooks.RemoveMouseHook();
  services_.hooks.RemoveKeyboardHook();
}

}  // namespace tessary
