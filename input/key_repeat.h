#pragma once
// Key repeat: while the button is held on a key, the key under the pointer is activated
// again and again, after `keyRepeatDelay` and then faster by `keyRepeatAcceleration`;
// a key that does not repeat (KeyDef::Repeats) is left alone, the steps still count.
#include <cstdint>
#include <functional>

#include "keyboard/canvas.h"

namespace tessary {

class Keyboard;

// The keyboard window's side of the repeat.
class RepeatHost : public KeyboardSurface {
 public:
  // The window timer KEY_REPEAT_TIMER_ID, every `periodMs`, calling KeyRepeat::Tick;
  // setting it again restarts it.
  virtual void SetRepeatTimer(uint32_t periodMs) = 0;
  virtual void KillRepeatTimer() = 0;
  // The pointer position in the keyboard window's client coordinates.
  virtual void PointerPosition(int32_t& x, int32_t& y) = 0;
};

inline constexpr unsigned KEY_REPEAT_TIMER_ID = 112;
inline constexpr uint32_t KEY_REPEAT_TICK = 50;

class KeyRepeat {
 public:
  using Activate = std::function<void(int keyIndex)>;
  KeyRepeat(RepeatHost& host, const Keyboard& keyboard, Activate activate)
      : host_(host), keyboard_(keyboard), activate_(std::move(activate)) {}

  void StartKeyRepeat(uint32_t delay, double acceleration);
  void StopKeyRepeat();
  // One 50 ms tick.
  void Tick();

  bool running() const { return running_; }
  uint32_t repeats() const { return repeats_; }

 private:
  RepeatHost& host_;
  const Keyboard& keyboard_;
  Activate activate_;
  uint32_t delay_ = 0;
  double acceleration_ = 1.0;
  uint32_t repeats_ = 0;
  uint32_t accumulated_ = 0;
  bool running_ = false;
};

}  // namespace tessary
