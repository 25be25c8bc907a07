#pragma once
// What the tool has in place of the program's windows and keyboard: message boxes, key
// events and stroke strings become lines of text, or go nowhere.
#include <cstdio>
#include <string_view>
#include <vector>

#include "input/stroke_sender.h"
#include "platform/key_output.h"
#include "platform/message_boxes.h"
#include "platform/text_codec.h"

namespace tessary {

// Message boxes become lines on the error stream, in UTF-8.
class StderrMessageBoxes final : public MessageBoxes {
 public:
  StderrMessageBoxes(const TextCodec& codec, std::FILE* err) : codec_(codec), err_(err) {}
  void Show(std::string_view text, std::string_view title) override {
    ++shown_;
    std::fprintf(err_, "%s: %s\n", Cp949ToUtf8(codec_, title).c_str(), Cp949ToUtf8(codec_, text).c_str());
  }
  int shown() const { return shown_; }

 private:
  const TextCodec& codec_;
  std::FILE* err_;
  int shown_ = 0;
};

// A keyboard that is only looked at: no key goes anywhere, every lock is off.
class NoKeyOutput : public KeyOutput {
 public:
  bool SendInput(const std::vector<KeyInputRecord>&) override { return true; }
  bool SendText(const std::u16string&) override { return true; }
  bool InstallPlaybackHook() override { return false; }
  void RemovePlaybackHook() override {}
  void ResetModifierKeyState() override {}
  void PostQueueSync(WindowId) override {}
  void StartWatchdog(uint32_t) override {}
  void CancelWatchdog() override {}
  bool IsLockOn(uint32_t) const override { return false; }
};

// Key events as lines: SendKeyEvent makes one record, SendKeyStroke two.
class PrintingKeyOutput final : public NoKeyOutput {
 public:
  explicit PrintingKeyOutput(std::FILE* out) : out_(out) {}
  bool SendInput(const std::vector<KeyInputRecord>& records) override {
    if (!printing) return true;
    if (records.size() == 2 && records[0].code == records[1].code && !records[0].keyUp && records[1].keyUp) {
      std::fprintf(out_, "SendKeyStroke %d%s\n", records[0].code, records[0].extended ? " extended" : "");
    } else {
      for (const KeyInputRecord& r : records) {
        std::fprintf(out_, "SendKeyEvent %d %s\n", r.code, r.keyUp ? "up" : "down");
      }
    }
    return true;
  }
  bool printing = false;

 private:
  std::FILE* out_;
};

// Stroke strings as lines, in UTF-8.
class PrintingStrokes final : public StrokeSender {
 public:
  PrintingStrokes(std::FILE* out, const TextCodec& codec) : out_(out), codec_(codec) {}
  StrokeError SendStrokes(WindowId, std::string_view text) override {
    std::fprintf(out_, "SendStrokes %s\n", Cp949ToUtf8(codec_, text).c_str());
    return kStrokeOk;
  }

 private:
  std::FILE* out_;
  const TextCodec& codec_;
};

}  // namespace tessary
