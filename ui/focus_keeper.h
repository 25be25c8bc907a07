#pragma once
// The application being typed into keeps the focus. Whatever of the keyboard's own the
// user touches — the caption buttons, the move and resize loops, the menu, the dialogs,
// the tray icon — may hold the foreground for a moment; afterwards the keyboard hands
// it back to the last application window that had it. A program may pass the
// foreground on only while it holds it, which is exactly when it is handed back.
#include <string_view>

#include "platform/key_output.h"

namespace tessary {

enum class WindowKind {
  kNone,         // no window, or one that is gone or hidden
  kOwn,          // one of this program's windows, its menus and dialogs included
  kShell,        // the desktop, the taskbar and its notification area: passed through
                 // (a click on the tray icon) but never typed into
  kApplication,  // any other program's window
};

// The kind of an existing window from its top-level window: whether that belongs to this
// program, is visible, and its class name (the shell's windows are known by theirs).
WindowKind ClassifyWindow(bool ownProcess, bool visible, std::string_view topLevelClass);

class FocusHost {
 public:
  virtual ~FocusHost() = default;
  // The top-level window in the foreground, or 0.
  virtual WindowId Foreground() = 0;
  virtual WindowKind KindOf(WindowId window) = 0;
  virtual void SetForeground(WindowId window) = 0;
};

// The window that gets the foreground back, or 0 for none: the remembered application
// window, when the keyboard (or the shell, or nobody) holds the foreground now. When
// another application holds it, the user went there: it stays.
WindowId FocusReturnTarget(WindowKind foreground, WindowId remembered, WindowKind rememberedKind);

class FocusKeeper {
 public:
  explicit FocusKeeper(FocusHost& host) : host_(host) {}
  // A top-level window seen with the focus (a focus report, the other side of an
  // activation): remembered when it is an application's.
  void Seen(WindowId window);
  // Looks at the foreground before the keyboard takes it.
  void NoteForeground() { Seen(host_.Foreground()); }
  // After the keyboard's own window may have taken the foreground.
  void GiveBack();

  WindowId remembered() const { return remembered_; }

 private:
  FocusHost& host_;
  WindowId remembered_ = 0;
};

}  // namespace tessary
