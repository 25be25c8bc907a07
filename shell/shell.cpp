#include "shell/shell.h"

#include "input/input_modes.h"
#include "platform/message_boxes.h"
#include "platform/numbers.h"

namespace tessary {

WindowRect FirstStartPlacement(const WindowRect& workArea, const WindowRect& design, int32_t dpi) {
  const int64_t designW = design.right - design.left, designH = design.bottom - design.top;
  int64_t minW = ScaleForDpi(static_cast<int32_t>(designW), dpi);
  int64_t minH = ScaleForDpi(static_cast<int32_t>(designH), dpi);
  const int64_t workW = static_cast<int64_t>(workArea.right) - workArea.left;
  const int64_t workH = static_cast<int64_t>(workArea.bottom) - workArea.top;
  if (workW <= 0 || workH <= 0 || designW <= 0 || designH <= 0) {
    const int32_t left = ScaleForDpi(design.left, dpi), top = ScaleForDpi(design.top, dpi);
    return {left, top, static_cast<int32_t>(left + minW), static_cast<int32_t>(top + minH)};
  }
  int64_t w = workW / 2 > minW ? workW / 2 : minW;
  int64_t h = w * designH / designW;
  if (h < minH) h = minH;
  if (w > workW) w = workW;
  if (h > workH) h = workH;
  const int64_t left = workArea.left + (workW - w) / 2, top = workArea.bottom - h;
  return {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(left + w),
          static_cast<int32_t>(top + h)};
}

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
    // The default size is in design pixels: on a denser screen the keyboard starts at
    // least as large as it would be at 96 DPI. A stored place and size are the screen's
    // own pixels and stand as they are.
    const WindowRect design{settings_.left, settings_.top, settings_.left + settings_.width,
                            settings_.top + settings_.height};
    const WindowRect placed = FirstStartPlacement(host.WorkArea(), design, host.SystemDpi());
    settings_.left = placed.left;
    settings_.top = placed.top;
    settings_.width = placed.right - placed.left;
    settings_.height = placed.bottom - placed.top;
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
