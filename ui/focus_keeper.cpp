#include "ui/focus_keeper.h"

namespace tessary {

WindowKind ClassifyWindow(bool ownProcess, bool visible, std::string_view topLevelClass) {
  if (ownProcess) return WindowKind::kOwn;
  if (!visible) return WindowKind::kNone;  // nothing to type into
  // The desktop, the taskbar and the notification area (the last name is the notification
  // area of desktops that have none of their own, shown as a window of its own).
  for (std::string_view shell : {"Progman", "WorkerW", "#32769", "Shell_TrayWnd", "Shell_SecondaryTrayWnd",
                                 "NotifyIconOverflowWindow", "__winex11_standalone_tray"}) {
    if (topLevelClass == shell) return WindowKind::kShell;
  }
  return WindowKind::kApplication;
}

WindowId FocusReturnTarget(WindowKind foreground, WindowId remembered, WindowKind rememberedKind) {
  if (foreground == WindowKind::kApplication) return 0;
  if (remembered == 0 || rememberedKind != WindowKind::kApplication) return 0;
  return remembered;
}

void FocusKeeper::Seen(WindowId window) {
  if (window != 0 && host_.KindOf(window) == WindowKind::kApplication) remembered_ = window;
}

void FocusKeeper::GiveBack() {
  const WindowId foreground = host_.Foreground();
  const WindowKind kind = host_.KindOf(foreground);
  if (kind == WindowKind::kApplication) remembered_ = foreground;
  const WindowId target =
      FocusReturnTarget(kind, remembered_, remembered_ != 0 ? host_.KindOf(remembered_) : WindowKind::kNone);
  if (target != 0) host_.SetForeground(target);
}

}  // namespace tessary
