#pragma once
// The Win32 side of the core's platform interfaces.
#include <windows.h>

#include <mmsystem.h>

#include <string>

#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/text_codec.h"
#include "platform/text_resources.h"

namespace tessary::win32 {

// CP949 through the platform's code page 949 tables, whatever the ANSI code page is.
class Cp949Codec final : public TextCodec {
 public:
  std::u16string Cp949ToUtf16(std::string_view text) const override;
  std::string Utf16ToCp949(std::u16string_view text) const override;
};

// A CP949 text as the wide string the W functions take; empty when it is not CP949.
std::wstring Wide(std::string_view cp949);

class Win32FileSystem final : public FileSystem {
 public:
  std::string CurrentDirectory() override;
  std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::string& path) override;
  bool CanOpenForReading(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  bool WriteNewFile(const std::string& path, std::string_view bytes) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  void RemoveFile(const std::string& path) override;
  std::string_view LineEnd() const override { return "\r\n"; }
};

// Message boxes without owner, with an OK button, shown through the wide functions.
class Win32MessageBoxes final : public MessageBoxes {
 public:
  void Show(std::string_view text, std::string_view title) override;
};

// Resources of type "TEXT" in the program's own module.
class ResourceTexts final : public TextResources {
 public:
  std::string LoadTextResource(int id) const override;
};

// A kernel handle closed when it goes out of scope.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE h = nullptr) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  HANDLE release() {
    HANDLE h = h_;
    h_ = nullptr;
    return h;
  }
  void reset(HANDLE h = nullptr) {
    if (valid()) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_;
};

// Starts a one-shot multimedia timer at the resolution rule of the core
// (TimerResolution); the timer id is not kept. The callback runs on the platform's
// timer thread.
void StartOneShotTimer(UINT delay, LPTIMECALLBACK callback, DWORD_PTR user);
// The same rule for any multimedia timer (`kind` TIME_ONESHOT or TIME_PERIODIC); returns
// its id, 0 when none could be made.
UINT StartMultimediaTimer(UINT delay, LPTIMECALLBACK callback, DWORD_PTR user, UINT kind);

}  // namespace tessary::win32
