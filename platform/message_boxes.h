#pragma once
// What the user must know is shown in a message box: no owner, an OK button, a fixed
// text and a title. Both texts are CP949 bytes; the platform converts them for display.
#include <string_view>

namespace tessary {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void Show(std::string_view text, std::string_view title) = 0;
};

// The four titles the program uses.
inline constexpr std::string_view kTitleError = "오류";
inline constexpr std::string_view kTitleNotice = "알림";
inline constexpr std::string_view kTitleSystemError = "시스템 오류";
inline constexpr std::string_view kTitleFatalError = "치명적 오류";

}  // namespace tessary
