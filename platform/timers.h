#pragma once
// The platform's timers as the core configures them.
#include <cstdint>

namespace tessary {

// The multimedia timer's capabilities.
struct TimerCaps {
  uint32_t periodMin = 1;
  uint32_t periodMax = 1000000;
};

// The resolution the one-shot and scan timers ask for: max(periodMin, 100) capped at
// periodMax.
uint32_t TimerResolution(const TimerCaps& caps);

}  // namespace tessary
