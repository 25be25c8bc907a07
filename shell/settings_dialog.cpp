#include "shell/settings_dialog.h"

#include <cmath>
#include <cstdio>

#include "config/settings.h"

namespace tessary {

namespace {
int32_t RoundDown100(int32_t value) { return value / 100 * 100; }

std::string Seconds(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%2.1f 초", seconds);
  return text;
}

int32_t AccelerationPosition(double acceleration) {
  const double position = std::trunc(acceleration * 10);
  if (!(position > INT32_MIN && position < INT32_MAX)) return 0;  // NaN or out of range
  return static_cast<int32_t>(position);
}
}  // namespace

size_t SettingsDialogModel::Row(int trackbarId) {
  for (size_t i = 0; i < kTrackbars.size(); ++i) {
    if (kTrackbars[i].id == trackbarId) return i;
  }
  return 0;
}

SettingsDialogModel::SettingsDialogModel(const Settings& s) {
  switch (s.inputMode) {
    case IM_CLICK: inputModeButton = IDC_CLICKMODE; break;
    case IM_DWELL: inputModeButton = IDC_DWELLMODE; break;
    case IM_SCAN: inputModeButton = IDC_SCANMODE; break;
    default: break;
  }
  if (s.imeDetectMethod == IDM_CBT) imeMethodButton = IDC_IDM_CBT;
  if (s.imeDetectMethod == IDM_IMG) imeMethodButton = IDC_IDM_IMG;
  if (s.hangulComposition == HC_AUTO) hangulButton = IDC_HC_AUTO;
  if (s.hangulComposition == HC_KEYBOARD) hangulButton = IDC_HC_KEYBOARD;
  if (s.hangulComposition == HC_IME) hangulButton = IDC_HC_IME;
  if (s.scanMode == SCAN_AUTO) scanModeButton = IDC_SCAN_AUTO;
  if (s.scanMode == SCAN_STEP) scanModeButton = IDC_SCAN_STEP;
  if (s.scanMode == SCAN_HOLD) scanModeButton = IDC_SCAN_HOLD;
  for (size_t i = 0; i < kSwitchChoices.size(); ++i) {
    if (i > 0 && kSwitchChoices[i].value == s.scanSwitch) switch1Choice = static_cast<int>(i);
    if (kSwitchChoices[i].value == s.scanSwitch2) switch2Choice = static_cast<int>(i);
  }
  scanTick = s.useScanTick;
  start_ = {s.keyRepeatDelay, AccelerationPosition(s.keyRepeatAcceleration), s.dwellDelay, s.scanDelay,
            s.idmImgDelay,    s.scanFirstDelay,                             s.scanMaxLoop};
  for (size_t i = 0; i < kTrackbars.size(); ++i) SetPosition(kTrackbars[i].id, start_[i]);
}

std::string SettingsDialogModel::LabelForPosition(int trackbarId, int32_t position) {
  switch (trackbarId) {
    case IDC_REPEAT_ACCEL: {
      char text[32];
      std::snprintf(text, sizeof text, "%2.1f", position * 0.1);
      return text;
    }
    case IDC_DWELL_DELAY:
      return Seconds(position / 1000.0);  // not rounded to a multiple of 100
    case IDC_SCAN_PASSES: {
      char text[32];
      std::snprintf(text, sizeof text, "%d 번", position);
      return text;
    }
    default:
      return Seconds(RoundDown100(position) / 1000.0);
  }
}

std::string SettingsDialogModel::OpeningLabel(int trackbarId) const {
  const int32_t value = start_[Row(trackbarId)];
  if (trackbarId == IDC_REPEAT_ACCEL || trackbarId == IDC_SCAN_PASSES) return LabelForPosition(trackbarId, value);
  return Seconds(value / 1000.0);
}

int32_t SettingsDialogModel::Position(int trackbarId) const { return positions_[Row(trackbarId)]; }

void SettingsDialogModel::SetPosition(int trackbarId, int32_t position) {
  const TrackbarRow& row = kTrackbars[Row(trackbarId)];
  positions_[Row(trackbarId)] = position < row.min ? row.min : (position > row.max ? row.max : position);
}

void SettingsDialogModel::Apply(Settings& s) const {
  if (inputModeButton == IDC_CLICKMODE) s.inputMode = IM_CLICK;
  if (inputModeButton == IDC_DWELLMODE) s.inputMode = IM_DWELL;
  if (inputModeButton == IDC_SCANMODE) s.inputMode = IM_SCAN;
  if (imeMethodButton == IDC_IDM_CBT) s.imeDetectMethod = IDM_CBT;
  if (imeMethodButton == IDC_IDM_IMG) s.imeDetectMethod = IDM_IMG;
  if (hangulButton == IDC_HC_AUTO) s.hangulComposition = HC_AUTO;
  if (hangulButton == IDC_HC_KEYBOARD) s.hangulComposition = HC_KEYBOARD;
  if (hangulButton == IDC_HC_IME) s.hangulComposition = HC_IME;
  s.keyRepeatDelay = RoundDown100(Position(IDC_REPEAT_DELAY));
  s.keyRepeatAcceleration = Position(IDC_REPEAT_ACCEL) * 0.1;
  s.dwellDelay = RoundDown100(Position(IDC_DWELL_DELAY));
  s.idmImgDelay = RoundDown100(Position(IDC_IMG_DELAY));
  s.scanDelay = RoundDown100(Position(IDC_SCAN_DELAY));
  if (scanModeButton == IDC_SCAN_AUTO) s.scanMode = SCAN_AUTO;
  if (scanModeButton == IDC_SCAN_STEP) s.scanMode = SCAN_STEP;
  if (scanModeButton == IDC_SCAN_HOLD) s.scanMode = SCAN_HOLD;
  if (switch1Choice > 0 && static_cast<size_t>(switch1Choice) < kSwitchChoices.size()) {
    s.scanSwitch = kSwitchChoices[static_cast<size_t>(switch1Choice)].value;
  }
  if (switch2Choice >= 0 && static_cast<size_t>(switch2Choice) < kSwitchChoices.size()) {
    s.scanSwitch2 = kSwitchChoices[static_cast<size_t>(switch2Choice)].value;
  }
  s.scanFirstDelay = RoundDown100(Position(IDC_SCAN_FIRST));
  s.scanMaxLoop = Position(IDC_SCAN_PASSES);
  s.useScanTick = scanTick;
}

}  // namespace tessary
