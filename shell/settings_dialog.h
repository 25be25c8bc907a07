#pragma once
// The settings dialog (resource 177) as data: which radio buttons are checked, where
// the trackbars stand, what their labels say, which switches the lists show, and what
// OK stores.
#include <array>
#include <cstdint>
#include <string>

#include "config/settings.h"

namespace tessary {

inline constexpr int kSettingsDialogResource = 177;
inline constexpr int kAboutDialogResource = 183;

// Control ids.
inline constexpr int IDC_CLICKMODE = 1001, IDC_DWELLMODE = 1002, IDC_SCANMODE = 1003;
inline constexpr int IDC_IDM_CBT = 1030, IDC_IDM_IMG = 1031;
inline constexpr int IDC_HC_AUTO = 1050, IDC_HC_KEYBOARD = 1051, IDC_HC_IME = 1052;
inline constexpr int IDC_REPEAT_DELAY = 1005, IDC_REPEAT_ACCEL = 1006, IDC_DWELL_DELAY = 1007,
                     IDC_SCAN_DELAY = 1009, IDC_IMG_DELAY = 1008;
// The value labels beside the trackbars.
inline constexpr int IDC_REPEAT_DELAY_LABEL = 1035, IDC_REPEAT_ACCEL_LABEL = 1034, IDC_DWELL_DELAY_LABEL = 1033,
                     IDC_SCAN_DELAY_LABEL = 1036, IDC_IMG_DELAY_LABEL = 1032;
// The scanning group: the scan mode, the two switches, the first item's pause, the
// passes over a level and the tick at each step.
inline constexpr int IDC_SCAN_AUTO = 1040, IDC_SCAN_STEP = 1041, IDC_SCAN_HOLD = 1042;
inline constexpr int IDC_SWITCH1 = 1043, IDC_SWITCH2 = 1044;
inline constexpr int IDC_SCAN_FIRST = 1045, IDC_SCAN_FIRST_LABEL = 1046, IDC_SCAN_PASSES = 1047,
                     IDC_SCAN_PASSES_LABEL = 1048;
inline constexpr int IDC_SCAN_TICK = 1049;

// The switches the lists offer, in their order, with their names in the list.
struct SwitchChoice {
  int32_t value;
  const char* label;
};
inline constexpr std::array<SwitchChoice, 18> kSwitchChoices = {{
    {SWITCH_NONE, "없음"},
    {SWITCH_SPACE, "스페이스"},
    {SWITCH_ENTER, "엔터"},
    {SWITCH_F1, "F1"},
    {SWITCH_F1 + 1, "F2"},
    {SWITCH_F1 + 2, "F3"},
    {SWITCH_F1 + 3, "F4"},
    {SWITCH_F1 + 4, "F5"},
    {SWITCH_F1 + 5, "F6"},
    {SWITCH_F1 + 6, "F7"},
    {SWITCH_F1 + 7, "F8"},
    {SWITCH_F1 + 8, "F9"},
    {SWITCH_F1 + 9, "F10"},
    {SWITCH_F1 + 10, "F11"},
    {SWITCH_F12, "F12"},
    {SWITCH_MOUSE_LEFT, "마우스 왼쪽 단추"},
    {SWITCH_MOUSE_RIGHT, "마우스 오른쪽 단추"},
    {SWITCH_MOUSE_MIDDLE, "마우스 가운데 단추"},
}};
// The first switch's list leaves out "없음": its entries are kSwitchChoices from 1 on.

struct TrackbarRow {
  int id;
  int labelId;
  int32_t min, max, page;
  // Dialog-unit rectangle: left, top, right, bottom.
  int32_t left, top, right, bottom;
};

// In the order the dialog sets them up. The scan step goes from 0.3 s to 5 s.
inline constexpr std::array<TrackbarRow, 7> kTrackbars = {{
    {IDC_REPEAT_DELAY, IDC_REPEAT_DELAY_LABEL, 100, 3000, 100, 99, 33, 183, 47},
    {IDC_REPEAT_ACCEL, IDC_REPEAT_ACCEL_LABEL, 1, 100, 100, 99, 50, 183, 64},
    {IDC_DWELL_DELAY, IDC_DWELL_DELAY_LABEL, 100, 3000, 100, 99, 82, 183, 96},
    {IDC_SCAN_DELAY, IDC_SCAN_DELAY_LABEL, 300, 5000, 100, 99, 112, 183, 126},
    {IDC_IMG_DELAY, IDC_IMG_DELAY_LABEL, 500, 5000, 100, 99, 175, 183, 189},
    {IDC_SCAN_FIRST, IDC_SCAN_FIRST_LABEL, 0, kScanFirstDelayMax, 100, 99, 307, 183, 321},
    {IDC_SCAN_PASSES, IDC_SCAN_PASSES_LABEL, 1, 5, 1, 99, 323, 183, 337},
}};

class SettingsDialogModel {
 public:
  // The dialog's state at opening.
  explicit SettingsDialogModel(const Settings& settings);

  // The label of a trackbar for a position it was moved to.
  static std::string LabelForPosition(int trackbarId, int32_t position);
  // The label at opening, from the setting's own value (never rounded).
  std::string OpeningLabel(int trackbarId) const;

  // A trackbar's position, as the control holds it (inside its range).
  int32_t Position(int trackbarId) const;
  void SetPosition(int trackbarId, int32_t position);

  // OK: the checked radio buttons and the positions into the settings.
  void Apply(Settings& settings) const;

  int inputModeButton = 0;  // the checked one of 1001..1003, 0 for none
  int imeMethodButton = 0;  // 1030 or 1031, 0 for none
  int hangulButton = 0;     // 1050..1052 (한글 조합), 0 for none
  int scanModeButton = 0;   // 1040..1042, 0 for none
  // The entries chosen in the switch lists, as indices of kSwitchChoices; -1 for a
  // value the lists do not offer, which OK leaves as it is.
  int switch1Choice = -1;
  int switch2Choice = -1;
  bool scanTick = false;  // the "스캔할 때마다 똑딱 소리" box

 private:
  static size_t Row(int trackbarId);
  std::array<int32_t, kTrackbars.size()> start_{};      // the settings' values (acceleration × 10)
  std::array<int32_t, kTrackbars.size()> positions_{};  // clamped to each range
};

}  // namespace tessary
