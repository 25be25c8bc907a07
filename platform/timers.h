#pragma once
// Time, as the core sees it. The platform's clocks and timers sit behind these.
#include <cstdint>

namespace tessary {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds on a monotonic clock (wraps like the platform's tick count).
  virtual uint32_t NowMs() const = 0;
};

// The multimedia timer's capabilities.
struct TimerCaps {
  uint32_t periodMin = 1;
  uint32_t periodMax = 1000000;
};

// The resolution the one-shot and scan timers ask for: max(periodMin, 100) capped at
// periodMax.
uint32_t TimerResolution(const TimerCaps& caps);

}  // namespace tessary
