#pragma once
// The platform's virtual-key codes the core names.
#include <cstdint>

namespace tessary {

inline constexpr int32_t kBackspaceKey = 0x08;
inline constexpr int32_t kTabKey = 0x09;
inline constexpr int32_t kEnterKey = 0x0D;
inline constexpr int32_t kShiftKey = 0x10;
inline constexpr int32_t kCtrlKey = 0x11;
inline constexpr int32_t kAltKey = 0x12;
inline constexpr int32_t kCapsLockKey = 0x14;
inline constexpr int32_t kHangulKey = 0x15;  // the Hangul/English key
inline constexpr int32_t kSpaceKey = 0x20;
inline constexpr int32_t kLeftArrowKey = 0x25, kUpArrowKey = 0x26, kRightArrowKey = 0x27, kDownArrowKey = 0x28;
inline constexpr int32_t kLeftWinKey = 0x5B;
inline constexpr int32_t kF1Key = 0x70;  // F2 to F12 follow
inline constexpr int32_t kF12Key = 0x7B;
inline constexpr int32_t kRightWinKey = 0x5C;
// The layout's own language-switch key: a code no physical key sends.
inline constexpr int32_t kLanguageSwitchKey = 0x87;
inline constexpr int32_t kNumLockKey = 0x90;
inline constexpr int32_t kScrollLockKey = 0x91;
inline constexpr int32_t kLeftShiftKey = 0xA0, kRightShiftKey = 0xA1, kLeftCtrlKey = 0xA2, kRightCtrlKey = 0xA3,
                         kLeftAltKey = 0xA4, kRightAltKey = 0xA5;

// The character keys, which a one-shot Shift applies to: the digits and letters, and the
// two runs of punctuation keys (; = , - . / ` and [ \ ] ').
inline constexpr int32_t kDigit0Key = 0x30, kLetterZKey = 0x5A;
inline constexpr int32_t kSemicolonKey = 0xBA, kBackquoteKey = 0xC0, kLeftBracketKey = 0xDB, kQuoteKey = 0xDE;
inline constexpr bool IsCharacterKey(int32_t code) {
  return (code >= kDigit0Key && code <= kLetterZKey) || (code >= kSemicolonKey && code <= kBackquoteKey) ||
         (code >= kLeftBracketKey && code <= kQuoteKey);
}

// The keys that switch between Hangul and English.
inline constexpr bool IsLanguageKey(int32_t code) { return code == kHangulKey || code == kLanguageSwitchKey; }

}  // namespace tessary
