#pragma once
// Stroke strings: the small text language of a key's output ("{ESC}", "^c", "+a",
// "{Left 3}", "%(ab)") and the queue of key items it becomes.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/key_codes.h"

namespace tessary {

class KeyLayout;

enum StrokeError : int {
  kStrokeOk = 0,
  kStrokeUnclosedBrace = 1,   // a "{" without its closing "}"
  kStrokeUnknownName = 2,     // a braced name neither in the table nor one character
  kStrokeUnclosedGroup = 3,   // the text ends inside a "(" group
  kStrokeBadCount = 4,        // a repeat count that is not a number or is 0
  kStrokeQueueFull = 5,       // more than 1024 items
  kStrokeHookFailed = 6,      // no way to play the events
};

// Queue items: the codes of Shift, Ctrl and Alt toggle them; -1 is a queue-sync event; any
// other value is a key code, played as key-down and key-up.
inline constexpr int16_t kQueueSyncItem = -1;
inline constexpr int16_t kShiftItem = kShiftKey;
inline constexpr int16_t kCtrlItem = kCtrlKey;
inline constexpr int16_t kAltItem = kAltKey;

class StrokeQueue {
 public:
  static constexpr size_t kCapacity = 1024;

  // False (and nothing added) when the queue is full.
  bool Append(int16_t item) {
    if (count_ == kCapacity) return false;
    items_[count_++] = item;
    return true;
  }
  void Clear() { count_ = 0; }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  int16_t operator[](size_t i) const { return items_[i]; }
  const int16_t* begin() const { return items_.data(); }
  const int16_t* end() const { return items_.data() + count_; }

 private:
  std::array<int16_t, kCapacity> items_{};
  size_t count_ = 0;
};

// The braced key names in search order (the first match wins), matched without regard
// to the case of ASCII letters; the bytes of double-byte characters must match exactly.
struct KeyName {
  int16_t code;
  const char* name;
};
extern const KeyName kKeyNameTable[];  // ends with a zero code

std::optional<int16_t> LookupKeyName(std::string_view name);

// Empties `queue` and fills it from `text` (up to its first zero byte). Plain characters
// go through the layout's VkKeyScan.
StrokeError ParseStrokes(std::string_view text, StrokeQueue& queue, const KeyLayout& layout);

}  // namespace tessary
