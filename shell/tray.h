#pragma once
// The tray icon's menu and the commands it gives: the options, the dialogs, the choice
// of layout set and the exit.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "input/input_modes.h"

namespace tessary {

class FileSystem;
class FocusKeeper;
class Frame;
struct LabelFont;
struct Settings;

// Menu resource 102: its command ids.
inline constexpr int IDM_CLICKSOUND = 40018;
inline constexpr int IDM_KEYREPEAT = 40015;
inline constexpr int IDM_TRANSPARENCY = 40017;
inline constexpr int IDM_SHIFTRELEASE = 40030;
inline constexpr int IDM_FONT = 40009;
inline constexpr int IDM_SETTINGS = 40021;
inline constexpr int IDM_DEFAULTLAYOUT = 40027;
inline constexpr int IDM_WORDLEARNING = 40031;
inline constexpr int IDM_FORGETWORDS = 40032;
inline constexpr int LayoutMenuFirstId = 20000;
inline constexpr int kTrayMenuResource = 102;
inline constexpr int kLayoutSubmenuPosition = 9;

// What the menu shows at one opening, over the items of resource 102.
struct TrayMenu {
  struct LayoutItem {
    int id = 0;
    std::string name;  // CP949
    bool checked = false;
  };
  // The layout submenu: the built-in set (40027, already in the resource) and then one
  // item per layout folder, to be appended.
  std::vector<LayoutItem> layouts;
  // The four options' check marks.
  std::map<int, bool> options;
};

// The platform side of the tray.
class TrayUi {
 public:
  virtual ~TrayUi() = default;
  // The keyboard back in full view: opaque, shown without activation, in front.
  virtual void ShowKeyboard() = 0;
  // The menu at the pointer; the choice comes back as a command.
  virtual void ShowMenu(const TrayMenu& menu) = 0;
  virtual void RunAboutDialog() = 0;
  // The font chooser on `font`; true when the user confirmed it.
  virtual bool ChooseLabelFont(LabelFont& font) = 0;
  virtual void RunSettingsDialog(Settings& settings) = 0;
  virtual void RepaintFrame() = 0;
  // WM_RELOADLAYOUT to the frame window.
  virtual void PostReloadLayout() = 0;
  // Destroys the hidden window, which ends the program.
  virtual void EndProgram() = 0;
};

// What the tray icon reports (WM_TRAYICON's mouse message, decoded by the platform).
enum class TrayClick { kLeftButtonDown, kRightButtonUp, kOther };

class Tray {
 public:
  // `focus`: hands the foreground back to the application being typed into after the
  // menu, a dialog or the keyboard's return; null where nothing needs handing back.
  // `frame`: the frame whose translucency the menu turns on and off; may be null.
  Tray(Settings& settings, FileSystem& files, TrayUi& ui, InputModeContext& modes, Frame* frame,
       FocusKeeper* focus = nullptr)
      : settings_(settings), files_(files), ui_(ui), modes_(modes), frame_(frame), focus_(focus) {}

  // The tray icon was clicked: the left button shows the keyboard, the right one (on its
  // release) opens the menu.
  void OnTrayIcon(TrayClick click);
  // The menu as it is now; fills LayoutMenuTable.
  TrayMenu BuildMenu();
  void OnCommand(int commandId);

  // Command id to layout set name; kept for the whole process.
  std::map<int, std::string> layoutMenuTable;
  // Word learning turned on or off, and the learnt words forgotten (the predictor's).
  std::function<void(bool)> onWordLearning;
  std::function<void()> onForgetWords;

 private:
  void ChangeSettings();
  // Runs `show` (a menu or a dialog, which take the foreground) and gives the
  // foreground back to the application afterwards.
  template <typename Show>
  void KeepingFocus(Show&& show);

  Settings& settings_;
  FileSystem& files_;
  TrayUi& ui_;
  InputModeContext& modes_;
  Frame* frame_;
  FocusKeeper* focus_;
};

}  // namespace tessary
