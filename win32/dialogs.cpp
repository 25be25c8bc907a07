#include "win32/dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <memory>

#include "config/settings.h"
#include "shell/settings_dialog.h"
#include "win32/gdi_canvas.h"
#include "win32/win32_platform.h"

namespace tessary::win32 {

namespace {

struct SettingsDialogState {
  Settings& settings;
  SettingsDialogModel model;
};

void SetLabel(HWND dialog, int labelId, const std::string& cp949) {
  SetDlgItemTextW(dialog, labelId, Wide(cp949).c_str());
}

void CreateTrackbar(HWND dialog, const TrackbarRow& row, int32_t position) {
  RECT r{row.left, row.top, row.right, row.bottom};
  MapDialogRect(dialog, &r);
  HWND bar = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_NOTICKS, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                             reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)), nullptr);
  if (bar == nullptr) return;
  SendMessageW(bar, TBM_SETRANGE, FALSE, MAKELPARAM(row.min, row.max));
  SendMessageW(bar, TBM_SETPAGESIZE, 0, row.page);
  SendMessageW(bar, TBM_SETPOS, TRUE, position);
}

const TrackbarRow* RowOf(int id) {
  for (const TrackbarRow& row : kTrackbars) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

// A switch list: the entries of kSwitchChoices from `first` on, with `chosen` selected.
void FillSwitchList(HWND dialog, int id, size_t first, int chosen) {
  for (size_t i = first; i < kSwitchChoices.size(); ++i) {
    SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(kSwitchChoices[i].label).c_str()));
  }
  if (chosen >= static_cast<int>(first)) SendDlgItemMessageW(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(chosen) - first, 0);
}

// The index in kSwitchChoices of a list's selection; -1 for none.
int ChosenSwitch(HWND dialog, int id, size_t first) {
  const LRESULT selected = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? -1 : static_cast<int>(selected) + static_cast<int>(first);
}

// The trackbar class, registered as version 6 of the common controls (the program's
// manifest asks for it) wants it.
void RegisterCommonControls() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<SettingsDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      RegisterCommonControls();
      state = reinterpret_cast<SettingsDialogState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      if (state->model.inputModeButton != 0) CheckDlgButton(dialog, state->model.inputModeButton, BST_CHECKED);
      if (state->model.imeMethodButton != 0) CheckDlgButton(dialog, state->model.imeMethodButton, BST_CHECKED);
      if (state->model.hangulButton != 0) CheckDlgButton(dialog, state->model.hangulButton, BST_CHECKED);
      if (state->model.scanModeButton != 0) CheckDlgButton(dialog, state->model.scanModeButton, BST_CHECKED);
      CheckDlgButton(dialog, IDC_SCAN_TICK, state->model.scanTick ? BST_CHECKED : BST_UNCHECKED);
      FillSwitchList(dialog, IDC_SWITCH1, 1, state->model.switch1Choice);
      FillSwitchList(dialog, IDC_SWITCH2, 0, state->model.switch2Choice);
      for (const TrackbarRow& row : kTrackbars) {
        SetLabel(dialog, row.labelId, state->model.OpeningLabel(row.id));
        CreateTrackbar(dialog, row, state->model.Position(row.id));
      }
      return TRUE;
    }
    case WM_HSCROLL: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (const TrackbarRow* row = RowOf(id)) {
        const auto position = static_cast<int32_t>(SendMessageW(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0));
        SetLabel(dialog, row->labelId, SettingsDialogModel::LabelForPosition(id, position));
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && state != nullptr) {
        SettingsDialogModel& model = state->model;
        model.inputModeButton = 0;
        for (int id : {IDC_CLICKMODE, IDC_DWELLMODE, IDC_SCANMODE}) {
          if (model.inputModeButton == 0 && IsDlgButtonChecked(dialog, id) == BST_CHECKED) model.inputModeButton = id;
        }
        model.imeMethodButton = 0;
        for (int id : {IDC_IDM_CBT, IDC_IDM_IMG}) {
          if (model.imeMethodButton == 0 && IsDlgButtonChecked(dialog, id) == BST_CHECKED) model.imeMethodButton = id;
        }
        model.hangulButton = 0;
        for (int id : {IDC_HC_AUTO, IDC_HC_KEYBOARD, IDC_HC_IME}) {
          if (model.hangulButton == 0 && IsDlgButtonChecked(dialog, id) == BST_CHECKED) model.hangulButton = id;
        }
        model.scanModeButton = 0;
        for (int id : {IDC_SCAN_AUTO, IDC_SCAN_STEP, IDC_SCAN_HOLD}) {
          if (model.scanModeButton == 0 && IsDlgButtonChecked(dialog, id) == BST_CHECKED) model.scanModeButton = id;
        }
        model.switch1Choice = ChosenSwitch(dialog, IDC_SWITCH1, 1);
        model.switch2Choice = ChosenSwitch(dialog, IDC_SWITCH2, 0);
        model.scanTick = IsDlgButtonChecked(dialog, IDC_SCAN_TICK) == BST_CHECKED;
        for (const TrackbarRow& row : kTrackbars) {
          HWND bar = GetDlgItem(dialog, row.id);
          if (bar != nullptr) model.SetPosition(row.id, static_cast<int32_t>(SendMessageW(bar, TBM_GETPOS, 0, 0)));
        }
        model.Apply(state->settings);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      RegisterCommonControls();
      return TRUE;
    case WM_COMMAND:
      // Only OK closes it; Escape and the close box are ignored.
      if (LOWORD(wParam) == IDOK) EndDialog(dialog, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

}  // namespace

void RunSettingsDialog(HWND owner, Settings& settings) {
  SettingsDialogState state{settings, SettingsDialogModel(settings)};
  DialogBoxParamW(Instance(), MAKEINTRESOURCEW(kSettingsDialogResource), owner, SettingsDialogProc,
                  reinterpret_cast<LPARAM>(&state));
}

bool ChooseLabelFont(HWND owner, LabelFont& font) {
  LOGFONTW lf = ToLogFont(font);
  // The dialog opens on the face the labels are drawn in (the system may stand another
  // in for the one named) and on the Korean script unless another was chosen.
  if (lf.lfCharSet == ANSI_CHARSET || lf.lfCharSet == DEFAULT_CHARSET) lf.lfCharSet = HANGUL_CHARSET;
  if (HDC screen = GetDC(nullptr)) {
    if (HFONT made = CreateFontIndirectW(&lf)) {
      HGDIOBJ old = SelectObject(screen, made);
      wchar_t face[LF_FACESIZE] = {};
      if (GetTextFaceW(screen, LF_FACESIZE, face) > 0) lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
      SelectObject(screen, old);
      DeleteObject(made);
    }
    ReleaseDC(nullptr, screen);
  }
  CHOOSEFONTW choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.lpLogFont = &lf;
  choose.Flags = CF_SCREENFONTS | CF_NOVERTFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontW(&choose)) return false;
  FromLogFont(lf, font);
  return true;
}

void RunAboutDialog(HWND owner) {
  DialogBoxParamW(Instance(), MAKEINTRESOURCEW(kAboutDialogResource), owner, AboutDialogProc, 0);
}

}  // namespace tessary::win32
