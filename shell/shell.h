#pragma once
// The program's skeleton: the order of start-up, the hidden window's creation and
// destruction, its commands, and shutdown. The platform's windows, tray icon and hooks
// sit behind ShellHost; everything here is decided without them.
#include <cstdint>
#include <functional>

#include "config/settings.h"
#include "input/input_modes.h"
#include "platform/numbers.h"
#include "platform/window_messages.h"

namespace tessary {

class FileSystem;
class MessageBoxes;
class TextResources;

// Tray menu commands.
inline constexpr int IDM_ABOUT = 40006;
inline constexpr int IDM_EXIT = 40002;

inline constexpr const char* kOldWindowsText =
    "윈도우 2000 이상에서만 사용하실 수 있습니다. 윈도우 98 사용자는 윈도우 98용 테사리를 사용하세요.";
inline constexpr const char* kAlreadyRunningText =
    "테사리가 이미 실행 중입니다. 실행 중인 테사리를 먼저 종료해주세요.";
inline constexpr const char* kDictionaryMissingText =
    "사전 파일(hangul.lex)을 찾지 못했습니다. 단어예측 기능이 정상적으로 작동하지 않습니다.";
inline constexpr const char* kFocusHookFailedText = "한/영 자동인식이 제대로 작동하지 않습니다.";
inline constexpr const char* kSettingsNotSavedText =
    "설정을 저장하지 못했습니다. 설정 파일(Tessary.cfg)은 바뀌지 않았습니다.";

// A window's outer rectangle in screen coordinates.
struct WindowRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Where the keyboard opens when no settings file gives its place: along the bottom of
// the work area, centred, about half its width, with the proportions of the default
// frame (`design`, design pixels) and never smaller than that frame at `dpi`; within the
// work area where it fits. An empty work area (the platform cannot tell) gives the
// default frame scaled to the screen.
WindowRect FirstStartPlacement(const WindowRect& workArea, const WindowRect& design, int32_t dpi);

// The platform side of start-up and of the hidden window.
class ShellHost {
 public:
  virtual ~ShellHost() = default;
  virtual bool IsWindows2000OrLater() = 0;
  // Takes the named single-instance semaphore; true when another process holds it.
  virtual bool IsAlreadyRunning(const char* name) = 0;
  virtual bool RegisterWindowClasses() = 0;
  // Creates the hidden window (its creation calls Shell::OnHiddenWindowCreate) and
  // hides it. False when no window could be made.
  virtual bool CreateHiddenWindow() = 0;
  // Runs until the quit message; returns its exit code.
  virtual int RunMessageLoop() = 0;
  virtual void AddTrayIcon() = 0;
  virtual void DeleteTrayIcon() = 0;
  // The frame window (which makes the keyboard window) at the given screen rectangle.
  virtual void CreateFrameWindow(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
  // The system-wide focus hook of the hook library; false when it cannot be installed.
  virtual bool InstallFocusHook() = 0;
  virtual void RemoveFocusHook() = 0;
  virtual void StartTransparency() = 0;
  virtual void DestroyHiddenWindow() = 0;
  virtual void PostQuit(int exitCode) = 0;
  // The density of the main screen, in dots per inch.
  virtual int32_t SystemDpi() { return kDesignDpi; }
  // The main screen's work area (without the taskbar), in its pixels; empty when unknown.
  virtual WindowRect WorkArea() { return {}; }
  // The frame window's outer rectangle now; false when there is no frame window.
  virtual bool FrameWindowRect(WindowRect& outer) = 0;
};

struct ShellServices {
  ShellHost& host;
  InputModeHooks& hooks;
  MessageBoxes& messages;
  FileSystem& files;
  const TextResources& texts;
  // Loads the prediction dictionaries; false when the system dictionary is missing.
  std::function<bool()> loadDictionaries;
  // Writes the words learnt (at the end and when the Windows session ends).
  std::function<void()> saveLearnedWords = {};
};

class Shell {
 public:
  Shell(Settings& settings, ShellServices services);

  // The program's entry: start-up, the message loop, the configuration written back.
  // Returns the process exit code.
  int Run();

  // The hidden window's messages.
  void OnHiddenWindowCreate();
  void OnHiddenWindowDestroy();
  void OnCommand(int commandId);

  // The frame window stores its outer rectangle when it is destroyed.
  void OnFrameWindowDestroyed(const WindowRect& outer);

  // The Windows session ends (logging off, shutting down): the process may be ended
  // without its windows being destroyed, so the settings (and the learned words) are
  // written now, as at exit, with the frame where it is.
  void OnEndSession();

  // Installs the low-level hook of the input mode in force (click: mouse, scan:
  // keyboard, dwell: none), with its message when that fails.
  void EnterInputModeHook();
  // Removes both low-level hooks, whichever are installed.
  void LeaveInputModeHooks();

  Settings& settings() { return settings_; }

 private:
  // Writes the settings; a failure is told once ("설정을 저장하지 못했습니다. ...") and
  // leaves the old file as it was.
  void SaveSettings();

  Settings& settings_;
  ShellServices services_;
  // The file read at start-up was broken: the next save keeps it as Tessary.cfg.bak.
  bool keepBrokenFile_ = false;
  bool saveFailureShown_ = false;
};

}  // namespace tessary
