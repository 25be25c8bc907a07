#include "keyboard/focus_keeper.h"

namespace tessary {

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
