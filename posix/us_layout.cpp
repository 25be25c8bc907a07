#include "posix/us_layout.h"

#include <cstring>

namespace tessary {

namespace {

constexpr uint16_t kShift = KeyLayout::kScanShift;
constexpr uint16_t kCtrl = KeyLayout::kScanCtrl;

// Punctuation: the unshifted and shifted character of each key.
struct PunctuationKey {
  char plain, shifted;
  uint16_t code;
};
constexpr PunctuationKey kPunctuation[] = {
    {'`', '~', 0xC0}, {'-', '_', 0xBD}, {'=', '+', 0xBB}, {'[', '{', 0xDB}, {']', '}', 0xDD},
    {'\\', '|', 0xDC}, {';', ':', 0xBA}, {'\'', '"', 0xDE}, {',', '<', 0xBC}, {'.', '>', 0xBE},
    {'/', '?', 0xBF}};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";  // Shift + 0 ... Shift + 9

}  // namespace

uint16_t UsEnglishLayout::VkKeyScan(char ch) const {
  const unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<uint16_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<uint16_t>(kShift | c);
  if (c >= '0' && c <= '9') return c;
  if (c == ' ') return 0x20;
  if (c == '\t') return 0x09;
  if (c == '\r') return 0x0D;
  if (c == '\n') return static_cast<uint16_t>(kCtrl | 0x0D);
  if (c == '\b') return 0x08;
  if (c != 0) {
    if (const char* at = std::strchr(kShiftedDigits, c)) {
      return static_cast<uint16_t>(kShift | ('0' + (at - kShiftedDigits)));
    }
  }
  for (const PunctuationKey& key : kPunctuation) {
    if (c == static_cast<unsigned char>(key.plain)) return key.code;
    if (c == static_cast<unsigned char>(key.shifted)) return static_cast<uint16_t>(kShift | key.code);
  }
  return KeyLayout::kNoKey;
}

uint32_t UsEnglishLayout::MapVirtualKey(uint32_t code) const {
  // Scan codes of set 1 for the keys of the US layout.
  static constexpr struct {
    uint16_t code, scan;
  } kScanCodes[] = {
      {8, 0x0E},    {9, 0x0F},    {13, 0x1C},   {16, 0x2A},   {17, 0x1D},   {18, 0x38},
      {19, 0x45},   {20, 0x3A},   {21, 0x72},   {25, 0x71},   {27, 0x01},   {32, 0x39},
      {33, 0x49},   {34, 0x51},   {35, 0x4F},   {36, 0x47},   {37, 0x4B},   {38, 0x48},
      {39, 0x4D},   {40, 0x50},   {44, 0x54},   {45, 0x52},   {46, 0x53},   {91, 0x5B},
      {92, 0x5C},   {93, 0x5D},   {104, 0x48},  {144, 0x45},  {145, 0x46},  {186, 0x27},
      {187, 0x0D},  {188, 0x33},  {189, 0x0C},  {190, 0x34},  {191, 0x35},  {192, 0x29},
      {219, 0x1A},  {220, 0x2B},  {221, 0x1B},  {222, 0x28}};
  static constexpr char kLetters[] = "QWERTYUIOPASDFGHJKLZXCVBNM";
  static constexpr uint16_t kLetterScans[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18,
                                              0x19, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25,
                                              0x26, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32};
  if (code >= 'A' && code <= 'Z') {
    return kLetterScans[std::strchr(kLetters, static_cast<int>(code)) - kLetters];
  }
  if (code >= '1' && code <= '9') return code - '1' + 0x02;
  if (code == '0') return 0x0B;
  if (code >= 112 && code <= 121) return code - 112 + 0x3B;  // F1 to F10
  if (code == 122) return 0x57;
  if (code == 123) return 0x58;
  for (const auto& entry : kScanCodes) {
    if (entry.code == code) return entry.scan;
  }
  return 0;
}

}  // namespace tessary
