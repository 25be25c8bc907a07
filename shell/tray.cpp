#include "shell/tray.h"

#include "config/settings.h"
#include "layout/layout_loader.h"
#include "platform/file_system.h"
#include "shell/shell.h"
#include "ui/focus_keeper.h"
#include "ui/frame.h"

namespace tessary {

template <typename Show>
void Tray::KeepingFocus(Show&& show) {
  if (focus_ != nullptr) focus_->NoteForeground();
  show();
  if (focus_ != nullptr) focus_->GiveBack();
}

void Tray::OnTrayIcon(TrayClick click) {
  if (click == TrayClick::kLeftButtonDown) {
    // A click on the tray icon may have given the foreground to the shell.
    KeepingFocus([this] { ui_.ShowKeyboard(); });
  } else if (click == TrayClick::kRightButtonUp) {
    KeepingFocus([this] { ui_.ShowMenu(BuildMenu()); });
  }
}

TrayMenu Tray::BuildMenu() {
  TrayMenu menu;
  layoutMenuTable[IDM_DEFAULTLAYOUT] = kDefaultLayoutName;
  menu.layouts.push_back({IDM_DEFAULTLAYOUT, kDefaultLayoutName, settings_.kbdName == kDefaultLayoutName});
  const std::string folder = files_.CurrentDirectory() + "\\" + kLayoutFolderName;
  if (const auto entries = files_.ListDirectory(folder)) {
    int id = LayoutMenuFirstId;
    for (const DirectoryEntry& entry : *entries) {
      // Only folders are layout sets.
      if (!entry.isDirectory || entry.name == "." || entry.name == "..") continue;
      layoutMenuTable[id] = entry.name;
      menu.layouts.push_back({id, entry.name, settings_.kbdName == entry.name});
      ++id;
    }
  }
  menu.options = {{IDM_CLICKSOUND, settings_.useClickSound},
                  {IDM_KEYREPEAT, settings_.useKeyRepeat},
                  {IDM_TRANSPARENCY, settings_.useTransparency},
                  {IDM_SHIFTRELEASE, settings_.useShiftRelease},
                  {IDM_WORDLEARNING, settings_.useWordLearning}};
  return menu;
}

void Tray::ChangeSettings() {
  // The hooks come back even when the dialog is cancelled.
  LeaveInputMode(modes_);
  KeepingFocus([this] { ui_.RunSettingsDialog(settings_); });
  EnterInputMode(modes_);
}

void Tray::OnCommand(int commandId) {
  switch (commandId) {
    case IDM_ABOUT:
      KeepingFocus([this] { ui_.RunAboutDialog(); });
      return;
    case IDM_CLICKSOUND:
      settings_.useClickSound = !settings_.useClickSound;
      return;
    case IDM_KEYREPEAT:
      settings_.useKeyRepeat = !settings_.useKeyRepeat;
      return;
    case IDM_SHIFTRELEASE:
      settings_.useShiftRelease = !settings_.useShiftRelease;
      return;
    case IDM_WORDLEARNING:
      settings_.useWordLearning = !settings_.useWordLearning;
      if (onWordLearning) onWordLearning(settings_.useWordLearning);
      return;
    case IDM_FORGETWORDS:
      if (onForgetWords) onForgetWords();
      return;
    case IDM_TRANSPARENCY:
      if (settings_.useTransparency && frame_ != nullptr) frame_->StopTransparency();
      settings_.useTransparency = !settings_.useTransparency;
      if (settings_.useTransparency && frame_ != nullptr) frame_->StartTransparency();
      return;
    case IDM_FONT: {
      bool chosen = false;
      KeepingFocus([this, &chosen] { chosen = ui_.ChooseLabelFont(settings_.labelFont); });
      if (chosen) ui_.RepaintFrame();
      return;
    }
    case IDM_SETTINGS:
      ChangeSettings();
      return;
    case IDM_EXIT:
      ui_.EndProgram();
      return;
    default: {
      const auto it = layoutMenuTable.find(commandId);
      if (it == layoutMenuTable.end()) return;  // not a command of the menu
      std::string name = it->second;
      if (name.size() >= kKbdNameBufferSize) name.resize(kKbdNameBufferSize - 1);
      settings_.kbdName = name;
      ui_.PostReloadLayout();
      return;
    }
  }
}

}  // namespace tessary
