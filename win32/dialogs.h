#pragma once
// The three modal dialogs of the tray menu.
#include <windows.h>

namespace tessary {
struct LabelFont;
struct Settings;
}  // namespace tessary

namespace tessary::win32 {

void RunSettingsDialog(HWND owner, Settings& settings);
// The platform's font chooser on the label font; true when confirmed.
bool ChooseLabelFont(HWND owner, LabelFont& font);
void RunAboutDialog(HWND owner);

}  // namespace tessary::win32
