#include "input/stroke_parser.h"

#include <climits>
#include <vector>

#include "platform/key_output.h"

namespace tessary {

const KeyName kKeyNameTable[] = {
    {-1, "QUEUESYNC"}, {20, "CAPSLOCK"}, {144, "NUMLOCK"}, {145, "SCROLLLOCK"}, {27, "ESCAPE"},
    {27, "ESC"},       {13, "ENTER"},    {47, "HELP"},     {44, "PRTSC"},       {9, "TAB"},
    {17, "BREAK"},     {12, "CLEAR"},    {8, "BACKSPACE"}, {8, "BS"},           {8, "BKSP"},
    {46, "DELETE"},    {46, "DEL"},      {45, "INSERT"},   {37, "LEFT"},        {39, "RIGHT"},
    {38, "UP"},        {40, "DOWN"},     {33, "PGUP"},     {34, "PGDN"},        {36, "HOME"},
    {35, "END"},       {112, "F1"},      {113, "F2"},      {114, "F3"},         {115, "F4"},
    {116, "F5"},       {117, "F6"},      {118, "F7"},      {119, "F8"},         {120, "F9"},
    {121, "F10"},      {122, "F11"},     {123, "F12"},     {124, "F13"},        {125, "F14"},
    {126, "F15"},      {127, "F16"},     {91, "LWIN"},     {92, "RWIN"},        {93, "APPS"},
    {21, "HANGUL"},    {25, "HANJA"},    {104, "NUMPAD8"}, {0, nullptr}};

namespace {

// Names are copied into a 16-byte buffer: longer ones cannot match.
constexpr size_t kMaxNameLength = 15;

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      // A double-byte character compares as it is.
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (Upper(a[i]) != Upper(b[i])) {
      return false;
    }
  }
  return true;
}

class Parser {
 public:
  Parser(std::string_view text, StrokeQueue& queue, const KeyLayout& layout)
      : text_(text), queue_(queue), layout_(layout) {}

  // Groups and modifiers nest without limit in the text, so the nesting is kept on a
  // stack of its own rather than the machine's: 0 marks an open group, 16, 17 or 18 a
  // modifier waiting for its one element.
  StrokeError ParseAll() {
    for (;;) {
      if (pos_ >= text_.size()) {
        if (open_.empty()) return kStrokeOk;
        if (open_.back() == 0) return kStrokeUnclosedGroup;
        // A modifier at the very end applies to an empty element.
        if (StrokeError e = Completed()) return e;
        continue;
      }
      if (!open_.empty() && open_.back() == 0 && text_[pos_] == ')') {
        ++pos_;
        open_.pop_back();
        if (StrokeError e = Completed()) return e;
        continue;
      }
      const char c = text_[pos_++];
      StrokeError e = kStrokeOk;
      switch (c) {
        case '+':
        case '^':
        case '%': {
          const int16_t modifier = c == '+' ? kShiftItem : c == '^' ? kCtrlItem : kAltItem;
          if ((e = Append(modifier)) == kStrokeOk) open_.push_back(modifier);
          break;
        }
        case '(':
          open_.push_back(0);
          break;
        case '~':
          if ((e = Append(kEnterKey)) == kStrokeOk) e = Completed();
          break;
        case '{':
          if ((e = Braced()) == kStrokeOk) e = Completed();
          break;
        default:
          if ((e = AppendKey(layout_.VkKeyScan(c), 1)) == kStrokeOk) e = Completed();
          break;
      }
      if (e != kStrokeOk) return e;
    }
  }

 private:
  StrokeError Append(int16_t item) { return queue_.Append(item) ? kStrokeOk : kStrokeQueueFull; }

  // An element is complete: every modifier waiting for it is released, innermost first;
  // each of those is an element completed in turn.
  StrokeError Completed() {
    while (!open_.empty() && open_.back() != 0) {
      const int16_t modifier = open_.back();
      open_.pop_back();
      if (StrokeError e = Append(modifier)) return e;
    }
    return kStrokeOk;
  }

  // A key with the Shift bit of VkKeyScan, appended `count` times inside one Shift.
  StrokeError AppendKey(uint16_t scan, long count) {
    const bool shift = (scan & KeyLayout::kScanShift) != 0;
    const int16_t code = static_cast<int16_t>(scan & KeyLayout::kScanKeyMask);
    if (shift) {
      if (StrokeError e = Append(kShiftItem)) return e;
    }
    // A key whose code is a modifier's ("{BREAK}" is 17, the Ctrl key's code) would only
    // toggle that modifier and leave it down after the playback: it is pressed and
    // released like any other key.
    const bool modifierCode = code == kShiftItem || code == kCtrlItem || code == kAltItem;
    // A negative count never reaches zero: it runs until the queue is full.
    for (long i = 0; i != count; ++i) {
      if (StrokeError e = Append(code)) return e;
      if (modifierCode) {
        if (StrokeError e = Append(code)) return e;
      }
    }
    if (shift) return Append(kShiftItem);
    return kStrokeOk;
  }

  StrokeError Braced() {
    std::optional<uint16_t> key;
    bool queueSync = false;
    if (pos_ < text_.size() && text_[pos_] == '}') {
      key = layout_.VkKeyScan('}');
      ++pos_;
    }
    const size_t stop = text_.find_first_of(" }", pos_);
    if (stop == std::string_view::npos) return kStrokeUnclosedBrace;
    if (!key) {
      const std::string_view name = text_.substr(pos_, stop - pos_);
      const std::optional<int16_t> named =
          name.size() <= kMaxNameLength ? LookupKeyName(name) : std::nullopt;
      if (named == kQueueSyncItem) {
        queueSync = true;
      } else if (named) {
        key = static_cast<uint16_t>(*named);
      } else if (name.size() == 1) {
        key = layout_.VkKeyScan(name[0]);
      } else {
        return kStrokeUnknownName;
      }
    }
    pos_ = stop;
    long count = 1;
    if (text_[pos_] == ' ') {
      ++pos_;
      if (!ReadCount(count) || count == 0) return kStrokeBadCount;
    }
    const size_t close = text_.find('}', pos_);
    if (close == std::string_view::npos) return kStrokeUnclosedBrace;
    pos_ = close + 1;
    if (queueSync) return Append(kQueueSyncItem);
    return AppendKey(*key, count);
  }

  // A decimal number as "%d" reads it: leading white space, a sign, digits. Values
  // beyond the int range stop at its ends.
  bool ReadCount(long& count) {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || (text_[pos_] >= '\t' && text_[pos_] <= '\r'))) {
      ++pos_;
    }
    bool negative = false;
    if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
      negative = text_[pos_] == '-';
      ++pos_;
    }
    long value = 0;
    bool digits = false;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      digits = true;
      if (value < INT_MAX) value = value * 10 + (text_[pos_] - '0');
      ++pos_;
    }
    if (value > INT_MAX) value = INT_MAX;
    count = negative ? -value : value;
    return digits;
  }

  std::string_view text_;
  size_t pos_ = 0;
  std::vector<int16_t> open_;
  StrokeQueue& queue_;
  const KeyLayout& layout_;
};

}  // namespace

std::optional<int16_t> LookupKeyName(std::string_view name) {
  for (const KeyName* entry = kKeyNameTable; entry->code != 0; ++entry) {
    if (SameName(name, entry->name)) return entry->code;
  }
  return std::nullopt;
}

StrokeError ParseStrokes(std::string_view text, StrokeQueue& queue, const KeyLayout& layout) {
  queue.Clear();
  return Parser(text.substr(0, text.find('\0')), queue, layout).ParseAll();
}

}  // namespace tessary
