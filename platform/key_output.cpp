#include "platform/key_output.h"

#include "platform/key_codes.h"

namespace tessary {

void SendKeyEvent(KeyOutput& output, const KeyLayout& layout, uint16_t code, bool down) {
  const auto scan = static_cast<uint16_t>(layout.MapVirtualKey(code));
  output.SendInput({{code, scan, !down, false}});
}

void SendKeyStroke(KeyOutput& output, const KeyLayout& layout, uint16_t code, bool extended) {
  const auto scan = static_cast<uint16_t>(layout.MapVirtualKey(code));
  output.SendInput({{code, scan, false, extended}, {code, scan, true, extended}});
}

bool SendTextReplacement(KeyOutput& output, const KeyLayout& layout, size_t erase, const std::u16string& text) {
  if (erase > 0) {
    const auto code = static_cast<uint16_t>(kBackspaceKey);
    const auto scan = static_cast<uint16_t>(layout.MapVirtualKey(code));
    std::vector<KeyInputRecord> records;
    for (size_t i = 0; i < erase; ++i) {
      records.push_back({code, scan, false, false});
      records.push_back({code, scan, true, false});
    }
    if (!output.SendInput(records)) return false;
  }
  return text.empty() || output.SendText(text);
}

}  // namespace tessary
