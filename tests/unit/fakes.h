#pragma once
// Fakes of the platform interfaces for the core's tests.
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "input/stroke_sender.h"
#include "platform/file_system.h"
#include "platform/key_output.h"
#include "platform/message_boxes.h"
#include "platform/text_resources.h"
#include "posix/embedded_texts.h"

namespace tessary::testing {

// Records every stroke string; all are taken.
class RecordingStrokes : public StrokeSender {
 public:
  std::vector<std::string> sent;
  StrokeError SendStrokes(WindowId, std::string_view text) override {
    sent.emplace_back(text);
    return kStrokeOk;
  }
};

// Files in memory. Each operation can be made to fail.
class FakeFileSystem : public FileSystem {
 public:
  std::map<std::string, std::string> files;
  std::vector<std::string> opened;  // every path asked about, in order
  bool failWrites = false;
  bool failReplace = false;
  std::string lineEnd = "\n";

  std::string currentDirectory = "C:\\work";
  std::map<std::string, std::vector<DirectoryEntry>> directories;

  std::string CurrentDirectory() override { return currentDirectory; }
  std::optional<std::vector<DirectoryEntry>> ListDirectory(const std::string& path) override {
    auto it = directories.find(path);
    if (it == directories.end()) return std::nullopt;
    return it->second;
  }
  bool CanOpenForReading(const std::string& path) override {
    opened.push_back(path);
    return files.count(path) > 0;
  }
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    opened.push_back(path);
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  bool WriteNewFile(const std::string& path, std::string_view bytes) override {
    if (failWrites) {
      files[path] = std::string(bytes.substr(0, bytes.size() / 2));  // a half-written file
      return false;
    }
    files[path] = std::string(bytes);
    return true;
  }
  bool ReplaceFile(const std::string& from, const std::string& to) override {
    if (failReplace || files.count(from) == 0) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  void RemoveFile(const std::string& path) override { files.erase(path); }
  std::string_view LineEnd() const override { return lineEnd; }
};

struct ShownMessage {
  std::string text;
  std::string title;
  bool operator==(const ShownMessage&) const = default;
};

class RecordingMessageBoxes : public MessageBoxes {
 public:
  std::vector<ShownMessage> shown;
  void Show(std::string_view text, std::string_view title) override {
    shown.push_back({std::string(text), std::string(title)});
  }
};

// The program's own texts, with any of them replaced.
class TestTextResources : public TextResources {
 public:
  std::map<int, std::string> overrides;
  std::string LoadTextResource(int id) const override {
    auto it = overrides.find(id);
    return it != overrides.end() ? it->second : real_.LoadTextResource(id);
  }

 private:
  EmbeddedTextResources real_;
};

// A platform whose journal hook may be missing, refused, or working.
class FakeKeyOutput : public KeyOutput {
 public:
  enum class Journal { kWorks, kRefused, kNeverCalled };
  Journal journal = Journal::kWorks;
  bool sendInputWorks = true;
  std::vector<std::string> log;
  std::vector<KeyInputRecord> sent;
  bool hooked = false;
  bool watchdogRunning = false;

  bool SendInput(const std::vector<KeyInputRecord>& records) override {
    log.push_back("SendInput " + std::to_string(records.size()));
    if (!sendInputWorks) return false;
    sent.insert(sent.end(), records.begin(), records.end());
    return true;
  }
  // The text sent as characters, one entry a call.
  std::vector<std::u16string> texts;
  bool SendText(const std::u16string& text) override {
    log.push_back("SendText " + std::to_string(text.size()));
    if (!sendInputWorks) return false;
    texts.push_back(text);
    return true;
  }
  bool InstallPlaybackHook() override {
    log.push_back("install");
    if (journal == Journal::kRefused) return false;
    hooked = true;
    return true;
  }
  void RemovePlaybackHook() override {
    log.push_back("remove");
    hooked = false;
  }
  void ResetModifierKeyState() override { log.push_back("reset keys"); }
  void PostQueueSync(WindowId target) override { log.push_back("queuesync " + std::to_string(target)); }
  void StartWatchdog(uint32_t ms) override {
    log.push_back("watchdog " + std::to_string(ms));
    watchdogRunning = true;
  }
  void CancelWatchdog() override { watchdogRunning = false; }
  std::set<uint32_t> locksOn;
  bool IsLockOn(uint32_t code) const override { return locksOn.count(code) > 0; }
};

}  // namespace tessary::testing
