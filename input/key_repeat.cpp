#include "input/key_repeat.h"

#include <cmath>

#include "keyboard/keyboard_model.h"

namespace tessary {

void KeyRepeat::StartKeyRepeat(uint32_t delay, double acceleration) {
  delay_ = delay;
  acceleration_ = acceleration;
  repeats_ = 0;
  accumulated_ = 0;
  running_ = true;
  host_.SetRepeatTimer(KEY_REPEAT_TICK);
}

void KeyRepeat::StopKeyRepeat() {
  host_.KillRepeatTimer();
  running_ = false;
}

void KeyRepeat::Tick() {
  if (!running_) return;  // a tick that was already on its way when the repeat stopped
  double growth = repeats_ * acceleration_;
  if (std::isnan(growth)) growth = 0;  // an acceleration that is no number accelerates nothing
  double step = (growth + 1.0) * KEY_REPEAT_TICK;
  if (delay_ < step) step = delay_;
  // Truncated toward zero; kept inside the counter's range (a negative acceleration
  // would take it below zero).
  const double sum = accumulated_ + step;
  accumulated_ = sum <= 0 ? 0 : sum >= 4294967295.0 ? UINT32_MAX : static_cast<uint32_t>(sum);
  if (accumulated_ < delay_) return;
  int32_t x = 0, y = 0;
  host_.PointerPosition(x, y);
  const int key = keyboard_.HitTest(x, y);
  if (key < 0 || keyboard_.keys[static_cast<size_t>(key)].Repeats()) activate_(key);
  host_.InvalidateKeyboard();
  ++repeats_;
  accumulated_ = 0;
}

}  // namespace tessary
