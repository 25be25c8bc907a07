#include "platform/key_output.h"

namespace tessary {

void SendKeyEvent(KeyOutput& output, const KeyLayout& layout, uint16_t code, bool down) {
  const auto scan = static_cast<uint16_t>(layout.MapVirtualKey(code));
  output.SendInput({{code, scan, !down, false}});
}

void SendKeyStroke(KeyOutput& output, const KeyLayout& layout, uint16_t code, bool extended) {
  const auto scan = static_cast<uint16_t>(layout.MapVirtualKey(code));
  output.SendInput({{code, scan, false, extended}, {code, scan, true, extended}});
}

}  // namespace tessary
