#include "platform/timers.h"

#include <algorithm>

namespace tessary {

uint32_t TimerResolution(const TimerCaps& caps) {
  return std::min(std::max<uint32_t>(caps.periodMin, 100), caps.periodMax);
}

}  // namespace tessary
