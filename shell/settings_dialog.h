#pragma once
// The settings dialog (resource 177) as data: which radio buttons are checked, where
// the five trackbars stand, what their labels say, and what OK stores.
#include <array>
#include <cstdint>
#include <string>

namespace tessary {

struct Settings;

inline constexpr int kSettingsDialogResource = 177;
inline constexpr int kAboutDialogResource = 183;

// Control ids.
inline constexpr int IDC_CLICKMODE = 1001, IDC_DWELLMODE = 1002, IDC_SCANMODE = 1003;
inline constexpr int IDC_IDM_CBT = 1030, IDC_IDM_IMG = 1031;
inline constexpr int IDC_HC_AUTO = 1040, IDC_HC_KEYBOARD = 1041, IDC_HC_IME = 1042;
inline constexpr int IDC_REPEAT_DELAY = 1005, IDC_REPEAT_ACCEL = 1006, IDC_DWELL_DELAY = 1007,
                     IDC_SCAN_DELAY = 1009, IDC_IMG_DELAY = 1008;
// The value labels beside the trackbars.
inline constexpr int IDC_REPEAT_DELAY_LABEL = 1035, IDC_REPEAT_ACCEL_LABEL = 1034, IDC_DWELL_DELAY_LABEL = 1033,
                     IDC_SCAN_DELAY_LABEL = 1036, IDC_IMG_DELAY_LABEL = 1032;

struct TrackbarRow {
  int id;
  int labelId;
  int32_t min, max, page;
  // Dialog-unit rectangle: left, top, right, bottom.
  int32_t left, top, right, bottom;
};

// In the order the dialog sets them up.
inline constexpr std::array<TrackbarRow, 5> kTrackbars = {{
    {IDC_REPEAT_DELAY, IDC_REPEAT_DELAY_LABEL, 100, 3000, 100, 99, 33, 183, 47},
    {IDC_REPEAT_ACCEL, IDC_REPEAT_ACCEL_LABEL, 1, 100, 100, 99, 50, 183, 64},
    {IDC_DWELL_DELAY, IDC_DWELL_DELAY_LABEL, 100, 3000, 100, 99, 82, 183, 96},
    {IDC_SCAN_DELAY, IDC_SCAN_DELAY_LABEL, 500, 10000, 100, 99, 112, 183, 126},
    {IDC_IMG_DELAY, IDC_IMG_DELAY_LABEL, 500, 5000, 100, 99, 175, 183, 189},
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
  int hangulButton = 0;     // 1040..1042 (한글 조합), 0 for none

 private:
  static size_t Row(int trackbarId);
  std::array<int32_t, 5> start_{};      // the settings' values (acceleration × 10)
  std::array<int32_t, 5> positions_{};  // clamped to each range
};

}  // namespace tessary
